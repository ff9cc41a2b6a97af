#include "app/DisplayMetrics.h"

#include <algorithm>

namespace wendra {

namespace {
constexpr int kRowsPerScreen = 15;
constexpr int kCharactersPerLine = 53;
constexpr long long kLargeDiagonalSquared = 600LL * 600LL;
}  // namespace

DisplayMetrics DisplayMetrics::of(platform::Size screen, int reserved) {
    DisplayMetrics metrics;
    const int width = std::max(screen.width, 1);
    const int height = std::max(screen.height, 1);
    metrics.wideScreen = width * 9 / 15 >= height;
    const int smaller = std::max(std::min(width, height) - reserved, 1);
    const int larger = std::max(width, height);
    metrics.rowHeight = std::max(smaller / kRowsPerScreen, 1);
    metrics.characterWidth = std::max(std::min(larger, smaller * 320 / 214) / kCharactersPerLine, 1);
    const long long diagonalSquared =
        static_cast<long long>(width) * width + static_cast<long long>(height) * height;
    metrics.pixelMultiplier = diagonalSquared > kLargeDiagonalSquared ? 2 : 1;
    return metrics;
}

}  // namespace wendra
