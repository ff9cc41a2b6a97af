#pragma once
// A stylus or mouse drag on the map: nothing moves until the pen leaves a square of
// 20 pixels (times the pixel multiplier) around where it went down; then the view
// goes to free movement and follows each pen displacement.

#include "platform/Geometry.h"

namespace wendra {

class ViewCycle;
class ViewGeometry;

class PenDrag {
public:
    static constexpr int kDeadPixels = 20;

    struct Step {
        bool shifted = false;    // the view changed: repaint
        bool quickDraw = false;  // the map is being dragged: draw the quick way
    };

    void penDown(platform::Point at);
    Step penMove(platform::Point at, ViewGeometry& view, ViewCycle& cycle);
    void penUp() { down_ = false; }
    bool dragging() const { return dragging_; }

private:
    platform::Point last_{};
    bool down_ = false;
    bool dragging_ = false;
};

}  // namespace wendra
