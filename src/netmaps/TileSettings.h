#pragma once
// What the user chose about downloading tiles, and the limits the cache keeps. The
// displayed source, the active mask and the country code are SourceSettings'; the
// "NetBmpMgr" record carries both (see SourceRecords).

#include <cstdint>
#include <string>

#include "netmaps/SourceRecords.h"
#include "netmaps/TileAddress.h"

namespace wendra::netmaps {

namespace tilesetting {
inline constexpr int kDownloadMaps = 0x1;  // the tile service is enabled
inline constexpr int kDownloadUrl = 0x2;   // the template update runs at the first request
}  // namespace tilesetting

inline constexpr int kDefaultMaxTilesKept = 2000;

// "$XDG_CACHE_HOME/wendra", else "$HOME/.cache/wendra"; a relative XDG_CACHE_HOME is
// ignored, as the base directory rules say. Either argument may be null.
std::string defaultTileCacheFolder(const char* xdgCacheHome, const char* home);
// The same from the process environment.
std::string defaultTileCacheFolder();

struct TileSettings {
    int settingsFlags = kDefaultServiceFlags;
    std::string cacheFolder = defaultTileCacheFolder();  // bytes, as the file keeps them
    int validityDays = kDefaultValidityDays;             // a stored 0 reads as the default
    int maxTilesKept = kDefaultMaxTilesKept;
    int maxLevel = kMaxTileLevel;  // lowered by the coarser-level search

    bool downloadMaps() const { return (settingsFlags & tilesetting::kDownloadMaps) != 0; }
    bool downloadUrl() const { return (settingsFlags & tilesetting::kDownloadUrl) != 0; }
    int validity() const { return validityDays > 0 ? validityDays : kDefaultValidityDays; }

    // The record fields; an empty stored folder keeps the default.
    TileServiceFields fields() const;
    void take(const TileServiceFields& fields);
};

}  // namespace wendra::netmaps
