#pragma once
// The bounding box of the main layer that the view keeps, in half-turn units. Empty
// is min 999999 and max -999999, so that the first point sets both corners.

#include "track/TrackUnits.h"

namespace wendra {

struct TrackBounds {
    double minLon = kNoValue;
    double minLat = kNoValue;
    double maxLon = -kNoValue;
    double maxLat = -kNoValue;

    void reset() { *this = TrackBounds{}; }
};

}  // namespace wendra
