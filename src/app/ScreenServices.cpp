#include "app/ScreenServices.h"

#include "app/AppMessages.h"
#include "app/AppShell.h"
#include "app/AppState.h"
#include "app/PowerThread.h"
#include "app/ScreenPower.h"
#include "app/TimerService.h"
#include "app/TurnDisplayOffDialog.h"
#include "platform/Window.h"

namespace wendra {

ScreenServices::ScreenServices(const ApplicationServices& services, AppState& state,
                               TimerService& timers, platform::Window& window, AppShell& shell)
    : state_(state), timers_(timers), window_(window), shell_(shell) {
    platform::Backlight* backlight = services.backlight;
    if (!backlight) {
        ownBacklight_ = platform::openBacklight();
        backlight = ownBacklight_.get();
    }
    platform::IdleTimer* idleTimer = services.idleTimer;
    if (!idleTimer) {
        ownIdleTimer_ = platform::desktopIdleTimer();
        idleTimer = ownIdleTimer_.get();
    }
    ScreenPowerHooks hooks;
    hooks.requestRepaint = [this] { shell_.requestRepaint(); };
    hooks.armScreenOffTimer = [this](std::chrono::milliseconds wait) {
        armTimer(AppTimer::kScreenOff, static_cast<int>(wait.count()));
    };
    hooks.armScreenOnTimer = [this](std::chrono::milliseconds wait) {
        armTimer(AppTimer::kScreenOn, static_cast<int>(wait.count()));
    };
    hooks.cancelScreenOffTimer = [this] { timers_.cancel(&window_, AppTimer::kScreenOff); };
    hooks.lightRefreshMaps = [worker = services.mapWorker] {
        if (worker) worker->request(BackgroundWorker::kLightRefresh);
    };
    hooks.showTurnDisplayOff = [this] { showTurnDisplayOff(); };
    hooks.optionsChanged = [this] { state_.dataFiles.markChanged(DataFile::Configuration); };
    screen_ =
        std::make_unique<ScreenPower>(state_.config.global, *backlight, platform::systemTicker(),
                                      std::move(hooks), services.readDisplay);

    PowerThreadHooks powerHooks;
    // The timer service takes timers from any thread.
    powerHooks.armScreenOnTimer = [this](std::chrono::milliseconds wait) {
        armTimer(AppTimer::kScreenOn, static_cast<int>(wait.count()));
    };
    powerHooks.screenOffMode = [screen = screen_.get()] { return screen->screenOff(); };
    powerHooks.displayOn = [screen = screen_.get()] { return screen->displayOn(); };
    powerHooks.keepInFront = [window = &window_] { window->post(AppMessage::kBringToFront); };
    power_ = std::make_unique<PowerThread>(*idleTimer, platform::systemTicker(),
                                           std::move(powerHooks), services.suspendClock);
}

ScreenServices::~ScreenServices() = default;

void ScreenServices::startPowerThread() {
    power_->start();
}

void ScreenServices::stopPowerThread() {
    power_->stop();
}

void ScreenServices::applyPowerOptions() {
    power_->setOptions(state_.config.global.options);
    screen_->keepBacklight();
}

void ScreenServices::toggle() {
    if (screen_->screenOff())
        screen_->turnOn();
    else
        screen_->beginTurnOff();
}

void ScreenServices::releaseBacklight() {
    screen_->releaseBacklight();
}

void ScreenServices::armTimer(int id, int milliseconds) {
    timers_.set(&window_, id, milliseconds);
}

void ScreenServices::showTurnDisplayOff() {
    const platform::Size size = window_.clientSize();
    TurnDisplayOffProcedure procedure(state_.metrics.pixelMultiplier, size.width, [this] {
        armTimer(AppTimer::kScreenOff, AppPeriod::kScreenOff);
    });
    shell_.runModalDialog(turnDisplayOffTemplate(), procedure);
}

}  // namespace wendra
