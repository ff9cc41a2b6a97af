#include "maps/OziCorners.h"

#include <cmath>

namespace wendra::maps {

namespace {

// With parallel sides a corner's construction line is the vertical through it.
constexpr double kVerticalStep = 100.0;

struct SidePosition {
    double latitude = 0;
    double longitude = 0;
    double pixelY = 0;
};

std::optional<SidePosition> alongSide(PlanePoint through, PlanePoint corner,
                                      const CalibrationPoint& a, const CalibrationPoint& b) {
    const LineIntersection i = intersectLines(through, corner, a.pixel, b.pixel);
    if (i.crossing == LineCrossing::Parallel) return std::nullopt;
    const double t = (i.point.x - a.pixel.x) / (b.pixel.x - a.pixel.x);
    return SidePosition{a.latitude + t * (b.latitude - a.latitude),
                        a.longitude + t * (b.longitude - a.longitude), i.point.y};
}

}  // namespace

std::optional<CornerPositions> cornerPositions(const std::array<CalibrationPoint, 4>& q, int width,
                                               int height) {
    const LineIntersection sides = intersectLines(q[0].pixel, q[2].pixel, q[1].pixel, q[3].pixel);
    const std::array<PlanePoint, 4> corners = {PlanePoint{0, 0}, PlanePoint{double(width), 0},
                                               PlanePoint{0, double(height)},
                                               PlanePoint{double(width), double(height)}};
    CornerPositions result;
    for (int k = 0; k < 4; ++k) {
        const PlanePoint c = corners[k];
        const PlanePoint through = sides.crossing == LineCrossing::Parallel
                                       ? PlanePoint{c.x, c.y - kVerticalStep}
                                       : sides.point;
        const auto top = alongSide(through, c, q[0], q[1]);
        const auto bottom = alongSide(through, c, q[2], q[3]);
        if (!top || !bottom) return std::nullopt;
        const double r = (c.y - top->pixelY) / (bottom->pixelY - top->pixelY);
        result.latitudes[k] = top->latitude + r * (bottom->latitude - top->latitude);
        result.longitudes[k] = top->longitude + r * (bottom->longitude - top->longitude);
        if (!std::isfinite(result.latitudes[k]) || !std::isfinite(result.longitudes[k]))
            return std::nullopt;
    }
    return result;
}

}  // namespace wendra::maps
