#pragma once
// Shifting and stretching a selection of maps together: the selection's extent, and
// the correction of every corner about its centre, set again through setDefinition
// (which refuses removed maps) so that each map's derived geometry follows.

#include <span>

#include "maps/CalibratedMap.h"

namespace wendra::maps {

struct MapExtent {
    double minLatitude = 999999.0;
    double maxLatitude = -999999.0;
    double minLongitude = 999999.0;
    double maxLongitude = -999999.0;
    double longitudeSpanSum = 0;  // degrees: each map's own span, added up
    long long widthSum = 0;       // pixels
    double centreLatitude = 0;
    double centreLongitude = 0;
    double kmPerPixel = 0;  // the step first offered; 0 while no width is known
    double widthKm = 0;     // from the westmost to the eastmost corner, on the centre latitude
};

// An empty selection gives the default extent (the unset markers, nothing to step).
MapExtent mapExtent(std::span<CalibratedMap* const> selection);

// Moves the selection's centre by the two shifts and scales every corner about it by
// 1 + widthChangeKm / widthKm (no scaling when the selection has no width). With
// `activate` each map gets the active flag. The count of maps that took the new
// definition is returned.
int correctMaps(std::span<CalibratedMap* const> selection, double northShiftKm, double eastShiftKm,
                double widthChangeKm, bool activate);

}  // namespace wendra::maps
