#pragma once
// The map view: the maps (when the scene has a catalogue) on the background, the five
// track layers north-up around the view centre, the position marker, the information
// line and the status text. Keeps its line and cell buffers from frame to frame.

#include "platform/DrawingSurface.h"
#include "view/MapBackdrop.h"
#include "view/TrackPainter.h"
#include "view/ViewScene.h"

namespace wendra {

class PlainView {
public:
    // Takes the track lock (".Paint.1") while it walks the layers.
    void draw(platform::DrawingSurface& surface, const ViewScene& scene);

private:
    MapBackdrop maps_;
    TrackPainter track_;
};

}  // namespace wendra
