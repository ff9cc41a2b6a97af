#pragma once
// The map view before maps: background, the five track layers north-up around the
// view centre, the position marker, the information line and the status text, drawn
// only through the drawing surface. Keeps its line buffers from frame to frame.

#include "platform/DrawingSurface.h"
#include "view/TrackPainter.h"
#include "view/ViewScene.h"

namespace wendra {

class PlainView {
public:
    // Takes the track lock (".Paint.1") while it walks the layers.
    void draw(platform::DrawingSurface& surface, const ViewScene& scene);

private:
    TrackPainter track_;
};

}  // namespace wendra
