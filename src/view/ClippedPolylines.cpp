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
    left_ = clip.left;
    top_ = clip.top;
    right_ = clip.right - 1;
    bottom_ = clip.bottom - 1;
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
bool ClippedPolylines::clippedLineTo(ScreenPoint point) {
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
        droppedCount_ = 0;
    } else if (points_.size() - runBegin_ >= 2 && droppedCount_ < kMostDropped) {
        // The last vertex goes when it and every one dropped since the one before it
        // lie within a pixel of the straight line on to the new one.
        dropped_[droppedCount_] = points_.back();
        if (allWithinAPixel(points_[points_.size() - 2], vertex, droppedCount_ + 1)) {
            ++droppedCount_;
            points_.back() = vertex;
            return;
        }
        droppedCount_ = 0;
    }
    points_.push_back(vertex);
}

// Near the segment itself, not only its line, so that a path turning back is kept.
// Every point is tested, without an early way out: most of the time all of them
// pass, and a loop without branches is the quicker one then.
bool ClippedPolylines::allWithinAPixel(platform::Point from, platform::Point to,
                                       std::size_t count) const {
    const double dx = static_cast<double>(to.x) - from.x;
    const double dy = static_cast<double>(to.y) - from.y;
    const double length2 = dx * dx + dy * dy;
    if (length2 == 0.0) return false;
    const double limit = pixelSquared_ * length2;
    bool all = true;
    for (std::size_t i = 0; i < count; ++i) {
        const double px = static_cast<double>(dropped_[i].x) - from.x;
        const double py = static_cast<double>(dropped_[i].y) - from.y;
        const double along = px * dx + py * dy;
        const double across = px * dy - py * dx;
        all &= (along >= 0.0) & (along <= length2) & (across * across < limit);
    }
    return all;
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
    if (inside(from) && inside(to)) return true;
    const double dx = to.x - from.x;
    const double dy = to.y - from.y;
    double t0 = 0.0;
    double t1 = 1.0;
    if (!clipEdge(-dx, from.x - left_, t0, t1) || !clipEdge(dx, right_ - from.x, t0, t1) ||
        !clipEdge(-dy, from.y - top_, t0, t1) || !clipEdge(dy, bottom_ - from.y, t0, t1))
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
