#include "view/ViewGeometry.h"

#include <algorithm>
#include <cmath>

#include "track/TrackUnits.h"
#include "view/ViewCentre.h"

namespace wendra {

namespace {

constexpr int kRectMargin = 10;
constexpr double kDegreesPerUnit = 180.0;
constexpr double kMaxLat = 0.5;
constexpr double kMaxLon = 1.0;
// A fit computed with a cosine more than 1 % off is redone.
constexpr double kStableCosineRatio = 1.01;

double clampedUnit(double value, double limit) {
    if (!std::isfinite(value)) return 0.0;
    return std::clamp(value, -limit, limit);
}

}  // namespace

ViewGeometry::ViewGeometry() {
    refreshCentre();
}

void ViewGeometry::placeRect(platform::Rect client) {
    centreX_ = (client.left + client.right) / 2;
    centreY_ = (client.top + client.bottom) / 2;
    usableWidth_ = client.width() - kRectMargin;
    usableHeight_ = client.height() - kRectMargin;
    windowHeight_ = client.height();
    if (diagonal_ == 0.0 && !client.empty()) {
        diagonal_ = std::hypot(client.width(), client.height());
        pixelMultiplier_ = wendra::pixelMultiplier({client.width(), client.height()});
    }
}

void ViewGeometry::setCentre(double lat, double lon) {
    lat_ = lat;
    lon_ = lon;
    settleCentre();
}

void ViewGeometry::setRotatedCentre(double x, double y) {
    rotatedX_ = x;
    rotatedY_ = y;
    lon_ = kNotSet;
    lat_ = kNotSet;
}

bool ViewGeometry::settleCentre() {
    const double oldCos = cosLat_;
    const int r = rotationDegrees_;
    if (lon_ == kNotSet && rotatedX_ != kNotSet) {
        const double c = tables_.cosD(r);
        const double s = tables_.sinD(r);
        lon_ = (rotatedX_ * c + rotatedY_ * s) / oldCos;
        lat_ = -rotatedX_ * s + rotatedY_ * c;
    }
    refreshCentre();
    const double larger = std::max(oldCos, cosLat_);
    const double smaller = std::min(oldCos, cosLat_);
    return smaller > 0.0 && larger / smaller <= kStableCosineRatio;
}

// The rotated centre uses the same frame as rotatedFrame, so that deriving the
// position from it gives the position back.
void ViewGeometry::refreshCentre() {
    lon_ = clampedUnit(lon_, kMaxLon);
    lat_ = clampedUnit(lat_, kMaxLat);
    latRadians_ = lat_ * kPi;
    cosLat_ = std::cos(latRadians_);
    const FramePoint rotated = rotatedFrame(lat_, lon_);
    rotatedX_ = rotated.x;
    rotatedY_ = rotated.y;
    latDegrees_ = lat_ * kDegreesPerUnit;
    lonDegrees_ = lon_ * kDegreesPerUnit;
}

FramePoint ViewGeometry::rotatedFrame(double lat, double lon) const {
    const double c = tables_.cosD(rotationDegrees_);
    const double s = tables_.sinD(rotationDegrees_);
    const double x = lon * cosLat_;
    return FramePoint{x * c - lat * s, x * s + lat * c};
}

LatLon ViewGeometry::fromScreen(double px, double py, bool* onEarth) const {
    const double c = tables_.cosD(rotationDegrees_);
    const double s = tables_.sinD(rotationDegrees_);
    const double x = (px - centreX_) / scale;
    const double y = (centreY_ - py) / scale;
    const double lat = lat_ + (-x * s + y * c);
    const double cosLat = std::cos(lat * kPi);
    const double dx = x * c + y * s;
    const double lon = cosLat > 0.0 ? lon_ + dx / cosLat : lon_;
    if (onEarth)
        *onEarth = std::isfinite(lat) && std::isfinite(lon) && std::fabs(lat) <= kMaxLat &&
                   std::fabs(lon) <= kMaxLon;
    return LatLon{clampedUnit(lat, kMaxLat), clampedUnit(lon, kMaxLon)};
}

}  // namespace wendra
