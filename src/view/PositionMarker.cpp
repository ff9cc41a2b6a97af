#include "view/PositionMarker.h"

#include <array>

namespace wendra {

namespace {

constexpr int kWedgeHalfWidth = 2;

// The wedge pointing right at the origin from the left, turned by quarter turns.
platform::Point turned(platform::Point p, int quarter) {
    switch (quarter) {
        case 1:
            return platform::Point{-p.y, p.x};
        case 2:
            return platform::Point{-p.x, -p.y};
        case 3:
            return platform::Point{p.y, -p.x};
        default:
            return p;
    }
}

}  // namespace

void drawPositionMarker(platform::DrawingSurface& surface, platform::Point at,
                        platform::ColorRef colour, int multiplier) {
    const int size = kMarkerSize * multiplier;
    const int halfWidth = kWedgeHalfWidth * multiplier;
    const std::array<platform::Point, 3> wedge = {platform::Point{-(size / 3) + 1, 0},
                                                  platform::Point{-(size + 1), -halfWidth},
                                                  platform::Point{-(size + 1), halfWidth}};
    surface.setPen(platform::Pen{platform::PenStyle::Solid, 1, colour});
    surface.setBrush(platform::Brush{false, colour});
    for (int quarter = 0; quarter < 4; ++quarter) {
        std::array<platform::Point, 3> corners;
        for (std::size_t i = 0; i < wedge.size(); ++i) {
            const platform::Point p = turned(wedge[i], quarter);
            corners[i] = platform::Point{at.x + p.x, at.y + p.y};
        }
        surface.polygon(corners);
    }
}

}  // namespace wendra
