#include "app/AppMapShell.h"

#include <cmath>

#include "app/AppMessages.h"
#include "app/ScreenPower.h"
#include "maps/MapManager.h"
#include "platform/MessageBox.h"
#include "platform/TraceLog.h"
#include "platform/Window.h"

namespace wendra {

namespace {

constexpr double kDegreesPerUnit = 180.0;

// The maps' failures come titled "Error!" or ".Error"; their questions too.
platform::Icon iconFor(std::u16string_view title) {
    return title == u"Error!" || title == u".Error" || title == u".Sync error!"
               ? platform::Icon::Error
               : platform::Icon::Information;
}

}  // namespace

void AppMapShell::viewPlaced(ViewCentre centre, double scale, platform::Size surface) {
    if (!std::isfinite(scale) || scale <= 0.0) return;
    const double diagonal = std::hypot(surface.width, surface.height);
    std::lock_guard<std::mutex> hold(viewLock_);
    view_ = maps::RankingView{centre.lat * kDegreesPerUnit, centre.lon * kDegreesPerUnit,
                              static_cast<float>(scale), diagonal > 0.0 ? diagonal : 1.0};
}

std::optional<maps::RankingView> AppMapShell::rankingView() const {
    std::lock_guard<std::mutex> hold(viewLock_);
    return view_;
}

platform::Answer AppMapShell::ask(std::u16string_view text, std::u16string_view title,
                                  platform::Buttons buttons) {
    return platform::showMessage(text, title, buttons, iconFor(title));
}

void AppMapShell::trace(std::string_view line) {
    platform::traceLog().write(line);
}

void AppMapShell::viewColours(bool nightColours, int mapsNightMode) {
    const bool known = mapsNightMode >= 0 && mapsNightMode < maps::kNightModeCount;
    const int mode = nightColours && known ? mapsNightMode : 0;
    if (nightMode_.exchange(mode) != mode) requestPass(maps::ManagerLevel::NightMode);
}

void AppMapShell::requestPass(maps::ManagerLevel level) {
    if (maps::MapManager* manager = manager_.load()) manager->post(level);
}

bool AppMapShell::screenOff() const {
    const ScreenPower* screen = screen_.load();
    return screen && screen->screenOff();
}

// A manager pass every 1100 ms, and a load that ends, each ask for one repaint; one
// message on its way is enough.
void AppMapShell::refreshStatusLine() {
    platform::Window* window = window_.load();
    if (window && !repaintPosted_.exchange(true)) window->post(AppMessage::kMapsRepaint);
}

}  // namespace wendra
