#include "app/PointFeed.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "alerts/Alert.h"
#include "records/DayNumber.h"
#include "track/TrackUnits.h"

namespace wendra {

namespace {

constexpr double kLeastBearingUnits = 2.4953204e-07;  // about 5 mm
constexpr double kDegreesPerRadian = 57.29578;
// A point farther from the centre than this share of the usable width is not fitted
// under manual zoom while the number of points is limited.
constexpr double kFitWidths = 0.71;

}  // namespace

DistanceBearing distanceBearing(double latA, double lonA, double latB, double lonB) {
    const double meanRadians = (latA + latB) / 2.0 * std::numbers::pi;
    const double dx = (lonB - lonA) * std::cos(meanRadians);
    const double dy = latB - latA;
    const double d = std::hypot(dx, dy);
    DistanceBearing result;
    result.km = static_cast<float>(d * kHalfTurnKm);
    if (d > kLeastBearingUnits) {
        double bearing = std::acos(std::clamp(dy / d, -1.0, 1.0));
        if (dx < 0) bearing = 2.0 * std::numbers::pi - bearing;
        result.degrees = static_cast<float>(bearing * kDegreesPerRadian);
    }
    return result;
}

bool PointFeed::place(points::GpsPoint& point, platform::Size screen) const {
    const RotatedOffset offset = view_.project(point.latUnits, point.lonUnits, point.cosLat);
    const platform::Point at = view_.toScreen(offset);
    point.rotatedX = offset.x;
    point.rotatedY = offset.y;
    point.screenX = at.x;
    point.screenY = at.y;
    return at.x > 0 && at.y > 0 && at.x < screen.width && at.y < screen.height;
}

DrawnPoint PointFeed::drawn(points::GpsPoint& point, double now) const {
    using namespace points;
    // A time to come (a clock set back) would hold the balloon for good.
    if (point.alertTime > now) point.alertTime = 0.0;
    DrawnPoint d;
    d.lat = point.latUnits;
    d.lon = point.lonUnits;
    d.palette = point.colour;
    d.name = point.name;
    d.group = point.group;
    d.notLive = (point.flags & kNotLive) != 0;
    d.groupHidden = (point.flags & kHideGroupLine) != 0;
    d.nameHidden = (point.flags & kHideNameLine) != 0;
    d.icon = point.iconIndex > 0 ? point.iconIndex : -1;
    d.shared = point.isShared();
    d.wantsDistance = (point.flags & kCourseAndDistance) != 0;
    d.target = (point.flags & kNavigationTarget) != 0;
    d.alertedRecently = point.alertTime > 0.0 && now - point.alertTime < kBalloonDays;
    d.hasAlert = point.alert && point.alert->kind() == Alert::kProximity;
    d.ifSpeed = (point.flags & kIfSpeed) != 0;
    d.alertSpeedKmh = point.speed;
    d.ifCourse = (point.flags & kIfCourse) != 0;
    d.alertCourse = point.course;
    point.distance = -1.0f;
    point.bearing = kNotComputed;
    if (from_ && (d.wantsDistance || d.alertedRecently || d.hasAlert)) {
        const DistanceBearing db =
            distanceBearing(from_->lat, from_->lon, point.latUnits, point.lonUnits);
        point.distance = db.km;
        if (d.wantsDistance || d.alertedRecently) point.bearing = db.degrees;
    }
    d.distanceKm = point.distance;
    d.bearing = point.bearing == kNotComputed ? kNotSetF : point.bearing;
    return d;
}

std::span<const DrawnPoint> PointFeed::drawnPoints(int budget, platform::Size screen) {
    const bool limit = view_.setting(settings::kLimitPoints);
    const auto& chosen = store_.selectDrawnPoints(
        limit, budget, [&](points::GpsPoint& point) { return place(point, screen); });
    const double now = currentDayNumber();
    drawn_.clear();
    drawn_.reserve(chosen.size());
    for (points::GpsPoint* point : chosen) drawn_.push_back(drawn(*point, now));
    return drawn_;
}

std::span<ViewObject> PointFeed::fitPoints() {
    points::PointStore::FitArea area;
    area.limit = view_.setting(settings::kLimitPoints);
    area.manualZoom = view_.manualZoom();
    area.centreLat = view_.centreLat();
    area.centreLon = view_.centreLon();
    area.extent = view_.scale > 0.0f ? kFitWidths * view_.usableWidth() / view_.scale : 0.0;
    fit_.clear();
    for (const points::GpsPoint* point : store_.selectFitPoints(area))
        fit_.push_back(ViewObject{point->latUnits, point->lonUnits, {}, {}});
    return fit_;
}

}  // namespace wendra
