#include "maps/MapLines.h"

#include <cmath>

namespace wendra::maps {

namespace {
constexpr double kParallelLimit = 1e-8;
}

LineIntersection intersectLines(PlanePoint p1, PlanePoint p2, PlanePoint p3, PlanePoint p4) {
    const PlanePoint dA{p2.x - p1.x, p2.y - p1.y};
    const PlanePoint dB{p4.x - p3.x, p4.y - p3.y};
    const double den = dA.x * dB.y - dA.y * dB.x;
    if (std::fabs(den) < kParallelLimit) return {};
    const double tA = ((p1.y - p3.y) * dB.x - (p1.x - p3.x) * dB.y) / den;
    const double tB = (dA.x * (p1.y - p3.y) - dA.y * (p1.x - p3.x)) / den;
    // The mean of the two parametric points evens out the rounding of either alone.
    const PlanePoint onA{p1.x + tA * dA.x, p1.y + tA * dA.y};
    const PlanePoint onB{p3.x + tB * dB.x, p3.y + tB * dB.y};
    LineIntersection result;
    result.point = {(onA.x + onB.x) / 2, (onA.y + onB.y) / 2};
    result.crossing = (tA >= 0 && tA <= 1) ? LineCrossing::OnSegment : LineCrossing::OffSegment;
    return result;
}

}  // namespace wendra::maps
