#pragma once
// The balloons of one frame: the labels of points alerted or tapped within the last
// few seconds, kept in a ring of ten (a newer one replaces the oldest) and drawn over
// the map, oldest first, each a box with a pointer to its point.

#include <array>
#include <string>

#include "platform/DrawingSurface.h"
#include "view/ViewColours.h"
#include "view/ViewMetrics.h"

namespace wendra {

struct Balloon {
    std::u16string text;
    platform::Point at{};  // the point's pixel
    // The alert column, when the point has a proximity alert.
    bool hasAlert = false;
    bool ifSpeed = false;
    float speedKmh = 0.0f;
    bool ifCourse = false;
    int course = 0;
};

class BalloonRing {
public:
    static constexpr int kCapacity = 10;

    void clear() { count_ = 0; }
    void push(Balloon balloon);
    int size() const { return count_ < kCapacity ? count_ : kCapacity; }
    // Oldest first.
    const Balloon& operator[](int index) const;

private:
    std::array<Balloon, kCapacity> ring_{};
    int count_ = 0;  // pushes since the last clear
};

// What a balloon needs beside itself.
struct BalloonStyle {
    ViewColours colours;
    ViewMetrics metrics{1};
    int unitSystem = 0;
    int rotation = 0;  // the view's, degrees: the course arrow turns with it
    const platform::ImageList* statusIcons = nullptr;
};

// Draws the balloon within `area`; returns its box (without the pointer).
platform::Rect drawBalloon(platform::DrawingSurface& surface, const Balloon& balloon,
                           const platform::Rect& area, const BalloonStyle& style);

}  // namespace wendra
