#pragma once
// A geographic position in decimal degrees, north and east positive, and the marker
// for a coordinate that is not set. Ranges are not enforced here.

#include <cmath>

namespace wendra {

// A coordinate at or below this is "not set".
constexpr double kNoCoordinate = -999999.0;

struct GeoPosition {
    double latitude = kNoCoordinate;
    double longitude = kNoCoordinate;

    bool operator==(const GeoPosition&) const = default;
};

// False for the marker and for values that are not numbers at all.
inline bool hasCoordinate(double value) {
    return value > kNoCoordinate && std::isfinite(value);
}

}  // namespace wendra
