#pragma once
// The Swiss grid (LV03 projection coordinates) from and to WGS 84 through the
// federal survey's approximate formulas: good to about a metre inside Switzerland,
// meaningless far from it. Nothing checks that a position lies inside the country.

#include "records/GeoPosition.h"

namespace wendra {

struct SwissCoordinates {
    double east = kNoCoordinate;   // y, about 480000..840000 m
    double north = kNoCoordinate;  // x, about 70000..300000 m
};

// A latitude or longitude that is not set gives the no-value marker in both outputs.
SwissCoordinates swissFromGeo(double latitude, double longitude);
// Values that are not numbers give the no-value position.
GeoPosition geoFromSwiss(double east, double north);

}  // namespace wendra
