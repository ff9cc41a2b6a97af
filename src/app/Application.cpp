#include "app/Application.h"

#include <filesystem>
#include <utility>

#include "app/AppMessages.h"
#include "app/GpsSettingsFlow.h"
#include "app/KeyCommands.h"
#include "app/KeyTable.h"
#include "app/MainView.h"
#include "app/ScreenPower.h"
#include "app/ScreenServices.h"
#include "platform/DialogHost.h"
#include "platform/SoundPlayer.h"
#include "platform/TraceLog.h"
#include "platform/Window.h"

namespace wendra {

Application::Application(ApplicationServices services) : services_(std::move(services)) {}

Application::~Application() {
    lifecycle_.shutdown();
}

void Application::created(platform::Window& window) {
    window_ = &window;
    lifecycle_.begin(window);
}

void Application::message(std::uint32_t code, std::int64_t param) {
    if (!state()) return;
    if (code != platform::kTimerMessage)
        platform::traceLog().breadcrumb("Msg " + std::to_string(code) + " " +
                                        std::to_string(param));
    switch (code) {
        case AppMessage::kStartupContinuation:
            continueStartup();
            break;
        case AppMessage::kReconnect:
            lifecycle_.gps().start(SerialPort::Attempts::Single);
            break;
        case AppMessage::kCommand:
            lifecycle_.commands().dispatch(static_cast<int>(param));
            break;
        case AppMessage::kCommandWhenIdle:
            if (flags_.test(AppFlag::kModalDialog))
                lifecycle_.commands().deferUntilDialogCloses(static_cast<int>(param));
            else
                lifecycle_.commands().dispatch(static_cast<int>(param));
            break;
        case AppMessage::kRepaint:
            state()->bridge.repaintTaken();
            requestRepaint();
            break;
        case AppMessage::kMapsRepaint:
            state()->mapShell.repaintTaken();
            requestRepaint();
            break;
        case AppMessage::kStatusText:
            if (std::optional<std::u16string> text = state()->bridge.takeStatusText())
                showStatusText(std::move(*text));
            break;
        case AppMessage::kReaderSettings:
            lifecycle_.gps().takeReaderSettings();
            break;
        case AppMessage::kBringToFront:
            window_->bringToFront();
            break;
        case platform::kTimerMessage:
            timer(static_cast<int>(param));
            break;
        default:
            break;
    }
}

void Application::continueStartup() {
    lifecycle_.continueStartup();
    applyFullScreen();
    requestRepaint();
    closeIfPending();
}

// Shutting down saves the files; before start-up has loaded them that would write
// the defaults over them, and under an open dialog it would pull the state from under
// the dialog's feet. Such a close waits until start-up is done and no dialog is open.
bool Application::closeRequested() {
    if (state() && (!startupComplete() || flags_.test(AppFlag::kModalDialog))) {
        closePending_ = true;
        return false;
    }
    lifecycle_.shutdown();
    shutDown_ = true;
    return true;
}

void Application::closeIfPending() {
    if (!closePending_ || !startupComplete() || flags_.test(AppFlag::kModalDialog)) return;
    closePending_ = false;
    window_->close();
}

void Application::closeWindow() {
    if (window_) window_->close();
}

void Application::hotKey(int code) {
    if (state()) window_->post(AppMessage::kCommand, code);
}

void Application::softKey(platform::SoftKey key) {
    if (state())
        window_->post(AppMessage::kCommand, key == platform::SoftKey::Left
                                                ? PseudoKey::kSoftkeyLeft
                                                : PseudoKey::kSoftkeyRight);
}

void Application::keyDown(int code) {
    if (!state()) return;
    if (lifecycle_.screen().screen().keyWhileOff()) return;
    lifecycle_.commands().dispatch(code);
}

void Application::stylus(platform::StylusAction action, platform::Point at) {
    if (!state() || !startupComplete()) return;
    if (action == platform::StylusAction::Down) dragged_ = false;
    if (lifecycle_.view().stylus(action, at)) {
        // A drag is no long press, and no tap.
        cancelTimer(AppTimer::kLongPress);
        dragged_ = true;
        requestRepaint();
    }
    const bool tap =
        action == platform::StylusAction::Up && !dragged_ && !flags_.test(AppFlag::kLongPress);
    if (tap && lifecycle_.commands().tapOnMap()) return;
    if (tap && lifecycle_.view().tapPoint(at)) requestRepaint();
    if (action == platform::StylusAction::Down) {
        armTimer(AppTimer::kLongPress, AppPeriod::kLongPress);
        armTimer(AppTimer::kButtonBarHide, AppPeriod::kButtonBarHide);
    } else if (action == platform::StylusAction::Up) {
        cancelTimer(AppTimer::kLongPress);
        // A long press is a key of its own, by default the main menu.
        if (flags_.test(AppFlag::kLongPress)) lifecycle_.commands().dispatch(PseudoKey::kLongClick);
        flags_.clear(AppFlag::kLongPress);
    }
}

void Application::wheel(int notches) {
    if (!state() || !startupComplete()) return;
    const std::u16string_view message = lifecycle_.view().wheel(notches);
    if (!message.empty()) showStatusText(std::u16string(message));
    requestRepaint();
}

// The window covers the screen when "Full screen" is on (or the command line asked);
// only a change is applied, since going full screen activates the window again.
void Application::activated(bool active) {
    if (active) applyFullScreen();
}

void Application::applyFullScreen() {
    if (!state() || flags_.test(AppFlag::kStartupNotFinished)) return;
    const bool wanted =
        services_.fullScreen || (state()->config.status.viewWord & ViewWord::kFullScreen) != 0;
    if (fullScreenShown_ == wanted) return;
    fullScreenShown_ = wanted;
    window_->setFullScreen(wanted);
}

void Application::resized(platform::Size size) {
    if (!state()) return;
    state()->metrics = DisplayMetrics::of(size);
    lifecycle_.drawView();
    requestRepaint();
}

void Application::showStatusText(std::u16string text) {
    if (!state()) return;
    state()->statusText = std::move(text);
    armTimer(AppTimer::kStatusClear, AppPeriod::kStatusClear);
    requestRepaint();
}

void Application::showOnMap(double latitude, double longitude) {
    if (!state()) return;
    lifecycle_.view().showPosition(latitude, longitude);
    requestRepaint();
}

void Application::saveChangedFiles(bool force) {
    if (state()) state()->dataFiles.saveChanged(force);
}

int Application::runModalDialog(const platform::DialogTemplate& dialog,
                                platform::DialogProcedure& procedure) {
    flags_.set(AppFlag::kModalDialog);
    const int result = platform::runDialog(dialog, procedure);
    flags_.clear(AppFlag::kModalDialog);
    if (state()) lifecycle_.commands().dialogClosed();
    closeIfPending();
    return result;
}

void Application::armTimer(int id, int milliseconds) {
    timers_.set(window_, id, milliseconds);
}

void Application::cancelTimer(int id) {
    timers_.cancel(window_, id);
}

// Until start-up is complete nothing is painted, so nothing is marked pending either: a
// pending mark that no paint clears would hold back every later repaint. Start-up asks
// for its first repaint when it completes.
void Application::requestRepaint() {
    if (!state() || !window_ || !startupComplete()) return;
    cancelTimer(AppTimer::kDeferredRepaint);
    if (flags_.test(AppFlag::kRepaintPending)) {
        armTimer(AppTimer::kDeferredRepaint, AppPeriod::kDeferredRepaint);
        return;
    }
    if (lifecycle_.screen().screen().screenOff() || flags_.test(AppFlag::kModalDialog)) {
        lifecycle_.view().update();
        return;
    }
    flags_.set(AppFlag::kRepaintPending);
    window_->invalidate();
}

void Application::repaintUnlessQuickDraw() {
    if (!state()->handOver.quickDraw) requestRepaint();
}

// Before start-up completes the window shows the back buffer as it is.
void Application::paint(platform::DrawingSurface& backBuffer, const platform::Rect& /*dirty*/) {
    if (!state() || !startupComplete() || flags_.test(AppFlag::kStartupNotFinished)) {
        flags_.clear(AppFlag::kRepaintPending);
        return;
    }
    armTimer(AppTimer::kRepaint, AppPeriod::kRepaint);
    armTimer(AppTimer::kPeriodicRedraw, AppPeriod::kPeriodicRedraw);
    cancelTimer(AppTimer::kQuickDrawEnd);
    const bool quick = state()->handOver.quickDraw;
    bool anotherPass = false;
    if (lifecycle_.screen().screen().screenOff()) {
        // Where the backlight is out of reach, the program blanks its own window.
        const platform::Size size = backBuffer.pixels().size();
        backBuffer.fillRect({0, 0, size.width, size.height}, platform::rgb(0, 0, 0));
    } else {
        anotherPass = lifecycle_.view().draw(backBuffer, quick);
    }
    if (quick) armTimer(AppTimer::kQuickDrawEnd, AppPeriod::kQuickDrawEnd);
    flags_.clear(AppFlag::kRepaintPending);
    ++framesPainted_;
    lastFrame_ = std::chrono::steady_clock::now();
    if (anotherPass) armTimer(AppTimer::kDeferredRepaint, AppPeriod::kDeferredRepaint);
}

void Application::timer(int id) {
    if (timers_.wasCancelled(window_, id)) return;
    switch (id) {
        case AppTimer::kRepaint:
        case AppTimer::kDeferredRepaint:
        case AppTimer::kButtonBarHide:
            requestRepaint();
            break;
        case AppTimer::kStatusClear:
            state()->statusText.clear();
            repaintUnlessQuickDraw();
            break;
        // The drag of the map sets the quick-draw mode; full drawing resumes after it.
        case AppTimer::kQuickDrawEnd:
            state()->handOver.quickDraw = false;
            requestRepaint();
            break;
        case AppTimer::kPeriodicRedraw:
            lifecycle_.drawView();
            armTimer(AppTimer::kPeriodicRedraw, AppPeriod::kPeriodicRedraw);
            break;
        case AppTimer::kScreenOff:
            lifecycle_.screen().screen().turnOff();
            break;
        case AppTimer::kScreenOn:
            lifecycle_.screen().screen().turnOn();
            break;
        case AppTimer::kLongPress:
            platform::playSound(std::filesystem::path(state()->programFolder) / "pop.wav");
            flags_.set(AppFlag::kLongPress);
            break;
        default:
            break;
    }
}

}  // namespace wendra
