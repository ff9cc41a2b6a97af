#include "app/MainView.h"

#include <cstdlib>

#include "app/AppState.h"
#include "platform/PowerStatus.h"
#include "track/TrackPoint.h"
#include "view/ViewStatus7.h"

namespace wendra {

namespace {
// The battery is read from /sys at most this often.
constexpr std::chrono::seconds kBatteryPeriod{30};
constexpr double kDegreesPerUnit = 180.0;
constexpr int kNoBattery = -1;
constexpr const char16_t* kPenLabel = u".Shift.1";
}  // namespace

MainView::MainView(AppState& state)
    : state_(state), cycle_(geometry_, state.track), frame_(geometry_, cycle_, state.track) {}

void MainView::takeStoredCentre() {
    const Status7Record& status = state_.config.status;
    ViewStatus7::fromFields(status.trackWord, status.viewWord, status.manualScale, status.centreLon,
                            status.centreLat)
        .applyTo(geometry_, gps_);
    if (status.centreLat == 0.0 && status.centreLon == 0.0) {
        TrackLock::Hold hold(state_.track.lock(), u".Paint.2");
        if (const TrackPoint* last = state_.track.main().last()) {
            geometry_.setCentre(last->lat, last->lon);
            gps_ = LatLon{last->lat, last->lon};
        }
    }
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
    data.frame.bestMapScale = [this](double latitude, double longitude) {
        return state_.maps.bestMapScale(latitude, longitude);
    };
    data.positionShown = hadFix_ && mark != PositionMark::NotShown;
    data.live = live;
    data.fix = lastFix_;
    data.colours = state_.config.colours;
    data.battery = battery();
    data.status = state_.statusText;
    data.maps = &state_.maps;
    return data;
}

void MainView::paint(platform::DrawingSurface* surface, platform::Rect rect) {
    takeSettings();
    FrameData data = frameData();
    frame_.paintView(surface, rect, {}, data);
    keepSettings();
    if (surface)
        state_.mapShell.viewPlaced(centre(), geometry_.scale, {rect.width(), rect.height()});
    state_.mapShell.viewColours(geometry_.setting(settings::kNightColours),
                                settings::field(geometry_.settingsWord, settings::kNightMapsShift));
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
