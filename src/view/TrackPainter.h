#pragma once
// Draws the five track layers (4 down to 0, so the main layer lies on top) as
// polylines broken at segment flags (unless far points are joined) and at colour
// changes. Walks the layers under the track lock; keeps its buffers between frames.

#include "platform/DrawingSurface.h"
#include "view/ClippedPolylines.h"
#include "view/NorthUpProjection.h"
#include "view/ViewColours.h"

namespace wendra {

class Track;
class TrackLayer;

class TrackPainter {
public:
    void draw(platform::DrawingSurface& surface, Track& track, const NorthUpProjection& projection,
              const ViewColours& colours);

private:
    void collect(const TrackLayer& layer, const NorthUpProjection& projection, bool joinFar);
    void paint(platform::DrawingSurface& surface, int layerIndex, const ViewColours& colours);

    ClippedPolylines lines_{platform::Rect{}};
};

}  // namespace wendra
