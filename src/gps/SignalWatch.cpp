#include "gps/SignalWatch.h"

namespace wendra {

void SignalWatch::hold(double now) {
    times_.lastFix = now;
    times_.lastSignal = now;
}

void SignalWatch::check(double now, bool autoReconnect) {
    checkFix(now);
    checkSignal(now, autoReconnect);
}

// The time is reset whether or not a sound is chosen, so the alert repeats every ten
// seconds and not at every chunk.
void SignalWatch::checkFix(double now) {
    if (now - times_.lastFix <= kSilenceDays) return;
    times_.lastFix = now;
    const std::u16string sound = shell_.noFixSound();
    if (sound.empty()) return;
    shell_.playSound(sound);
    shell_.showStatus(kNoFixText);
    shell_.requestRepaint();
}

void SignalWatch::checkSignal(double now, bool autoReconnect) {
    if (now - times_.lastSignal <= kSilenceDays || !autoReconnect) return;
    times_.lastSignal = now;
    shell_.showStatus(kNoSignalText);
    shell_.requestRepaint();
    const int allowance = times_.reconnectAllowance;
    if (allowance <= 0) return;
    times_.reconnectAllowance = allowance - 1;
    shell_.requestReconnect();
}

}  // namespace wendra
