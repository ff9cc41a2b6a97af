#pragma once
// The tile level that suits the view, and the view centre in quarter tiles at that level
// (2^(level+1) per axis, from the west and the south). Any input is accepted: the level
// stays within 2..maxLevel and the position within the world (poles, zero scale).

#include "netmaps/TileAddress.h"

namespace wendra::netmaps {

inline constexpr int kMinViewLevel = 2;

// `scale`: view pixels per half-turn; `latitude`: the view's, in degrees.
int viewTileLevel(double scale, double latitude, int maxLevel = kMaxTileLevel);

struct QuarterTile {
    int qx = 0;
    int qy = 0;
};

QuarterTile quarterTilePosition(double latitude, double longitude, int level);

}  // namespace wendra::netmaps
