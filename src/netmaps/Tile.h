#pragma once
// One tile the service knows: its address and source, where it stands on its way into
// the cache, what the last requests gave, and the map that shows it once cached. Owned
// by the TileCache; the worker changes it while holding the service's busy lock, and a
// conversion thread only while the worker waits for it. Nothing here is checked.

#include <cstdint>
#include <string>

#include "maps/MapCatalogue.h"
#include "netmaps/TileAddress.h"
#include "netmaps/TileSource.h"

namespace wendra::netmaps {

namespace tileflag {
inline constexpr std::uint32_t kInCache = 0x1;     // converted and stored
inline constexpr std::uint32_t kHasOverlay = 0x2;  // the overlay scratch file is valid
inline constexpr std::uint32_t kMapRemoved = 0x8;  // the file goes at the next trim
inline constexpr std::uint32_t kConverting = 0x10;
}  // namespace tileflag

// What a downloaded body was recognised as (also the overlay's).
enum class TileType : int { None = 0, Png = 1, Jpeg = 2 };

// The answer's validators, sent back when an expired tile is asked again so that an
// unchanged tile costs a 304 and no body. Empty when the server gave none.
struct TileValidators {
    std::string etag;
    std::string lastModified;
    bool empty() const { return etag.empty() && lastModified.empty(); }
};

struct Tile {
    TileAddress address;
    int source = kNoTileSource;
    int baseSource = kNoTileSource;  // whose template and signature the base image has
    std::uint32_t flags = 0;
    double stamp = 0;           // Day number of the cached file
    std::int64_t fileSize = 0;  // bytes of the cached file
    int baseResult = 0;         // error code of the last base request
    int overlayResult = 0;      // ... and of the overlay request
    TileType baseType = TileType::None;
    TileType overlayType = TileType::None;
    maps::MapPtr map;  // set once the tile is in cache and shown
    TileValidators validators;

    bool has(std::uint32_t bits) const { return (flags & bits) != 0; }
    bool inCache() const { return has(tileflag::kInCache); }
};

}  // namespace wendra::netmaps
