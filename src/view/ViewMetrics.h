#pragma once
// The map view's sizes in pixels, each the handheld's value times the pixel
// multiplier, and the fonts made from them. A multiplier below 1 counts as 1.

#include <algorithm>

#include "platform/DrawingSurface.h"

namespace wendra {

struct ViewMetrics {
    explicit ViewMetrics(int multiplier) : m(std::max(multiplier, 1)) {}

    int m;
    int infoLineHeight() const { return 24 * m; }
    int markerSize() const { return 15 * m; }
    int altitudeGraphHeight() const { return 70 * m; }
    int scaleBarLength() const { return 65 * m; }
    int directionSize() const { return 13 * m; }
    int signalGaugeWidth() const { return 16 * m; }
    int iconSize() const { return 22 * m; }
    int labelIconSize() const { return 26 * m; }
    int pointMarkerHalf() const { return 4 * m; }
    int batteryGaugeWidth() const { return 5 * m; }
    int topButtonRow() const { return 34 * m; }
    int edge() const { return 5 * m; }  // the scale bar's and the indicator's margin

    platform::Font smallFont() const { return platform::Font{7 * m, 13 * m, true}; }
    platform::Font secondFont() const { return platform::Font{6 * m, 13 * m, true}; }
    // 33 letters across the usable width of the line.
    platform::Font infoFont(int usableWidth) const {
        return platform::Font{std::max(1, usableWidth / 33), infoLineHeight(), false};
    }
};

}  // namespace wendra
