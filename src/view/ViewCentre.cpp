#include "view/ViewCentre.h"

#include <algorithm>
#include <cmath>

namespace wendra {

namespace {

constexpr double kMaxLat = 0.5;
constexpr double kMaxLon = 1.0;
constexpr double kDegreesPerUnit = 180.0;
constexpr double kLargeScreenDiagonal = 600.0;

double clampedUnit(double value, double limit) {
    if (!std::isfinite(value)) return 0.0;
    return std::clamp(value, -limit, limit);
}

}  // namespace

ViewCentre clampedCentre(ViewCentre centre) {
    return ViewCentre{clampedUnit(centre.lat, kMaxLat), clampedUnit(centre.lon, kMaxLon)};
}

ViewCentre followGps(ViewCentre current, const Fix& fix, PositionMark mark) {
    if (mark != PositionMark::Shown) return current;
    if (!std::isfinite(fix.latitude) || !std::isfinite(fix.longitude)) return current;
    return clampedCentre(
        ViewCentre{fix.latitude / kDegreesPerUnit, fix.longitude / kDegreesPerUnit});
}

int pixelMultiplier(platform::Size screen) {
    const double diagonal = std::hypot(screen.width, screen.height);
    return diagonal > kLargeScreenDiagonal ? 2 : 1;
}

}  // namespace wendra
