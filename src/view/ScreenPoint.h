#pragma once
// A projected position in screen pixels, before rounding: doubles that may lie
// anywhere, far outside the surface included; the caller clips before drawing.

#include <algorithm>
#include <cmath>

#include "platform/Geometry.h"

namespace wendra {

struct ScreenPoint {
    double x = 0.0;
    double y = 0.0;

    // Rounded half away from zero; far values are held inside the int range and a
    // value that is not a number becomes 0.
    platform::Point pixel() const { return platform::Point{rounded(x), rounded(y)}; }

private:
    static int rounded(double value) {
        // Far enough outside any screen, well inside int.
        constexpr double kPixelLimit = 1.0e8;
        if (std::isnan(value)) return 0;
        const double held = std::clamp(value, -kPixelLimit, kPixelLimit);
        // Half away from zero, without a library call for every point of a track.
        return static_cast<int>(held + (held >= 0.0 ? 0.5 : -0.5));
    }
};

}  // namespace wendra
