#include "app/MainView.h"

#include <algorithm>
#include <cmath>

#include "app/AppState.h"
#include "platform/PowerStatus.h"
#include "track/TrackPoint.h"

namespace wendra {

namespace {
// The battery is read from /sys at most this often.
constexpr std::chrono::seconds kBatteryPeriod{30};
constexpr int kViewBorder = 10;
}  // namespace

MainView::MainView(AppState& state) : state_(state) {}

void MainView::takeStoredCentre() {
    centre_ = ViewCentre{state_.config.status.centreLat, state_.config.status.centreLon};
    if (centre_.lat != 0.0 || centre_.lon != 0.0) return;
    TrackLock::Hold hold(state_.track.lock(), u".Paint.2");
    if (const TrackPoint* last = state_.track.main().last())
        centre_ = ViewCentre{last->lat, last->lon};
}

void MainView::update() {
    follow(state_.bridge.position(), state_.handOver.position.load());
}

void MainView::follow(const std::optional<Fix>& fix, PositionMark mark) {
    if (fix) centre_ = followGps(centre_, *fix, mark);
    state_.config.status.centreLat = centre_.lat;
    state_.config.status.centreLon = centre_.lon;
}

// The largest scale at which every point of the main layer lies inside the view,
// centred where the view is centred.
double MainView::fittedScale(platform::Size surface) {
    const double halfWidth = std::max(surface.width - kViewBorder, 1) / 2.0 * kFitMargin;
    const double halfHeight = std::max(surface.height - kViewBorder, 1) / 2.0 * kFitMargin;
    double east = 0.0;
    double north = 0.0;
    {
        TrackLock::Hold hold(state_.track.lock(), u".Paint.2");
        for (const TrackPoint* point = state_.track.main().first(); point; point = point->next) {
            east = std::max(east, std::abs(point->lon - centre_.lon) * point->cosLat);
            north = std::max(north, std::abs(point->lat - centre_.lat));
        }
    }
    double scale = kClosestScale;
    if (east > 0.0) scale = std::min(scale, halfWidth / east);
    if (north > 0.0) scale = std::min(scale, halfHeight / north);
    return scale;
}

int MainView::battery() {
    const auto now = std::chrono::steady_clock::now();
    if (!battery_ || now - batteryRead_ > kBatteryPeriod) {
        const platform::PowerStatus power = platform::readPowerStatus();
        battery_ = power.batteryPercent < 0 && !power.externalPower
                       ? ViewScene::kNoBattery
                       : platform::batteryGaugeValue(power);
        batteryRead_ = now;
    }
    return *battery_;
}

// The fix is taken once, so that the centre follows the very fix the frame shows.
bool MainView::draw(platform::DrawingSurface& surface, bool /*quick*/) {
    const std::optional<Fix> fix = state_.bridge.position();
    ViewScene scene(state_.track);
    scene.position = state_.handOver.position.load();
    follow(fix, scene.position);
    if (fix) scene.fix = *fix;
    scene.centre = centre_;
    scene.scale = static_cast<float>(fittedScale(surface.pixels().size()));
    const std::int32_t viewWord = state_.config.status.viewWord;
    scene.coordinateFormat = viewWord & 0x7;
    scene.infoLineMode = (viewWord & ViewWord::kInfoLineMask) >> ViewWord::kInfoLineShift;
    scene.status = state_.statusText;
    scene.battery = battery();
    scene.pixelMultiplier = state_.metrics.pixelMultiplier;
    scene.maps = &state_.maps;
    plain_.draw(surface, scene);
    state_.mapShell.viewPlaced(centre_, scene.scale, surface.pixels().size());
    return false;
}

}  // namespace wendra
