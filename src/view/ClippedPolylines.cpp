#include "view/ClippedPolylines.h"

#include <algorithm>
#include <cmath>

namespace wendra {

namespace {

bool finite(ScreenPoint p) {
    return std::isfinite(p.x) && std::isfinite(p.y);
}

// One Liang-Barsky boundary: narrows [t0, t1]; false when the segment lies outside.
bool clipEdge(double p, double q, double& t0, double& t1) {
    if (p == 0.0) return q >= 0.0;
    const double r = q / p;
    if (p < 0.0) {
        if (r > t1) return false;
        if (r > t0) t0 = r;
    } else {
        if (r < t0) return false;
        if (r < t1) t1 = r;
    }
    return true;
}

}  // namespace

ClippedPolylines::ClippedPolylines(platform::Rect clip, int unitsPerPixel) {
    reset(clip, unitsPerPixel);
}

void ClippedPolylines::reset(platform::Rect clip, int unitsPerPixel) {
    clip_ = clip;
    const double unit = std::max(unitsPerPixel, 1);
    pixelSquared_ = unit * unit;
    clear();
}

void ClippedPolylines::clear() {
    points_.clear();
    runs_.clear();
    style_ = 0;
    hasAnchor_ = false;
    runOpen_ = false;
}

void ClippedPolylines::moveTo(ScreenPoint point) {
    closeRun();
    anchor_ = point;
    hasAnchor_ = finite(point);
}

void ClippedPolylines::setStyle(std::uint16_t style) {
    if (style == style_) return;
    closeRun();
    style_ = style;
}

// A point nearer than a pixel to the last kept one adds nothing visible.
bool ClippedPolylines::lineTo(ScreenPoint point) {
    if (!hasAnchor_ || !finite(point)) {
        moveTo(point);
        return false;
    }
    const double dx = point.x - anchor_.x;
    const double dy = point.y - anchor_.y;
    if (dx * dx + dy * dy < pixelSquared_) return false;

    ScreenPoint from = anchor_;
    ScreenPoint to = point;
    bool fromMoved = false;
    bool toMoved = false;
    anchor_ = point;
    if (!clipSegment(from, to, fromMoved, toMoved)) {
        closeRun();
        return false;
    }
    if (fromMoved || !runOpen_) {
        closeRun();
        appendVertex(from.pixel());
        runOpen_ = true;
    }
    appendVertex(to.pixel());
    if (toMoved) closeRun();
    return true;
}

void ClippedPolylines::appendVertex(platform::Point vertex) {
    if (runOpen_ && points_.size() > runBegin_ && points_.back() == vertex) return;
    if (!runOpen_) {
        runBegin_ = points_.size();
        dropped_.clear();
    } else if (points_.size() - runBegin_ >= 2 && dropped_.size() < kMostDropped) {
        // The last vertex goes when it and every one dropped since the one before it
        // lie within a pixel of the straight line on to the new one.
        const platform::Point from = points_[points_.size() - 2];
        const platform::Point last = points_.back();
        if (withinAPixel(last, from, vertex) &&
            std::all_of(dropped_.begin(), dropped_.end(),
                        [&](platform::Point p) { return withinAPixel(p, from, vertex); })) {
            dropped_.push_back(last);
            points_.back() = vertex;
            return;
        }
        dropped_.clear();
    }
    points_.push_back(vertex);
}

// Near the segment itself, not only its line, so that a path turning back is kept.
bool ClippedPolylines::withinAPixel(platform::Point p, platform::Point from,
                                    platform::Point to) const {
    const double dx = static_cast<double>(to.x) - from.x;
    const double dy = static_cast<double>(to.y) - from.y;
    const double px = static_cast<double>(p.x) - from.x;
    const double py = static_cast<double>(p.y) - from.y;
    const double length2 = dx * dx + dy * dy;
    const double along = px * dx + py * dy;
    if (length2 == 0.0 || along < 0.0 || along > length2) return false;
    const double across = px * dy - py * dx;
    return across * across < pixelSquared_ * length2;
}

void ClippedPolylines::closeRun() {
    if (runOpen_ && points_.size() - runBegin_ >= 2)
        runs_.push_back(Run{style_, runBegin_, points_.size()});
    else if (runOpen_)
        points_.resize(runBegin_);
    runOpen_ = false;
}

bool ClippedPolylines::clipSegment(ScreenPoint& from, ScreenPoint& to, bool& fromMoved,
                                   bool& toMoved) const {
    // The clip's right and bottom edges are exclusive; the last pixel inside is kept.
    const double right = clip_.right - 1;
    const double bottom = clip_.bottom - 1;
    const auto inside = [&](const ScreenPoint& p) {
        return p.x >= clip_.left && p.x <= right && p.y >= clip_.top && p.y <= bottom;
    };
    if (inside(from) && inside(to)) return true;
    const double dx = to.x - from.x;
    const double dy = to.y - from.y;
    double t0 = 0.0;
    double t1 = 1.0;
    if (!clipEdge(-dx, from.x - clip_.left, t0, t1) || !clipEdge(dx, right - from.x, t0, t1) ||
        !clipEdge(-dy, from.y - clip_.top, t0, t1) || !clipEdge(dy, bottom - from.y, t0, t1))
        return false;
    const ScreenPoint start = from;
    if (t1 < 1.0) {
        to = ScreenPoint{start.x + t1 * dx, start.y + t1 * dy};
        toMoved = true;
    }
    if (t0 > 0.0) {
        from = ScreenPoint{start.x + t0 * dx, start.y + t0 * dy};
        fromMoved = true;
    }
    return true;
}

}  // namespace wendra
