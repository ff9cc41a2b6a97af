#include "view/ViewCentre.h"

#include <cmath>

namespace wendra {

namespace {

constexpr double kLargeScreenDiagonal = 600.0;

}  // namespace

int pixelMultiplier(platform::Size screen) {
    const double diagonal = std::hypot(screen.width, screen.height);
    return diagonal > kLargeScreenDiagonal ? 2 : 1;
}

}  // namespace wendra
