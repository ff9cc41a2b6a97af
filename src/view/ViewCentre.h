#pragma once
// Where the view looks: its centre in half-turn units (degrees / 180) and the
// pure rules that move it. Values are clamped to the earth, never rejected.

#include "gps/Fix.h"
#include "platform/Geometry.h"
#include "track/HandOverState.h"

namespace wendra {

struct ViewCentre {
    double lat = 0.0;  // [-0.5, 0.5]
    double lon = 0.0;  // [-1, 1]

    bool operator==(const ViewCentre&) const = default;
};

// The centre brought inside the earth's ranges; a value that is not a number
// becomes 0 so that the view always has a place to look at.
ViewCentre clampedCentre(ViewCentre centre);

// Following mode: with a fix shown the centre is the fix position; otherwise (no fix,
// nothing shown yet, or a fix whose position is not a number) it stays where it is.
ViewCentre followGps(ViewCentre current, const Fix& fix, PositionMark mark);

// 2 when the screen diagonal exceeds 600 pixels, else 1.
int pixelMultiplier(platform::Size screen);

}  // namespace wendra
