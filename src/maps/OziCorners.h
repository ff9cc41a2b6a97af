#pragma once
// The geographic positions of an image's corners from four calibration points, one
// per quadrant of the points' pixel box: each corner is placed along the lines that
// the points' left and right sides converge on, so rotated, sheared and trapezoid
// calibrations extrapolate as they interpolate. Pixels: y grows downward.

#include <array>
#include <optional>

#include "maps/MapLines.h"

namespace wendra::maps {

struct CalibrationPoint {
    PlanePoint pixel;
    double latitude = 0;
    double longitude = 0;
};

struct CornerPositions {
    std::array<double, 4> latitudes{};  // 0 top-left, 1 top-right, 2 bottom-left, 3 bottom-right
    std::array<double, 4> longitudes{};
};

// `points` ordered top-left, top-right, bottom-left, bottom-right. Nothing when a
// construction line runs parallel to a side or a value comes out not finite.
std::optional<CornerPositions> cornerPositions(const std::array<CalibrationPoint, 4>& points,
                                               int width, int height);

}  // namespace wendra::maps
