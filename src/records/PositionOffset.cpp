#include "records/PositionOffset.h"

#include <cmath>
#include <numbers>

namespace wendra {

namespace {

constexpr double kHalfTurnKm = 20037.508342789242;
constexpr double kDegreesPerHalfTurn = 180.0;

}  // namespace

GeoPosition offsetPosition(const GeoPosition& from, double eastKm, double northKm) {
    const double cosLatitude = std::cos(from.latitude * std::numbers::pi / kDegreesPerHalfTurn);
    GeoPosition to;
    to.latitude = from.latitude + northKm / kHalfTurnKm * kDegreesPerHalfTurn;
    to.longitude = from.longitude + eastKm / kHalfTurnKm / cosLatitude * kDegreesPerHalfTurn;
    return to;
}

}  // namespace wendra
