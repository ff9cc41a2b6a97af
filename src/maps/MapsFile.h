#pragma once
// The maps file "Wendra.wdm": one "RIRUvo|Bmp|GPSBmp4|" line per map of the user's
// (neither an internet tile nor removed), in catalogue order. "GPSBmp3|" lines, which
// lack the image size, are read too. Lines of other kinds or unusable corners are skipped.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "maps/CalibratedMap.h"

namespace wendra {
class RecordFile;
}

namespace wendra::maps {

class MapCatalogue;

inline constexpr std::string_view kMapsFileName = "Wendra.wdm";

std::string mapRecord(const MapDefinition& definition);
// The definition a line holds; nothing for other lines.
std::optional<MapDefinition> parseMapRecord(std::string_view line);

// The records of an open file: one map appended per usable line, how many returned;
// the user's maps written in catalogue order, false when the file refused a line.
int readMapRecords(MapCatalogue& catalogue, RecordFile& file);
bool writeMapRecords(MapCatalogue& catalogue, RecordFile& file);

// False, after "Unable to save config!", when the file could not be written whole
// (the previous file then stays as it was).
bool saveMapsFile(MapCatalogue& catalogue, const std::filesystem::path& folder);
// Appends one map per usable line; returns how many. A missing file adds none.
int loadMapsFile(MapCatalogue& catalogue, const std::filesystem::path& folder);

}  // namespace wendra::maps
