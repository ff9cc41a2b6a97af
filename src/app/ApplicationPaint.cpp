// Painting, repaint requests and the main window's software timers.

#include <filesystem>

#include "app/AppMessages.h"
#include "app/Application.h"
#include "app/MainView.h"
#include "app/ScreenPower.h"
#include "platform/SoundPlayer.h"
#include "platform/Window.h"

namespace wendra {

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
    if (!state_ || !window_ || !startupComplete()) return;
    cancelTimer(AppTimer::kDeferredRepaint);
    if (flags_.test(AppFlag::kRepaintPending)) {
        armTimer(AppTimer::kDeferredRepaint, AppPeriod::kDeferredRepaint);
        return;
    }
    if (screen_->screenOff() || flags_.test(AppFlag::kModalDialog)) {
        view_->update();
        return;
    }
    flags_.set(AppFlag::kRepaintPending);
    window_->invalidate();
}

void Application::repaintUnlessQuickDraw() {
    if (!state_->handOver.quickDraw) requestRepaint();
}

// Before start-up completes the window shows the back buffer as it is.
void Application::paint(platform::DrawingSurface& backBuffer, const platform::Rect& /*dirty*/) {
    if (!state_ || !startupComplete() || flags_.test(AppFlag::kStartupNotFinished)) {
        flags_.clear(AppFlag::kRepaintPending);
        return;
    }
    armTimer(AppTimer::kRepaint, AppPeriod::kRepaint);
    armTimer(AppTimer::kPeriodicRedraw, AppPeriod::kPeriodicRedraw);
    cancelTimer(AppTimer::kQuickDrawEnd);
    const bool quick = state_->handOver.quickDraw;
    bool anotherPass = false;
    if (screen_->screenOff()) {
        // Where the backlight is out of reach, the program blanks its own window.
        const platform::Size size = backBuffer.pixels().size();
        backBuffer.fillRect({0, 0, size.width, size.height}, platform::rgb(0, 0, 0));
    } else {
        anotherPass = view_->draw(backBuffer, quick);
    }
    if (quick) armTimer(AppTimer::kQuickDrawEnd, AppPeriod::kQuickDrawEnd);
    flags_.clear(AppFlag::kRepaintPending);
    ++framesPainted_;
    lastFrame_ = std::chrono::steady_clock::now();
    if (anotherPass) armTimer(AppTimer::kDeferredRepaint, AppPeriod::kDeferredRepaint);
}

void Application::drawView() {
    if (state_ && window_) view_->draw(window_->backBuffer(), false);
}

void Application::timer(int id) {
    if (timers_.wasCancelled(window_, id)) return;
    switch (id) {
        case AppTimer::kRepaint:
        case AppTimer::kDeferredRepaint:
            requestRepaint();
            break;
        case AppTimer::kButtonHighlight:
        case AppTimer::kPointNames:
            repaintUnlessQuickDraw();
            break;
        case AppTimer::kStatusClear:
            state_->statusText.clear();
            repaintUnlessQuickDraw();
            break;
        case AppTimer::kQuickDrawEnd:
            state_->handOver.quickDraw = false;
            requestRepaint();
            break;
        case AppTimer::kPeriodicRedraw:
            drawView();
            armTimer(AppTimer::kPeriodicRedraw, AppPeriod::kPeriodicRedraw);
            break;
        case AppTimer::kButtonBarHide:
            requestRepaint();
            break;
        case AppTimer::kScreenOff:
            screen_->turnOff();
            break;
        case AppTimer::kScreenOn:
            screen_->turnOn();
            break;
        case AppTimer::kLongPress:
            platform::playSound(std::filesystem::path(state_->programFolder) / "pop.wav");
            flags_.set(AppFlag::kLongPress);
            break;
        default:
            break;
    }
}

}  // namespace wendra
