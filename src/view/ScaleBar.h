#pragma once
// The scale bar: a round distance near 65 pixels (times the pixel multiplier) in the
// user's unit system, its length in pixels and its label. A scale that is not a
// positive number gives an empty bar.

#include <string>

namespace wendra {

struct ScaleBar {
    int lengthPixels = 0;
    double metres = 0.0;     // the distance shown
    bool smallUnit = false;  // feet or metres in the statute and nautical systems
    std::u16string label;

    // unitSystem: 0 metric, 1 statute, 2 nautical, 3 aeronautical (metric distances).
    static ScaleBar compute(float scale, int unitSystem, int pixelMultiplier);
};

}  // namespace wendra
