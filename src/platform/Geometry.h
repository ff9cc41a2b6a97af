#pragma once
// Points, sizes and rectangles in pixels of a drawing surface or window. A Rect
// covers [left, right) x [top, bottom), as the program's drawing code counts them;
// an inverted rectangle is empty, nothing here normalises it.

#include <algorithm>

namespace wendra::platform {

struct Point {
    int x = 0;
    int y = 0;

    bool operator==(const Point&) const = default;
};

struct Size {
    int width = 0;
    int height = 0;

    bool operator==(const Size&) const = default;
};

struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool empty() const { return right <= left || bottom <= top; }
    bool contains(Point p) const {
        return p.x >= left && p.x < right && p.y >= top && p.y < bottom;
    }
    Rect intersected(const Rect& other) const {
        return Rect{std::max(left, other.left), std::max(top, other.top),
                    std::min(right, other.right), std::min(bottom, other.bottom)};
    }
    Rect translated(int dx, int dy) const {
        return Rect{left + dx, top + dy, right + dx, bottom + dy};
    }

    bool operator==(const Rect&) const = default;
};

inline Rect rectOf(Point topLeft, Size size) {
    return Rect{topLeft.x, topLeft.y, topLeft.x + size.width, topLeft.y + size.height};
}

}  // namespace wendra::platform
