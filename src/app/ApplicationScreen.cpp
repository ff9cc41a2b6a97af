// The screen and the power thread: turning the display off and on, keeping the
// backlight, resetting the idle timer, waking after a suspend.

#include "app/AppMessages.h"
#include "app/Application.h"
#include "app/PowerThread.h"
#include "app/ScreenPower.h"
#include "app/TurnDisplayOffDialog.h"
#include "platform/Window.h"

namespace wendra {

void Application::createScreenServices() {
    if (!services_.backlight) {
        ownBacklight_ = platform::openBacklight();
        services_.backlight = ownBacklight_.get();
    }
    if (!services_.idleTimer) {
        ownIdleTimer_ = platform::desktopIdleTimer();
        services_.idleTimer = ownIdleTimer_.get();
    }
    ScreenPowerHooks hooks;
    hooks.requestRepaint = [this] { requestRepaint(); };
    hooks.armScreenOffTimer = [this](std::chrono::milliseconds wait) {
        armTimer(AppTimer::kScreenOff, static_cast<int>(wait.count()));
    };
    hooks.armScreenOnTimer = [this](std::chrono::milliseconds wait) {
        armTimer(AppTimer::kScreenOn, static_cast<int>(wait.count()));
    };
    hooks.cancelScreenOffTimer = [this] { cancelTimer(AppTimer::kScreenOff); };
    hooks.lightRefreshMaps = [this] {
        if (services_.mapWorker) services_.mapWorker->request(BackgroundWorker::kLightRefresh);
    };
    hooks.showTurnDisplayOff = [this] { showTurnDisplayOff(); };
    hooks.optionsChanged = [this] { state_->dataFiles.markChanged(DataFile::Configuration); };
    screen_ = std::make_unique<ScreenPower>(state_->config.global, *services_.backlight,
                                            platform::systemTicker(), std::move(hooks),
                                            services_.readDisplay);

    PowerThreadHooks powerHooks;
    // The timer service takes timers from any thread.
    powerHooks.armScreenOnTimer = [this](std::chrono::milliseconds wait) {
        timers_.set(window_, AppTimer::kScreenOn, static_cast<int>(wait.count()));
    };
    powerHooks.screenOffMode = [screen = screen_.get()] { return screen->screenOff(); };
    powerHooks.displayOn = [screen = screen_.get()] { return screen->displayOn(); };
    powerHooks.keepInFront = [window = window_] { window->post(AppMessage::kBringToFront); };
    power_ = std::make_unique<PowerThread>(*services_.idleTimer, platform::systemTicker(),
                                           std::move(powerHooks), services_.suspendClock);
}

// After the configuration is read and whenever its options change.
void Application::applyPowerOptions() {
    power_->setOptions(state_->config.global.options);
    screen_->keepBacklight();
}

void Application::showTurnDisplayOff() {
    const platform::Size size = window_->clientSize();
    TurnDisplayOffProcedure procedure(state_->metrics.pixelMultiplier, size.width, [this] {
        armTimer(AppTimer::kScreenOff, AppPeriod::kScreenOff);
    });
    runModalDialog(turnDisplayOffTemplate(), nullptr, procedure);
}

void Application::toggleScreen() {
    if (screen_->screenOff())
        screen_->turnOn();
    else
        screen_->beginTurnOff();
}

}  // namespace wendra
