#pragma once
// The tile cache index "Wendra.net": the "NetBmpMgr" settings, the twelve "URL"
// templates (with the records the handheld skips: attributions, update site) and one
// "NetBmp" line per cached tile, followed by a "NetBmpTag" line with the tile's HTTP
// validators when it has any, a kind the handheld skips as unknown. Lines that cannot
// be used are skipped; the older "NetBmp" form without active flag and stamp is read.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "netmaps/TileCache.h"

namespace wendra {
class RecordFile;
}

namespace wendra::netmaps {

inline constexpr std::string_view kTileCacheFileName = "Wendra.net";

// One "NetBmp" line as read.
struct TileRecord {
    TileAddress address;
    int source = 0;
    std::int64_t fileSize = 0;
    int age = 1;
    std::optional<bool> active;  // none in the older form
    std::optional<double> stamp;
};

std::string netBmpRecord(const Tile& tile, int age, bool active);
std::optional<TileRecord> parseNetBmpRecord(std::string_view line);

// Every line of an open file applied to the cache and its settings: the tiles are
// added in cache with their maps (catalogue paused). Returns the tiles added.
int readTileCacheRecords(TileCache& cache, RecordFile& file);
bool writeTileCacheRecords(TileCache& cache, RecordFile& file);

// "<folder>/Wendra.net"; a missing file adds nothing.
int loadTileCacheFile(TileCache& cache, const std::filesystem::path& folder);
// Written beside and renamed; false, after "Unable to save config!" titled "Error!",
// when it could not be written whole (the previous file then stays).
bool saveTileCacheFile(TileCache& cache, const std::filesystem::path& folder);

}  // namespace wendra::netmaps
