#pragma once
// Start-up and shut-down of the main window in their fixed orders, and the owner of the
// parts that live from the window's creation to its close: the state, the view, the
// screen, the GPS flow and the key commands, built in that order (each after what it
// refers to) and taken down in reverse. Window thread only. Between a failed or finished
// life and the next start nothing is held, and state() is null.

#include <memory>
#include <string_view>

#include "app/ApplicationServices.h"
#include "gps/SerialPort.h"
#include "platform/Sync.h"

namespace wendra::platform {
class Window;
}

namespace wendra {

class AppShell;
class GpsSettingsFlow;
class KeyCommands;
class MainView;
class ScreenServices;
class TimerService;
struct AppState;

class Lifecycle {
public:
    // `flags` are the AppFlag bits the window shares with the other threads.
    Lifecycle(const ApplicationServices& services, platform::LockWord& flags, TimerService& timers,
              AppShell& shell);
    ~Lifecycle();
    Lifecycle(const Lifecycle&) = delete;
    Lifecycle& operator=(const Lifecycle&) = delete;

    // At the window's creation: the state and the parts, then the continuation is posted.
    // Nothing is held when the state could not be made (the user was told).
    void begin(platform::Window& window);
    // The posted continuation: threads, data files, the track, the GPS, the timers and
    // the workers; ends with the start-up marked complete.
    void continueStartup();
    // Stops the threads, saves everything, and lets go of every part.
    void shutdown();

    // Null before begin() and after shutdown(); the parts below exist exactly as long.
    AppState* state() { return state_.get(); }
    MainView& view() { return *view_; }
    ScreenServices& screen() { return *screen_; }
    GpsSettingsFlow& gps() { return *gps_; }
    KeyCommands& commands() { return *commands_; }
    // The whole view into the back buffer.
    void drawView();

private:
    void runStartupDialog();
    void loadTrackAtStartup();
    void startMapManager();
    void stopMapManager();
    void makeInternetMaps();
    void stopInternetWorker();
    void startWorker(BackgroundWorker* worker, std::u16string_view label);
    void stopWorker(BackgroundWorker* worker, std::u16string_view label);

    const ApplicationServices& services_;
    platform::LockWord& flags_;
    TimerService& timers_;
    AppShell& shell_;
    platform::Window* window_ = nullptr;
    std::unique_ptr<AppState> state_;
    std::unique_ptr<MainView> view_;
    std::unique_ptr<ScreenServices> screen_;
    std::unique_ptr<GpsSettingsFlow> gps_;
    std::unique_ptr<KeyCommands> commands_;
};

}  // namespace wendra
