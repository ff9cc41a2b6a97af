// The window procedure: messages, keys and the stylus, and the operations offered to
// the rest of the program.

#include "app/Application.h"

#include <utility>

#include "app/AppMessages.h"
#include "app/MainView.h"
#include "app/PowerThread.h"
#include "app/ScreenPower.h"
#include "platform/DialogHost.h"
#include "platform/Sync.h"
#include "platform/TraceLog.h"
#include "platform/Window.h"

namespace wendra {

namespace {
constexpr int kLongClickCode = 994;
}  // namespace

Application::Application(ApplicationServices services) : services_(std::move(services)) {}

Application::~Application() {
    if (state_) shutdown();
}

void Application::created(platform::Window& window) {
    window_ = &window;
    earlyStartup();
}

void Application::message(std::uint32_t code, std::int64_t param) {
    if (!state_) return;
    if (code != platform::kTimerMessage)
        platform::traceLog().breadcrumb("Msg " + std::to_string(code) + " " + std::to_string(param));
    switch (code) {
        case AppMessage::kStartupContinuation:
            startupContinuation();
            break;
        case AppMessage::kReconnect:
            startGps(SerialPort::Attempts::Single);
            break;
        case AppMessage::kCommand:
            command(static_cast<int>(param));
            break;
        case AppMessage::kCommandWhenIdle:
            // Waiting here would stall the dialog's own loop on this thread: the command
            // runs once the dialog has closed instead.
            if (flags_.test(AppFlag::kModalDialog))
                deferredCommands_.push_back(static_cast<int>(param));
            else
                command(static_cast<int>(param));
            break;
        case AppMessage::kRepaint:
            state_->bridge.repaintTaken();
            requestRepaint();
            break;
        case AppMessage::kStatusText:
            takeStatusText();
            break;
        case AppMessage::kReaderSettings:
            takeReaderSettings();
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

// Shutting down saves the files; before start-up has loaded them that would write
// the defaults over them, and under an open dialog it would pull the state from under
// the dialog's feet. Such a close waits until start-up is done and no dialog is open.
bool Application::closeRequested() {
    if (state_ && (!startupComplete() || flags_.test(AppFlag::kModalDialog))) {
        closePending_ = true;
        return false;
    }
    if (state_) shutdown();
    shutDown_ = true;
    return true;
}

void Application::closeIfPending() {
    if (!closePending_ || !startupComplete() || flags_.test(AppFlag::kModalDialog)) return;
    closePending_ = false;
    window_->close();
}

void Application::hotKey(int code) {
    if (state_) window_->post(AppMessage::kCommand, code);
}

void Application::softKey(platform::SoftKey key) {
    constexpr int kLeftSoftKey = 996;
    constexpr int kRightSoftKey = 995;
    if (state_)
        window_->post(AppMessage::kCommand,
                      key == platform::SoftKey::Left ? kLeftSoftKey : kRightSoftKey);
}

void Application::keyDown(int code) {
    if (!state_) return;
    if (screen_->keyWhileOff()) return;
    command(code);
}

void Application::stylus(platform::StylusAction action, platform::Point /*at*/) {
    if (!state_ || !startupComplete()) return;
    if (action == platform::StylusAction::Down) {
        armTimer(AppTimer::kLongPress, AppPeriod::kLongPress);
        armTimer(AppTimer::kButtonBarHide, AppPeriod::kButtonBarHide);
    } else if (action == platform::StylusAction::Up) {
        cancelTimer(AppTimer::kLongPress);
        // A long press is a key of its own, by default the main menu.
        if (flags_.test(AppFlag::kLongPress)) command(kLongClickCode);
        flags_.clear(AppFlag::kLongPress);
    }
}

// The window covers the screen when "Full screen" is on (or the command line asked);
// only a change is applied, since going full screen activates the window again.
void Application::activated(bool active) {
    if (active) applyFullScreen();
}

void Application::applyFullScreen() {
    if (!state_ || flags_.test(AppFlag::kStartupNotFinished)) return;
    const bool wanted = services_.fullScreen ||
                        (state_->config.status.viewWord & ViewWord::kFullScreen) != 0;
    if (fullScreenShown_ == wanted) return;
    fullScreenShown_ = wanted;
    window_->setFullScreen(wanted);
}

void Application::resized(platform::Size size) {
    if (!state_) return;
    state_->metrics = DisplayMetrics::of(size);
    drawView();
    requestRepaint();
}

void Application::showStatusText(std::u16string text) {
    if (!state_) return;
    state_->statusText = std::move(text);
    armTimer(AppTimer::kStatusClear, AppPeriod::kStatusClear);
    requestRepaint();
}

void Application::saveChangedFiles(bool force) {
    if (state_) state_->dataFiles.saveChanged(force);
}

int Application::runModalDialog(const platform::DialogTemplate& portrait,
                                 const platform::DialogTemplate* landscape,
                                 platform::DialogProcedure& procedure) {
    const platform::Size screen = window_ ? window_->clientSize() : platform::Size{};
    const platform::DialogTemplate& chosen =
        landscape && screen.width >= screen.height ? *landscape : portrait;
    flags_.set(AppFlag::kModalDialog);
    const int result = platform::runDialog(chosen, procedure);
    flags_.clear(AppFlag::kModalDialog);
    flushDeferredCommands();
    closeIfPending();
    return result;
}

void Application::flushDeferredCommands() {
    if (deferredCommands_.empty() || !window_) return;
    for (const int code : std::exchange(deferredCommands_, {}))
        window_->post(AppMessage::kCommand, code);
}

}  // namespace wendra
