#include "netmaps/TileAddress.h"

#include <cstdio>

#include "netmaps/Mercator.h"

namespace wendra::netmaps {

bool valid(const TileAddress& tile) {
    if (tile.level < kMinTileLevel || tile.level > kMaxTileLevel) return false;
    const int n = tilesPerAxis(tile.level);
    return tile.x >= 0 && tile.x < n && tile.y >= 0 && tile.y < n;
}

TileCorners tileCorners(const TileAddress& tile) {
    const double n = tilesPerAxis(tile.level);
    TileCorners corners;
    corners.west = longitudeFromMercator(tile.x / n);
    corners.east = longitudeFromMercator((tile.x + 1) / n);
    corners.north = latitudeFromNorthMercator((n - tile.y - 1) / n);
    corners.south = latitudeFromNorthMercator((n - tile.y) / n);
    return corners;
}

std::string tileKey(const TileAddress& tile) {
    char key[40];
    std::snprintf(key, sizeof key, "%02d-%08d-%08d", tile.level, tile.y, tile.x);
    return key;
}

}  // namespace wendra::netmaps
