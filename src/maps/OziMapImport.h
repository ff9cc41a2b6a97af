#pragma once
// Import of a calibration file in the ".map" text format: the title, the image it
// names (found beside the file even when the file came from Windows), and the
// geographic positions of the four image corners, extrapolated from the four
// MMPXY/MMPLL calibration points and shifted from the map's own datum to WGS 84.
// The file is outside data: whatever its bytes, the import ends with a result code.

#include <array>
#include <filesystem>
#include <optional>
#include <string>

#include "maps/CalibratedMap.h"
#include "maps/OziDatumList.h"

namespace wendra::maps {

// The result codes the map list and the import dialogs act upon.
enum class OziResult : int {
    Imported = 0,
    NeedsZone = -1,     // UTM values and no zone given: ask for it and import again
    NotMapFile = 1,     // line 1 is not the format's signature
    NoPointCount = 2,   // no MMPNUM line
    CannotOpen = 3,     // the file cannot be read
    BadPointCount = 8,  // MMPNUM line malformed
    NotFourPoints = 10,
    BadPointLine = 11,
    BadPointNumber = 12,  // outside 1..4
    UnknownPointKey = 13,
    IncompletePoint = 14,  // a point without pixel or geographic values (or bad UTM)
    NotOnePerQuadrant = 15,
    BadSizeLine = 17,
    NotOnImageCorners = 19,  // no IWH line and the points are not the image corners
    UnusableCorners = 20,    // the corners computed cannot place a pixel
};

// How the corners came to WGS 84.
enum class DatumShift {
    NotNeeded,     // the map is in WGS 84
    Applied,       // shifted by the datum's three parameters
    UnknownDatum,  // not in the list: kept as they are (the trace log says so)
    Failed,        // PROJ refused: kept as they are (the trace log says so)
};

struct OziImport {
    OziResult result = OziResult::CannotOpen;
    // Title, image path (empty when no image was found) and corners; size unknown.
    MapDefinition definition;
    std::string datum;  // line 5's datum name, as written
    DatumShift shift = DatumShift::NotNeeded;
    std::array<double, 3> towgs84{};  // the shift applied, metres
};

// `zone`: the signed UTM zone for files that give UTM values.
OziImport importOziMap(const std::filesystem::path& mapFile, std::optional<int> zone,
                       const OziDatumList& datums = systemDatumList());

// Imports into the map, which takes the definition (and reads the image header).
OziResult importOziMap(CalibratedMap& map, const std::filesystem::path& mapFile,
                       std::optional<int> zone, std::uint32_t userFlags = 0);

}  // namespace wendra::maps
