#include "app/MainView.h"

#include <cstdlib>

#include "app/AppState.h"
#include "platform/PowerStatus.h"
#include "records/DayNumber.h"
#include "track/TrackPoint.h"
#include "view/ViewStatus7.h"

namespace wendra {

namespace {
// The battery is read from /sys at most this often.
constexpr std::chrono::seconds kBatteryPeriod{30};
constexpr double kDegreesPerUnit = 180.0;
constexpr int kNoBattery = -1;
constexpr const char16_t* kPenLabel = u".Shift.1";
// The no-fix check's limit: a fix older than this is stale.
constexpr double kStaleFixDays = 10.0 / 86400.0;
}  // namespace

MainView::MainView(AppState& state)
    : state_(state),
      cycle_(geometry_, state.track),
      frame_(geometry_, cycle_, state.track),
      feeds_(state.points, state.icons, state.maps, geometry_) {}

void applyStoredView(const Status7Record& status, Track& track, ViewGeometry& view, LatLon& gps) {
    ViewStatus7::fromFields(status.trackWord, status.viewWord, status.manualScale, status.centreLon,
                            status.centreLat)
        .applyTo(view, gps);
    if (status.centreLat != 0.0 || status.centreLon != 0.0) return;
    TrackLock::Hold hold(track.lock(), u".Paint.2");
    if (const TrackPoint* last = track.main().last()) {
        view.setCentre(last->lat, last->lon);
        gps = LatLon{last->lat, last->lon};
    }
}

void MainView::takeStoredCentre() {
    applyStoredView(state_.config.status, state_.track, geometry_, gps_);
    keepSettings();
}

void MainView::showPosition(double latitude, double longitude) {
    geometry_.enterFreeMovement();
    geometry_.setCentre(latitude, longitude);
    keepSettings();
}

// A dialog may have changed the stored words since the last paint: those win.
void MainView::takeSettings() {
    const Status7Record& status = state_.config.status;
    if (status.viewWord != keptViewWord_) geometry_.settingsWord = status.viewWord;
    if (status.trackWord != keptTrackWord_) geometry_.zoomWord = status.trackWord & zoom::kMask;
}

void MainView::keepSettings() {
    Status7Record& status = state_.config.status;
    const ViewStatus7 view = ViewStatus7::takeFrom(geometry_);
    status.viewWord = view.settingsWord;
    status.trackWord = view.mergedTrackWord(status.trackWord);
    status.manualScale = view.manualScale;
    status.centreLat = view.centreLat;
    status.centreLon = view.centreLon;
    keptViewWord_ = status.viewWord;
    keptTrackWord_ = status.trackWord;
}

int MainView::battery() {
    const auto now = std::chrono::steady_clock::now();
    if (!battery_ || now - batteryRead_ > kBatteryPeriod) {
        const platform::PowerStatus power = platform::readPowerStatus();
        battery_ = power.batteryPercent < 0 && !power.externalPower
                       ? kNoBattery
                       : platform::batteryGaugeValue(power);
        batteryRead_ = now;
    }
    return *battery_;
}

// The fix is taken once, so that the view follows the very fix the frame shows.
FrameData MainView::frameData() {
    FrameData data;
    const std::optional<Fix> fix = state_.bridge.position();
    const PositionMark mark = state_.handOver.position.load();
    if (fix) {
        lastFix_ = *fix;
        hadFix_ = true;
    }
    const bool live = fix && mark == PositionMark::Shown;
    if (live) gps_ = LatLon{fix->latitude / kDegreesPerUnit, fix->longitude / kDegreesPerUnit};
    data.frame.gps = &gps_;
    data.frame.fixValid = live;
    data.frame.speedKmh = live ? fix->speed : 0.0f;
    data.frame.course = live ? fix->course : 0;
    data.frame.recording = state_.config.track.recordTrack;
    data.positionShown = hadFix_ && mark != PositionMark::NotShown;
    data.live = live;
    data.fix = lastFix_;
    data.battery = battery();
    data.status = state_.statusText;
    data.gpsStatus = gpsStatus(fix.has_value(), mark);
    feeds_.fill(data, state_.config, data.positionShown ? &gps_ : nullptr);
    if (InternetMaps* internet = state_.internet.get())
        data.attributionOf = [internet](std::u16string_view group) {
            return internet->attribution(group);
        };
    return data;
}

GpsStatus MainView::gpsStatus(bool fixNow, PositionMark mark) const {
    if (state_.port.settings().has(SerialOptions::kDeactivated) || !state_.port.readerRunning())
        return GpsStatus::Off;
    if (mark == PositionMark::NotShown) return GpsStatus::Silent;
    if (hadFix_ && currentDayNumber() - lastFix_.time > kStaleFixDays) return GpsStatus::Stale;
    return fixNow && mark == PositionMark::Shown ? GpsStatus::Fix : GpsStatus::NoFix;
}

bool MainView::tapPoint(platform::Point at) {
    return state_.points.tapAt(at.x, at.y, geometry_.pixelMultiplier(), currentDayNumber()) != 0;
}

void MainView::paint(platform::DrawingSurface* surface, platform::Rect rect) {
    takeSettings();
    FrameData data = frameData();
    frame_.paintView(surface, rect, {}, data);
    keepSettings();
    if (surface) {
        state_.mapShell.viewPlaced(centre(), geometry_.scale, {rect.width(), rect.height()});
        handTileService(rect);
    }
    state_.mapShell.viewColours(geometry_.setting(settings::kNightColours),
                                settings::field(geometry_.settingsWord, settings::kNightMapsShift));
}

// The tile service follows what the window shows: where, how close, how large.
void MainView::handTileService(platform::Rect rect) {
    InternetMaps* internet = state_.internet.get();
    if (!internet) return;
    netmaps::TileViewInput view;
    view.latitude = geometry_.latitudeDegrees();
    view.longitude = geometry_.longitudeDegrees();
    view.scale = geometry_.scale;
    view.width = rect.width();
    view.height = rect.height();
    view.zoomFollows =
        !(geometry_.zoomWord & zoom::kManual) || (geometry_.zoomWord & zoom::kFollowMapScale);
    view.displayedSource = internet->sources().displayedSource;
    view.placed = true;
    internet->viewPainted(view);
}

bool MainView::draw(platform::DrawingSurface& surface, bool quick) {
    const platform::Size size = surface.pixels().size();
    frame_.setQuickDraw(quick);
    lastRect_ = platform::Rect{0, 0, size.width, size.height};
    paint(&surface, lastRect_);
    return false;
}

void MainView::update() {
    if (lastRect_.empty()) return;
    paint(nullptr, lastRect_);
}

bool MainView::stylus(platform::StylusAction action, platform::Point at) {
    switch (action) {
        case platform::StylusAction::Down:
            drag_.penDown(at);
            return false;
        case platform::StylusAction::Move: {
            PenDrag::Step step;
            {
                TrackLock::Hold hold(state_.track.lock(), kPenLabel);
                step = drag_.penMove(at, geometry_, cycle_);
            }
            if (step.quickDraw) state_.handOver.quickDraw = true;
            if (step.shifted) keepSettings();
            return step.shifted;
        }
        case platform::StylusAction::Up:
            drag_.penUp();
            return false;
    }
    return false;
}

std::u16string_view MainView::wheel(int notches) {
    std::u16string_view message;
    for (int i = 0; i < std::abs(notches); ++i) message = geometry_.wheelZoom(notches > 0);
    keepSettings();
    return message;
}

}  // namespace wendra
