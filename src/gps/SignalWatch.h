#pragma once
// The no-fix and no-signal checks that the GPS reader runs after every chunk. Ten
// seconds without a valid fix sound the no-fix alert (only when a sound is chosen);
// ten seconds without a sentence ask for a reconnection, at most three times per loss
// of signal. The times live with the fix hand-over, which refreshes them.

#include <atomic>

#include "gps/GpsShell.h"

namespace wendra {

// The hand-over's times (Day numbers) and the reconnections still allowed.
struct SignalTimes {
    std::atomic<double>& lastFix;
    std::atomic<double>& lastSignal;
    std::atomic<int>& reconnectAllowance;
};

class SignalWatch {
public:
    static constexpr double kSilenceDays = 1.0 / 8640.0;  // ten seconds
    static constexpr std::u16string_view kNoFixText = u"Alert no fix!";
    static constexpr std::u16string_view kNoSignalText = u"Alert: No signal!";

    SignalWatch(SignalTimes times, GpsShell& shell) : times_(times), shell_(shell) {}

    // Both times start now: a reader that just started has not lost anything yet.
    void hold(double now);
    void check(double now, bool autoReconnect);

private:
    void checkFix(double now);
    void checkSignal(double now, bool autoReconnect);

    SignalTimes times_;
    GpsShell& shell_;
};

}  // namespace wendra
