#pragma once
// Shifting and stretching a selection of maps together ("Correct a map"): the extent
// of the selection, and the correction that moves every corner about the selection's
// centre. Maps are set again through setDefinition, so each keeps its derived geometry.
// The selection is not checked for removed maps (setDefinition refuses those).

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
