#include "netmaps/TileMap.h"

#include <cstdio>

#include "netmaps/TileSource.h"
#include "records/Text.h"

namespace wendra::netmaps {

namespace {
constexpr int kTileBytesPerPixel = 2;
}

TileMap tileMap(const TileAddress& tile, int source, std::u16string imagePath) {
    const TileCorners c = tileCorners(tile);
    TileMap map;
    maps::MapDefinition& d = map.definition;
    d.title = widen(tileKey(tile));
    d.imagePath = std::move(imagePath);
    d.userFlags = maps::kMapInternetTile;
    // Corner order: top-left, top-right, bottom-left, bottom-right.
    d.cornerLatitudes = {c.north, c.north, c.south, c.south};
    d.cornerLongitudes = {c.west, c.east, c.west, c.east};
    d.width = kTilePixels;
    d.height = kTilePixels;
    d.bytesPerPixel = kTileBytesPerPixel;
    map.groupName = widen(tileSourceName(source));
    d.groupName = map.groupName;
    return map;
}

std::string tileCachePath(std::string_view cacheFolder, int source, const TileAddress& tile) {
    char leaf[48];
    std::snprintf(leaf, sizeof leaf, "/%02d/%08d/%08d.jpg", tile.level, tile.y, tile.x);
    std::string path(cacheFolder);
    if (!path.empty() && path.back() == '/') path.pop_back();
    path.push_back('/');
    path.append(tileSourceName(source));
    path.append(leaf);
    return path;
}

}  // namespace wendra::netmaps
