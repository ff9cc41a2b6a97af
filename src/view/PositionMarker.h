#pragma once
// The position marker: four filled wedges pointing at a pixel from every side,
// sized by the pixel multiplier. Wedges reaching off the surface are clipped.

#include "platform/DrawingSurface.h"

namespace wendra {

inline constexpr int kMarkerSize = 15;

void drawPositionMarker(platform::DrawingSurface& surface, platform::Point at,
                        platform::ColorRef colour, int multiplier);

}  // namespace wendra
