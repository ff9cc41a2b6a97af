#pragma once
// The main window's procedure: it routes messages, keys, the stylus, paints and timers
// to the parts that Lifecycle builds and owns, and offers the parts the window's
// operations (AppShell). Every call comes on the window thread; other threads reach it
// only through posted messages and the timer service. Every handler does nothing while
// there is no state (before the window's creation and after its close).

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

#include "app/AppFlags.h"
#include "app/AppShell.h"
#include "app/AppState.h"
#include "app/ApplicationServices.h"
#include "app/Lifecycle.h"
#include "app/TimerService.h"
#include "platform/DialogProcedure.h"
#include "platform/Sync.h"
#include "platform/WindowHandler.h"

namespace wendra {

class Application final : public platform::WindowHandler, public AppShell {
public:
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
    void wheel(int notches) override;
    void resized(platform::Size size) override;
    void activated(bool active) override;

    // Operations the rest of the program uses.
    void requestRepaint() override;
    void showStatusText(std::u16string text) override;
    void saveChangedFiles(bool force) override;
    void showOnMap(double latitude, double longitude) override;
    int runModalDialog(const platform::DialogTemplate& dialog,
                       platform::DialogProcedure& procedure) override;
    void closeWindow() override;

    // Null before the window's creation and after its close.
    AppState* state() { return lifecycle_.state(); }
    // The map view; valid while there is a state.
    MainView& view() { return lifecycle_.view(); }
    const platform::LockWord& flags() const { return flags_; }
    TimerService& timers() { return timers_; }
    bool startupComplete() const { return flags_.test(AppFlag::kStartupComplete); }
    bool shutDown() const { return shutDown_; }
    // Frames drawn by paints so far, and when the last one was drawn (for measuring).
    std::uint64_t framesPainted() const { return framesPainted_; }
    std::chrono::steady_clock::time_point lastFrame() const { return lastFrame_; }

private:
    void continueStartup();
    void closeIfPending();
    void applyFullScreen();
    void timer(int id);
    void armTimer(int id, int milliseconds);
    void cancelTimer(int id);
    void repaintUnlessQuickDraw();

    // Built first and gone last: the parts keep references to them.
    const ApplicationServices services_;
    platform::LockWord flags_;  // the AppFlag bits
    TimerService timers_;
    platform::Window* window_ = nullptr;
    Lifecycle lifecycle_{services_, flags_, timers_, *this};
    bool shutDown_ = false;
    bool closePending_ = false;  // a close came too early: it is done once possible
    std::optional<bool> fullScreenShown_;
    std::uint64_t framesPainted_ = 0;
    std::chrono::steady_clock::time_point lastFrame_{};
    bool dragged_ = false;  // the stylus moved the map since it went down
};

}  // namespace wendra
