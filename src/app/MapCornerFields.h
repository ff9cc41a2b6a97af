#pragma once
// A map's corners as the setup dialog's texts, by corner and field role (latitude,
// longitude; easting, northing, zone; Swiss east, north), and read back keeping the
// exact value while a corner's texts are as shown. Unset corners show empty fields.

#include <array>
#include <optional>
#include <string>

#include "maps/CalibratedMap.h"
#include "records/CoordinateEntry.h"

namespace wendra {

using CornerTexts = std::array<std::u16string, 3>;
using MapCornerTexts = std::array<CornerTexts, maps::kCornerCount>;

struct MapCorners {
    std::array<double, maps::kCornerCount> latitudes;
    std::array<double, maps::kCornerCount> longitudes;
};

// Unset corners everywhere, as a new map starts.
MapCorners unsetCorners();

// Nothing when a set corner cannot be shown in the format (the Swiss grid outside
// its box, a position UTM cannot place).
std::optional<MapCornerTexts> cornerTexts(const MapCorners& corners, int format);

// One corner read back. `shown` and `exact` are what the dialog showed first: when
// the texts are still those, the exact position comes back (no rounding by the
// format); otherwise the texts are parsed, refusals included.
CoordinateEntry readCorner(const CornerTexts& texts, int format, const CornerTexts& shown,
                           const GeoPosition& exact);

}  // namespace wendra
