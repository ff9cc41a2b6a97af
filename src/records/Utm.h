#pragma once
// Universal Transverse Mercator on WGS 84 with six-degree zones and no exceptions for
// Norway or Svalbard. The zone is signed: negative in the southern hemisphere, where
// the northing carries the 10000000 m false northing.

#include "records/GeoPosition.h"

namespace wendra {

constexpr int kUtmZoneCount = 60;

struct UtmCoordinates {
    double easting = kNoCoordinate;
    double northing = kNoCoordinate;
    int zone = static_cast<int>(kNoCoordinate);  // 1..60, or -1..-60 in the south

    bool valid() const { return zone != static_cast<int>(kNoCoordinate); }
};

// A latitude or longitude that is not set (or a latitude beyond the poles) gives all
// three outputs the no-value marker. Longitudes are taken modulo 360.
UtmCoordinates utmFromGeo(double latitude, double longitude);

// A zone of 0 or beyond 60, a value that is not a number, or a northing beyond the
// pole or in the other hemisphere (below 0 north, above 10000000 south) gives the
// no-value position. Nothing checks that the easting lies inside its zone.
GeoPosition geoFromUtm(double easting, double northing, int zone);

}  // namespace wendra
