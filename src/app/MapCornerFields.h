#pragma once
// The texts a map's corners show in the map setup dialog, by corner and field role
// (latitude, longitude; easting, northing, zone for UTM; east, north for the Swiss
// grid), and the reading back that keeps a corner's exact value while its texts are
// as shown. A corner at the unset marker shows empty fields.

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
