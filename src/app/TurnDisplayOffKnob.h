#pragma once
// The slider of the "Turn display off" screen: a knob at the left edge that the
// stylus drags to the right once it went down on it; reaching the right edge wakes
// the screen, letting go earlier sends it back. It stays inside the area's width.

#include "platform/Geometry.h"

namespace wendra {

class TurnDisplayOffKnob {
public:
    static constexpr int kFullWidth = 61;  // the knob shows half of it, times the scale

    TurnDisplayOffKnob(int scale, int areaWidth);

    // The owner-drawn area got another width; the knob stays inside it.
    void resize(int areaWidth);

    // True when the stylus went down on the knob, which then follows it.
    bool down(platform::Point at);
    // True once a drag has brought the knob to the right edge.
    bool move(platform::Point at);
    void up();

    int left() const { return left_; }
    int width() const { return width_; }
    bool dragging() const { return dragging_; }
    bool reachedEnd() const { return reached_; }
    platform::Rect bounds(int height) const { return {left_, 0, left_ + width_, height}; }

private:
    int rightmost() const;

    int width_;
    int areaWidth_;
    int left_ = 0;
    int grabOffset_ = 0;  // stylus x minus knob left when it went down
    bool dragging_ = false;
    bool reached_ = false;
};

}  // namespace wendra
