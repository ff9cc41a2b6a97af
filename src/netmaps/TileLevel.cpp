#include "netmaps/TileLevel.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "netmaps/Mercator.h"

namespace wendra::netmaps {

namespace {

constexpr double kPixelsPerLevelStep = 64.0;
constexpr double kLevelRounding = 0.667;
constexpr double kHalfTurnDegrees = 180.0;

int quarterIndex(double unit, int count) {
    if (!(unit > 0)) return 0;  // NaN too
    if (unit >= 1) return count - 1;
    return std::min(count - 1, static_cast<int>(unit * count));
}

}  // namespace

int viewTileLevel(double scale, double latitude, int maxLevel) {
    const int top = std::clamp(maxLevel, kMinViewLevel, kMaxTileLevel);
    const double stretch = scale * std::cos(latitude * std::numbers::pi / kHalfTurnDegrees);
    const double level = std::log2(stretch / kPixelsPerLevelStep) + kLevelRounding;
    if (!(level >= kMinViewLevel)) return kMinViewLevel;  // NaN and -inf too
    if (level >= top) return top;
    return static_cast<int>(level);
}

QuarterTile quarterTilePosition(double latitude, double longitude, int level) {
    const int count = 1 << (level + 1);
    return {quarterIndex(mercatorX(longitude), count), quarterIndex(mercatorY(latitude), count)};
}

}  // namespace wendra::netmaps
