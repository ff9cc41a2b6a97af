#include "netmaps/Mercator.h"

#include <cmath>
#include <numbers>

namespace wendra::netmaps {

namespace {
constexpr double kFullTurnDegrees = 360.0;
constexpr double kHalfTurnDegrees = 180.0;
}  // namespace

double mercatorX(double longitude) {
    return 0.5 + longitude / kFullTurnDegrees;
}

double mercatorY(double latitude) {
    const double s = std::sin(latitude * std::numbers::pi / kHalfTurnDegrees);
    return 0.5 + std::log((1 + s) / (1 - s)) / (4 * std::numbers::pi);
}

double longitudeFromMercator(double u) {
    return (u - 0.5) * kFullTurnDegrees;
}

double latitudeFromNorthMercator(double v) {
    return -std::asin(std::tanh((v - 0.5) * 2 * std::numbers::pi)) * kHalfTurnDegrees /
           std::numbers::pi;
}

}  // namespace wendra::netmaps
