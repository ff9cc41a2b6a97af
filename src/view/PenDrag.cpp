#include "view/PenDrag.h"

#include <cstdlib>

#include "view/ViewCycle.h"

namespace wendra {

void PenDrag::penDown(platform::Point at) {
    last_ = at;
    down_ = true;
    dragging_ = false;
}

PenDrag::Step PenDrag::penMove(platform::Point at, ViewGeometry& view, ViewCycle& cycle) {
    if (!down_) return {};
    if (!dragging_) {
        const int dead = kDeadPixels * view.pixelMultiplier();
        if (std::abs(at.x - last_.x) <= dead && std::abs(at.y - last_.y) <= dead) return {};
        dragging_ = true;
        // A drag in track cursor or zoom-drag mode keeps that mode: it walks or zooms.
        if (!view.has(viewflag::kFreeMovement) && !view.has(viewflag::kTrackCursor) &&
            !view.has(viewflag::kZoomDrag))
            view.enterFreeMovement();
    }
    Step step;
    step.quickDraw = true;
    step.shifted = cycle.shift(at.x - last_.x, at.y - last_.y);
    last_ = at;
    return step;
}

}  // namespace wendra
