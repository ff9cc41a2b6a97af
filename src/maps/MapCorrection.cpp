#include "maps/MapCorrection.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "records/PositionOffset.h"

namespace wendra::maps {

namespace {

constexpr double kHalfTurnKm = 20037.508342789242;
constexpr double kDegreesPerHalfTurn = 180.0;

double kmAlongLatitude(double longitudeDegrees, double latitude) {
    return longitudeDegrees / kDegreesPerHalfTurn *
           std::cos(latitude * std::numbers::pi / kDegreesPerHalfTurn) * kHalfTurnKm;
}

}  // namespace

MapExtent mapExtent(std::span<CalibratedMap* const> selection) {
    MapExtent extent;
    if (selection.empty()) return extent;
    for (const CalibratedMap* map : selection) {
        const MapDefinition& definition = map->definition();
        for (int corner = 0; corner < kCornerCount; ++corner) {
            const double latitude = definition.cornerLatitudes[corner];
            const double longitude = definition.cornerLongitudes[corner];
            extent.minLatitude = std::min(extent.minLatitude, latitude);
            extent.maxLatitude = std::max(extent.maxLatitude, latitude);
            extent.minLongitude = std::min(extent.minLongitude, longitude);
            extent.maxLongitude = std::max(extent.maxLongitude, longitude);
        }
        extent.longitudeSpanSum += map->maxLongitude() - map->minLongitude();
        extent.widthSum += definition.width;
    }
    extent.centreLatitude = (extent.minLatitude + extent.maxLatitude) / 2;
    extent.centreLongitude = (extent.minLongitude + extent.maxLongitude) / 2;
    if (extent.widthSum > 0)
        extent.kmPerPixel = kmAlongLatitude(extent.longitudeSpanSum, extent.centreLatitude) /
                            static_cast<double>(extent.widthSum);
    extent.widthKm =
        kmAlongLatitude(extent.maxLongitude - extent.minLongitude, extent.centreLatitude);
    return extent;
}

int correctMaps(std::span<CalibratedMap* const> selection, double northShiftKm, double eastShiftKm,
                double widthChangeKm, bool activate) {
    const MapExtent extent = mapExtent(selection);
    if (selection.empty()) return 0;
    // A selection without width (a map of one meridian) cannot be stretched: the
    // division would turn every corner into infinity.
    const double scale = extent.widthKm > 0 ? 1 + widthChangeKm / extent.widthKm : 1.0;
    const GeoPosition centre{extent.centreLatitude, extent.centreLongitude};
    const GeoPosition moved = offsetPosition(centre, eastShiftKm, northShiftKm);
    const double dLat = moved.latitude - centre.latitude;
    const double dLon = moved.longitude - centre.longitude;
    int corrected = 0;
    for (CalibratedMap* map : selection) {
        MapDefinition definition = map->definition();
        for (int corner = 0; corner < kCornerCount; ++corner) {
            double& latitude = definition.cornerLatitudes[corner];
            double& longitude = definition.cornerLongitudes[corner];
            latitude = centre.latitude + (latitude - centre.latitude) * scale + dLat;
            longitude = centre.longitude + (longitude - centre.longitude) * scale + dLon;
        }
        if (activate) definition.userFlags |= kMapActive;
        if (map->setDefinition(definition)) ++corrected;
    }
    return corrected;
}

}  // namespace wendra::maps
