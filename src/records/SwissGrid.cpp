#include "records/SwissGrid.h"

#include <cmath>

namespace wendra {

namespace {

// The auxiliary values are in units of 10000 arc seconds, counted from the old
// observatory of Bern (46°57'08.66" N, 7°26'22.50" E).
constexpr double kOriginLatitudeSeconds = 169028.66;
constexpr double kOriginLongitudeSeconds = 26782.5;
constexpr double kAuxiliaryUnitSeconds = 10000.0;
// The inverse counts metres from the grid's origin in units of 1000 km.
constexpr double kOriginEast = 600000.0;
constexpr double kOriginNorth = 200000.0;
constexpr double kGridUnitMetres = 1000000.0;
// The inverse yields units of 10000 arc seconds; this turns them into degrees.
constexpr double kAuxiliaryToDegrees = 100.0 / 36.0;

}  // namespace

SwissCoordinates swissFromGeo(double latitude, double longitude) {
    if (!hasCoordinate(latitude) || !hasCoordinate(longitude)) return {};
    const double phi = (latitude * 3600.0 - kOriginLatitudeSeconds) / kAuxiliaryUnitSeconds;
    const double lambda = (longitude * 3600.0 - kOriginLongitudeSeconds) / kAuxiliaryUnitSeconds;
    const double phi2 = phi * phi, lambda2 = lambda * lambda;
    SwissCoordinates grid;
    grid.east = 600072.37 + 211455.93 * lambda - 10938.51 * lambda * phi - 0.36 * lambda * phi2 -
                44.54 * lambda2 * lambda;
    grid.north = 200147.07 + 308807.95 * phi + 3745.25 * lambda2 + 76.63 * phi2 -
                 194.56 * lambda2 * phi + 119.79 * phi2 * phi;
    return grid;
}

GeoPosition geoFromSwiss(double east, double north) {
    if (!std::isfinite(east) || !std::isfinite(north)) return {};
    const double y = (east - kOriginEast) / kGridUnitMetres;
    const double x = (north - kOriginNorth) / kGridUnitMetres;
    const double y2 = y * y, x2 = x * x;
    const double lambda =
        2.6779094 + 4.728982 * y + 0.791484 * y * x + 0.1306 * y * x2 - 0.0436 * y2 * y;
    const double phi = 16.9023892 + 3.238272 * x - 0.270978 * y2 - 0.002528 * x2 - 0.0447 * y2 * x -
                       0.0140 * x2 * x;
    GeoPosition position{phi * kAuxiliaryToDegrees, lambda * kAuxiliaryToDegrees};
    if (!std::isfinite(position.latitude) || !std::isfinite(position.longitude)) return {};
    return position;
}

}  // namespace wendra
