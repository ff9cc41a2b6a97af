#pragma once
// The main window's procedure and the application state's owner: start-up, the GPS,
// the timers, painting, the commands of the keys, and shut-down in their fixed orders.
// Every call comes on the window thread; other threads reach it only through posted
// messages. The state exists from the window's creation until its close, and every
// handler does nothing while it does not.

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/AppFlags.h"
#include "app/AppState.h"
#include "app/BackgroundWorker.h"
#include "app/PowerThread.h"
#include "app/ScreenPower.h"
#include "app/TimerService.h"
#include "gps/GpsDialog.h"
#include "platform/Backlight.h"
#include "platform/BluetoothRadio.h"
#include "platform/IdleTimer.h"
#include "platform/DialogProcedure.h"
#include "platform/SerialPorts.h"
#include "platform/Sync.h"
#include "platform/WindowHandler.h"

namespace wendra {

struct FileChoice;
class MainView;

// What the program's main gives the application: the folders and the machine.
struct ApplicationServices {
    std::string dataFolder;
    std::u16string recordsFolder;
    platform::SerialPorts* ports = nullptr;
    platform::BluetoothRadio* radio = nullptr;
    // Adjusts the port the reader opens without touching the saved settings (a replayed
    // log is read from its terminal).
    std::function<void(SerialSettings&)> portOverride;
    // "Update time" may set the machine's clock: only when a real receiver is read,
    // never a replayed log, whose times are not now.
    bool receiverSetsClock = false;
    // Runs after the configuration file's own fix-ups at start-up.
    std::function<void(Configuration&)> afterConfigLoad;
    // The machine's backlight and idle timer; the platform's own when null.
    platform::Backlight* backlight = nullptr;
    platform::IdleTimer* idleTimer = nullptr;
    // Whether the display is lit, and the time slept since boot; when empty the
    // display counts as lit and no resume is seen.
    DisplayReader readDisplay;
    SuspendClock suspendClock;
    // Workers of later subsystems; none runs when null.
    BackgroundWorker* mapWorker = nullptr;
    BackgroundWorker* internetWorker = nullptr;
    // Cover the whole screen whatever "Full screen" says (the command line's choice).
    bool fullScreen = false;
    std::chrono::milliseconds startupDialogTime{2000};
    std::chrono::milliseconds trackLoadPause{100};
};

class Application final : public platform::WindowHandler {
public:
    static constexpr int kStartupDialogId = 120;

    explicit Application(ApplicationServices services);
    ~Application() override;
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // The window procedure.
    void created(platform::Window& window) override;
    void message(std::uint32_t code, std::int64_t param) override;
    void paint(platform::DrawingSurface& backBuffer, const platform::Rect& dirty) override;
    bool closeRequested() override;
    void keyDown(int code) override;
    void hotKey(int code) override;
    void softKey(platform::SoftKey key) override;
    void stylus(platform::StylusAction action, platform::Point at) override;
    void resized(platform::Size size) override;
    void activated(bool active) override;

    // Operations the rest of the program uses.
    void requestRepaint();
    void showStatusText(std::u16string text);
    void saveChangedFiles(bool force);
    // Runs a dialog with the modal flag set; the landscape template when the screen is
    // at least as wide as it is high.
    int runModalDialog(const platform::DialogTemplate& portrait,
                       const platform::DialogTemplate* landscape,
                       platform::DialogProcedure& procedure);

    // Null before the window's creation and after its close.
    AppState* state() { return state_.get(); }
    const platform::LockWord& flags() const { return flags_; }
    TimerService& timers() { return timers_; }
    bool startupComplete() const { return flags_.test(AppFlag::kStartupComplete); }
    bool shutDown() const { return shutDown_; }
    // Frames drawn by paints so far, and when the last one was drawn (for measuring).
    std::uint64_t framesPainted() const { return framesPainted_; }
    std::chrono::steady_clock::time_point lastFrame() const { return lastFrame_; }

private:
    // Start-up and shut-down (ApplicationStartup.cpp).
    void earlyStartup();
    void startupContinuation();
    void runStartupDialog();
    void loadTrackAtStartup();
    void startGps(SerialPort::Attempts attempts);
    void applyFullScreen();
    void startWorker(BackgroundWorker* worker, std::u16string_view label);
    void stopWorker(BackgroundWorker* worker, std::u16string_view label);
    void shutdown();

    // The screen and the power thread (ApplicationScreen.cpp).
    void createScreenServices();
    void applyPowerOptions();
    void showTurnDisplayOff();
    void toggleScreen();

    // Painting and timers (ApplicationPaint.cpp).
    void timer(int id);
    void drawView();
    void armTimer(int id, int milliseconds);
    void cancelTimer(int id);
    void repaintUnlessQuickDraw();

    // Messages from other threads and commands (ApplicationCommands.cpp).
    void takeReaderSettings();
    void takeStatusText();
    void command(int code);
    bool runAction(int action, int slot);
    void toggleGps();
    void openMainMenu();
    void openGpsSettings();
    void openTrackMenu();
    void openSetupMenu();
    void openToolsMenu();
    void openStatistics();
    void openTrackSettings();
    std::optional<std::u16string> chooseTrackFile(const FileChoice& choice);
    GpsDialogValues gpsDialogValues() const;
    bool takeGpsValues(GpsDialogButton button, const GpsDialogValues& values);
    void flushDeferredCommands();
    void closeIfPending();

    ApplicationServices services_;
    platform::LockWord flags_;  // the AppFlag bits
    TimerService timers_;
    platform::Window* window_ = nullptr;
    std::unique_ptr<AppState> state_;
    std::unique_ptr<MainView> view_;
    std::unique_ptr<platform::Backlight> ownBacklight_;
    std::unique_ptr<platform::IdleTimer> ownIdleTimer_;
    std::unique_ptr<ScreenPower> screen_;
    std::unique_ptr<PowerThread> power_;
    std::vector<int> deferredCommands_;  // 40004 commands waiting for a dialog to close
    bool shutDown_ = false;
    bool closePending_ = false;  // a close came too early: it is done once possible
    std::optional<bool> fullScreenShown_;
    std::uint64_t framesPainted_ = 0;
    std::chrono::steady_clock::time_point lastFrame_{};
};

}  // namespace wendra
