#pragma once
// Sizes derived once from the screen: the wide-screen test, the row height and the
// character width the fonts are made from, and the pixel multiplier of the view.

#include "platform/Geometry.h"

namespace wendra {

struct DisplayMetrics {
    bool wideScreen = false;  // width x 9 / 15 >= height
    int rowHeight = 0;
    int characterWidth = 0;
    int pixelMultiplier = 1;  // 2 when the diagonal exceeds 600 pixels

    // `reserved` is the height of the top bar and the menu area, which a window of
    // its own does not have on a desktop (0).
    static DisplayMetrics of(platform::Size screen, int reserved = 0);
};

}  // namespace wendra
