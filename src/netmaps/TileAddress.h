#pragma once
// One tile of the world: level z (1 to 21), column x from the 180th meridian eastward
// and row y from the south, each below n = 2^(z-1). The functions here assume a valid
// address (see valid()); they do not check it again.

#include <array>
#include <cstdint>
#include <string>

namespace wendra::netmaps {

inline constexpr int kMinTileLevel = 1;
inline constexpr int kMaxTileLevel = 21;
inline constexpr int kTilePixels = 256;

struct TileAddress {
    int x = 0;
    int y = 0;
    int level = kMinTileLevel;

    bool operator==(const TileAddress&) const = default;
};

// n = 2^(level-1), the tiles along each axis at that level.
inline constexpr int tilesPerAxis(int level) {
    return 1 << (level - 1);
}

bool valid(const TileAddress& tile);

// The row counted from the north, as the usual web numbering has it.
inline int rowFromNorth(const TileAddress& tile) {
    return tilesPerAxis(tile.level) - tile.y - 1;
}

struct TileCorners {
    double north = 0;
    double south = 0;
    double west = 0;
    double east = 0;
};

TileCorners tileCorners(const TileAddress& tile);

// "%02d-%08d-%08d" of level, y and x: the title of the tile's map.
std::string tileKey(const TileAddress& tile);

}  // namespace wendra::netmaps
