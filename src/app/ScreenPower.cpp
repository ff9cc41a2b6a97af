#include "app/ScreenPower.h"

#include <algorithm>
#include <utility>

#include "platform/MessageBox.h"

namespace wendra {

using platform::BacklightState;

namespace {

constexpr std::u16string_view kPressNote = u"Press a button to turn on your device";
constexpr std::u16string_view kSlideNote =
    u"Slide your finger on the screen from left to right to turn on";
constexpr std::u16string_view kNoteTitle = u"Info!";

}  // namespace

ScreenPower::ScreenPower(GlobalSettings& settings, platform::Backlight& backlight,
                         platform::Ticker& ticker, ScreenPowerHooks hooks,
                         DisplayReader readDisplay)
    : settings_(settings),
      backlight_(backlight),
      ticker_(ticker),
      hooks_(std::move(hooks)),
      readDisplay_(readDisplay ? std::move(readDisplay)
                               : DisplayReader([] { return std::optional<bool>(); })) {}

void ScreenPower::beginTurnOff() {
    if (settings_.has(ProgramOptions::kScreenOffCompletely)) {
        showNote(ProgramOptions::kScreenOnNoteShown, kPressNote);
        hooks_.armScreenOffTimer(kTimerDelay);
        return;
    }
    showNote(ProgramOptions::kScreenOnNote2Shown, kSlideNote);
    hooks_.showTurnDisplayOff();
    wakeAfterTurnDisplayOff();
}

void ScreenPower::showNote(int32_t shownBit, std::u16string_view text) {
    if (settings_.has(shownBit)) return;
    platform::showMessage(text, kNoteTitle, platform::Buttons::Ok, platform::Icon::Information);
    settings_.options |= shownBit;
    hooks_.optionsChanged();
}

// The screen closed by the user's slide, or before the screen-off timer even fired.
// A wake right after the screen went dark would fall inside the 1500 ms and be
// dropped, leaving a dark screen that no tap can light any more: so the screen-on
// timer is armed to fire just after that interval instead.
void ScreenPower::wakeAfterTurnDisplayOff() {
    hooks_.cancelScreenOffTimer();
    if (!screenOff()) return;
    auto delay = kTimerDelay;
    if (lastChange_) {
        const auto since =
            std::chrono::duration_cast<std::chrono::milliseconds>(ticker_.now() - *lastChange_);
        delay = std::max(delay, kMinInterval - since + std::chrono::milliseconds(1));
    }
    hooks_.armScreenOnTimer(delay);
}

bool ScreenPower::mayChange() {
    const auto now = ticker_.now();
    if (lastChange_ && now - *lastChange_ < kMinInterval) return false;
    lastChange_ = now;
    return true;
}

void ScreenPower::turnOff() {
    if (!mayChange()) return;
    backlight_.set(settings_.has(ProgramOptions::kScreenOffCompletely) ? BacklightState::Off
                                                                       : BacklightState::Standby);
    screenOff_.store(true, std::memory_order_release);
    hooks_.requestRepaint();
}

void ScreenPower::turnOn() {
    if (!mayChange()) return;
    // Display and backlight are one device here: with the backlight left to the
    // system, handing it back is what lights the display again.
    if (settings_.has(ProgramOptions::kBacklightBySystem))
        backlight_.release();
    else
        backlight_.set(BacklightState::On);
    if (backlight_.available()) waitUntilLit();
    screenOff_.store(false, std::memory_order_release);
    hooks_.lightRefreshMaps();
    hooks_.requestRepaint();
}

void ScreenPower::waitUntilLit() {
    for (int attempt = 1; attempt <= kReadBackAttempts; ++attempt) {
        if (readDisplay_().value_or(true)) return;
        if (attempt < kReadBackAttempts) ticker_.sleep(kReadBackInterval);
    }
}

bool ScreenPower::keyWhileOff() {
    if (!screenOff()) return false;
    if (settings_.has(ProgramOptions::kScreenOffCompletely)) hooks_.armScreenOnTimer(kTimerDelay);
    return true;
}

void ScreenPower::keepBacklight() {
    if (settings_.has(ProgramOptions::kBacklightBySystem)) {
        if (kept_) backlight_.release();
        kept_ = false;
        return;
    }
    backlight_.set(BacklightState::On);
    kept_ = true;
}

void ScreenPower::releaseBacklight() {
    backlight_.release();
    kept_ = false;
}

bool ScreenPower::displayOn() const {
    if (!backlight_.available()) return !screenOff();
    return readDisplay_().value_or(true);
}

}  // namespace wendra
