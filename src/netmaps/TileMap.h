#pragma once
// A tile as a calibrated map of the catalogue: 256 by 256 pixels, corners from the
// tile address, the tile key as title and the source name as its group. The address
// must be valid and the source one of the twelve.

#include <string>
#include <string_view>

#include "maps/CalibratedMap.h"
#include "netmaps/TileAddress.h"

namespace wendra::netmaps {

struct TileMap {
    maps::MapDefinition definition;  // internet flag set, not active
    std::u16string groupName;
};

TileMap tileMap(const TileAddress& tile, int source, std::u16string imagePath);

// "<folder>/<source name>/<level %02d>/<y %08d>/<x %08d>.jpg"
std::string tileCachePath(std::string_view cacheFolder, int source, const TileAddress& tile);

}  // namespace wendra::netmaps
