#pragma once
// Turns the screen off and on, keeps the backlight lit while the program runs and
// tells the user once how to wake the screen. Changes come at most once per 1500 ms.
// Window thread only, except screenOff() and displayOn(), which any thread may ask.

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>

#include "app/GlobalSettings.h"
#include "platform/Backlight.h"
#include "platform/Ticker.h"

namespace wendra {

// What the screen needs of the application; every hook must be set.
struct ScreenPowerHooks {
    std::function<void()> requestRepaint;
    std::function<void(std::chrono::milliseconds)> armScreenOffTimer;
    std::function<void(std::chrono::milliseconds)> armScreenOnTimer;
    std::function<void()> cancelScreenOffTimer;
    // Asks the map image worker for a light refresh.
    std::function<void()> lightRefreshMaps;
    // Runs the "Turn display off" screen modally; returns once it is closed.
    std::function<void()> showTurnDisplayOff;
    // The options word gained a bit: the configuration has changed.
    std::function<void()> optionsChanged;
};

// Whether the display is lit; nullopt when the machine cannot say.
using DisplayReader = std::function<std::optional<bool>()>;

class ScreenPower {
public:
    static constexpr std::chrono::milliseconds kMinInterval{1500};
    static constexpr std::chrono::milliseconds kTimerDelay{200};
    static constexpr std::chrono::milliseconds kReadBackInterval{200};
    static constexpr int kReadBackAttempts = 10;

    // The options word is read and written in `settings`; all references outlive this.
    // Without a reader the machine cannot say whether the display is lit.
    ScreenPower(GlobalSettings& settings, platform::Backlight& backlight, platform::Ticker& ticker,
                ScreenPowerHooks hooks, DisplayReader readDisplay);

    // The turn-off command: the note on waking (once), then the screen-off timer,
    // or the "Turn display off" screen without "Turn off the screen completely".
    void beginTurnOff();
    // The screen-off and screen-on timers' actions.
    void turnOff();
    void turnOn();
    // A key pressed in screen-off mode; true when the key is used up by this.
    bool keyWhileOff();

    // Holds the backlight on unless "Backlight managed by system"; call after the
    // options change. releaseBacklight() hands it back to the system (at exit).
    void keepBacklight();
    void releaseBacklight();
    bool backlightKept() const { return kept_; }

    // In screen-off mode the paint draws nothing but black.
    bool screenOff() const { return screenOff_.load(std::memory_order_acquire); }
    // Where the program cannot reach the backlight, the display counts as lit while
    // the program does not blank it itself.
    bool displayOn() const;

private:
    bool mayChange();
    void showNote(int32_t shownBit, std::u16string_view text);
    void wakeAfterTurnDisplayOff();
    void waitUntilLit();

    GlobalSettings& settings_;
    platform::Backlight& backlight_;
    platform::Ticker& ticker_;
    ScreenPowerHooks hooks_;
    DisplayReader readDisplay_;
    std::optional<platform::Ticker::Time> lastChange_;
    std::atomic<bool> screenOff_{false};
    bool kept_ = false;
};

}  // namespace wendra
