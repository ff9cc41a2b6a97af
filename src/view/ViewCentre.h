#pragma once
// Where the view looks, as the rest of the program is told it: its centre in
// half-turn units (degrees / 180); and how many screen pixels a handheld pixel is.

#include "platform/Geometry.h"

namespace wendra {

struct ViewCentre {
    double lat = 0.0;  // [-0.5, 0.5]
    double lon = 0.0;  // [-1, 1]

    bool operator==(const ViewCentre&) const = default;
};

// 2 when the screen diagonal exceeds 600 pixels, else 1.
int pixelMultiplier(platform::Size screen);

}  // namespace wendra
