#pragma once
// The screen and the power thread of the main window: turning the display off and on,
// keeping the backlight, resetting the idle timer, waking after a suspend. Built once
// the window and the state exist, gone before the state; window thread, except what the
// power thread reaches through its hooks (the timer service, posted messages).

#include <memory>

#include "app/ApplicationServices.h"

namespace wendra::platform {
class Window;
}

namespace wendra {

class AppShell;
class PowerThread;
class ScreenPower;
class TimerService;
struct AppState;

class ScreenServices {
public:
    ScreenServices(const ApplicationServices& services, AppState& state, TimerService& timers,
                   platform::Window& window, AppShell& shell);
    ~ScreenServices();
    ScreenServices(const ScreenServices&) = delete;
    ScreenServices& operator=(const ScreenServices&) = delete;

    void startPowerThread();
    void stopPowerThread();
    // After the configuration is read and whenever its options change.
    void applyPowerOptions();
    // Off when on, on when off ("Turn off / turn on the screen", "Turn display off").
    void toggle();
    // Returns the backlight to the system; the last call before destruction.
    void releaseBacklight();

    ScreenPower& screen() { return *screen_; }

private:
    void showTurnDisplayOff();
    void armTimer(int id, int milliseconds);

    AppState& state_;
    TimerService& timers_;
    platform::Window& window_;
    AppShell& shell_;
    std::unique_ptr<platform::Backlight> ownBacklight_;
    std::unique_ptr<platform::IdleTimer> ownIdleTimer_;
    // The power thread's hooks read the screen: it goes first.
    std::unique_ptr<ScreenPower> screen_;
    std::unique_ptr<PowerThread> power_;
};

}  // namespace wendra
