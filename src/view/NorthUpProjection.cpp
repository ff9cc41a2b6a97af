#include "view/NorthUpProjection.h"

#include <algorithm>
#include <cmath>

#include "track/TrackUnits.h"

namespace wendra {

namespace {

constexpr double kDegreesPerUnit = 180.0;
// Far enough outside any screen, well inside int.
constexpr double kPixelLimit = 1.0e8;

int roundedPixel(double value) {
    if (std::isnan(value)) return 0;
    return static_cast<int>(std::round(std::clamp(value, -kPixelLimit, kPixelLimit)));
}

}  // namespace

NorthUpProjection::NorthUpProjection(ViewCentre centre, double scale, platform::Size surface)
    : centre_(centre), scale_(scale), centreX_(surface.width / 2), centreY_(surface.height / 2) {}

ScreenPoint NorthUpProjection::projectDegrees(double latitude, double longitude) const {
    const double lat = latitude / kDegreesPerUnit;
    return project(lat, longitude / kDegreesPerUnit, std::cos(lat * kPi));
}

ViewCentre NorthUpProjection::unproject(double x, double y) const {
    const double lat = centre_.lat - (y - centreY_) / scale_;
    const double cosLat = std::cos(lat * kPi);
    return ViewCentre{lat, centre_.lon + (x - centreX_) / (cosLat * scale_)};
}

platform::Point NorthUpProjection::toPixel(ScreenPoint point) {
    return platform::Point{roundedPixel(point.x), roundedPixel(point.y)};
}

platform::Point NorthUpProjection::centrePixel() const {
    return platform::Point{static_cast<int>(centreX_), static_cast<int>(centreY_)};
}

}  // namespace wendra
