#include "platform/LineRaster.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace wendra::platform {

namespace {

constexpr double kDiagonalStep = 1.4142135623730951;

// One Liang-Barsky boundary: narrows [t0, t1]; false when the segment lies outside.
bool clipEdge(double p, double q, double& t0, double& t1) {
    if (p == 0.0) return q >= 0.0;
    const double r = q / p;
    if (p < 0.0) {
        if (r > t1) return false;
        t0 = std::max(t0, r);
    } else {
        if (r < t0) return false;
        t1 = std::min(t1, r);
    }
    return true;
}

Point rounded(double x, double y) {
    return Point{static_cast<int>(std::lround(x)), static_cast<int>(std::lround(y))};
}

// fmod(travelled, period) for travelled >= period: within one period more, where a
// walk of pixel steps stays, the difference is exact and is fmod's result.
double wrapped(double travelled, double period) {
    return travelled < 2.0 * period ? travelled - period : std::fmod(travelled, period);
}

int stepIndex(int dx, int dy) {
    return (dy + 1) * 3 + (dx + 1);
}

}  // namespace

void LineRaster::draw(PixelBuffer& pixels, const Rect& clip, const Pen& pen,
                      std::span<const Point> points) {
    if (pen.style == PenStyle::None || points.size() < 2) return;
    clip_ = clip.intersected(pixels.bounds());
    if (clip_.empty()) return;
    const int width = std::max(pen.width, 1);
    // A one-pixel line of no length leaves out its only pixel.
    if (width == 1 && std::all_of(points.begin(), points.end(),
                                  [&](const Point& p) { return p == points.front(); }))
        return;
    pixels_ = &pixels;
    ink_ = toPixel16(pen.colour);
    if (width != width_ || rows_.empty()) choosePen(width);
    if (pixels.pitch() != strokePitch_) chooseStrokes(pixels.pitch());
    dashed_ = pen.style == PenStyle::Dash;
    dashOn_ = kDashLength * width;
    dashPeriod_ = (kDashLength + kGapLength) * width;
    travelled_ = 0.0;
    penDown_ = false;
    // Runs of segments whose pen stays inside the clip, as most of a track's do, are
    // walked in one loop each; the others are clipped one by one.
    const std::size_t count = points.size();
    std::size_t i = 1;
    while (i < count) {
        std::size_t end = i - 1;
        while (end + 1 < count && penInside(points[end]) && penInside(points[end + 1])) ++end;
        if (end >= i) {
            walkInside(points.subspan(i - 1, end - i + 2), end + 1 == count);
            i = end + 1;
            continue;
        }
        segment(points[i - 1], points[i], i + 1 == count);
        ++i;
    }
}

// The polyline's pen stays inside the clip: the walk goes from a pointer, its state in
// registers throughout.
void LineRaster::walkInside(std::span<const Point> points, bool endsPolyline) {
    if (width_ == 1 && dashed_)
        thinWalk<true>(points, endsPolyline);
    else if (width_ == 1)
        thinWalk<false>(points, endsPolyline);
    else if (dashed_)
        wideWalk<true>(points);
    else
        wideWalk<false>(points);
}

// The pixels whose centres lie within half the width of the pen's centre; an even
// pen is centred on a pixel corner, so that it covers exactly its width across.
void LineRaster::choosePen(int width) {
    width_ = width;
    rows_.clear();
    const double offset = width % 2 == 0 ? 0.5 : 0.0;
    const double reach = width / 2.0 * (width / 2.0) + 1e-9;
    top_ = 0;
    for (int dy = -width; dy <= width; ++dy) {
        Row row;
        row.left = width + 1;
        for (int dx = -width; dx <= width; ++dx) {
            const double cx = dx + offset;
            const double cy = dy + offset;
            if (cx * cx + cy * cy > reach) continue;
            row.left = std::min(row.left, dx);
            row.right = std::max(row.right, dx);
        }
        if (row.right < row.left) continue;
        if (rows_.empty()) top_ = dy;
        rows_.push_back(row);
    }
    chooseSteps();
    strokePitch_ = 0;
}

void LineRaster::chooseStrokes(int pitch) {
    strokePitch_ = pitch;
    const auto strokes = [pitch](const std::vector<Run>& runs, std::vector<Stroke>& out) {
        out.clear();
        for (const Run& run : runs)
            out.push_back(Stroke{std::ptrdiff_t{run.dy} * pitch + run.left, run.right - run.left + 1});
    };
    strokes(whole_, wholeStrokes_);
    for (std::size_t k = 0; k < steps_.size(); ++k) strokes(steps_[k], stepStrokes_[k]);
}

// The runs of the whole pen, and for each step the part of the pen at its new place
// that it did not cover one step back.
void LineRaster::chooseSteps() {
    whole_.clear();
    reach_ = Rect{0, top_, 0, top_ + static_cast<int>(rows_.size())};
    for (std::size_t k = 0; k < rows_.size(); ++k) {
        const Row& row = rows_[k];
        whole_.push_back(Run{top_ + static_cast<int>(k), row.left, row.right});
        reach_.left = std::min(reach_.left, row.left);
        reach_.right = std::max(reach_.right, row.right + 1);
    }
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            std::vector<Run>& runs = steps_[static_cast<std::size_t>(stepIndex(dx, dy))];
            runs.clear();
            for (const Run& now : whole_) {
                const Row* before = rowAt(now.dy + dy);
                if (!before || before->right - dx < now.left || before->left - dx > now.right) {
                    runs.push_back(now);
                    continue;
                }
                const int oldLeft = before->left - dx, oldRight = before->right - dx;
                if (now.left < oldLeft) runs.push_back(Run{now.dy, now.left, oldLeft - 1});
                if (oldRight < now.right) runs.push_back(Run{now.dy, oldRight + 1, now.right});
            }
        }
    }
}

// Whether the pen centred on the pixel lies inside the clip; when it does at both ends
// of a segment, it does all along: the walk stays in the box of its ends.
bool LineRaster::penInside(Point p) const {
    return p.x + reach_.left >= clip_.left && p.x + reach_.right <= clip_.right &&
           p.y + reach_.top >= clip_.top && p.y + reach_.bottom <= clip_.bottom;
}

void LineRaster::segment(Point from, Point to, bool last) {
    const double fx = from.x;
    const double fy = from.y;
    const double dx = to.x - fx;
    const double dy = to.y - fy;
    // Lengths only matter to the dashes, and only where the clip cuts the segment.
    const auto length = [&] { return dashed_ ? std::sqrt(dx * dx + dy * dy) : 0.0; };
    // The walk is held to the clip and a pen's reach beyond it.
    const int reach = width_ + 1;
    double t0 = 0.0;
    double t1 = 1.0;
    const bool inside = from.x >= clip_.left && from.x < clip_.right && from.y >= clip_.top &&
                        from.y < clip_.bottom && to.x >= clip_.left && to.x < clip_.right &&
                        to.y >= clip_.top && to.y < clip_.bottom;
    if (!inside && (!clipEdge(-dx, fx - (clip_.left - reach), t0, t1) ||
                    !clipEdge(dx, (clip_.right - 1 + reach) - fx, t0, t1) ||
                    !clipEdge(-dy, fy - (clip_.top - reach), t0, t1) ||
                    !clipEdge(dy, (clip_.bottom - 1 + reach) - fy, t0, t1))) {
        travelled_ += length();
        penDown_ = false;
        return;
    }
    Point a = from;
    if (t0 > 0.0) {
        a = rounded(fx + t0 * dx, fy + t0 * dy);
        travelled_ += t0 * length();
        penDown_ = false;
    }
    const bool endMoved = t1 < 1.0;
    const Point b = endMoved ? rounded(fx + t1 * dx, fy + t1 * dy) : to;
    walk(a, b, last && !endMoved);
    if (endMoved) {
        travelled_ += (1.0 - t1) * length();
        penDown_ = false;
    }
}

// The pen from a to b, both ends on the path, its runs clipped; a one pixel pen
// leaves out b when it ends the polyline.
void LineRaster::walk(Point a, Point b, bool last) {
    if (!penDown_) visit(a.x, a.y, 0, 0, 0.0);

    const int stepsX = std::abs(b.x - a.x);
    const int stepsY = -std::abs(b.y - a.y);
    const int sx = a.x < b.x ? 1 : -1;
    const int sy = a.y < b.y ? 1 : -1;
    int err = stepsX + stepsY;
    int x = a.x;
    int y = a.y;
    while (x != b.x || y != b.y) {
        const int e2 = 2 * err;
        int mx = 0;
        int my = 0;
        if (e2 >= stepsY) {
            err += stepsY;
            x += sx;
            mx = sx;
        }
        if (e2 <= stepsX) {
            err += stepsX;
            y += sy;
            my = sy;
        }
        const double step = mx != 0 && my != 0 ? kDiagonalStep : 1.0;
        if (width_ == 1 && last && x == b.x && y == b.y) {
            travelled_ += step;
            break;
        }
        visit(x, y, mx, my, step);
    }
}

bool LineRaster::inDashGap(double& travelled, double length) const {
    travelled += length;
    if (travelled >= dashPeriod_) travelled = wrapped(travelled, dashPeriod_);
    return travelled >= dashOn_;
}

// The general walk for a one pixel pen, each pixel written as it is reached, the
// dash pattern kept in registers; a solid pen leaves the pattern alone.
template <bool kDashed>
void LineRaster::thinWalk(std::span<const Point> points, bool endsPolyline) {
    const int pitch = pixels_->pitch();
    Pixel16* at = pixels_->row(points.front().y) + points.front().x;
    double travelled = travelled_;
    bool down = penDown_;
    const auto reach = [&](Pixel16* pixel, double length) {
        if constexpr (kDashed) {
            if (inDashGap(travelled, length)) {
                down = false;
                return;
            }
        }
        *pixel = ink_;
        down = true;
    };
    if (!down) reach(at, 0.0);
    for (std::size_t k = 1; k < points.size(); ++k) {
        const Point a = points[k - 1], b = points[k];
        const bool skipLast = endsPolyline && k + 1 == points.size();
        const int stepsX = std::abs(b.x - a.x);
        const int stepsY = -std::abs(b.y - a.y);
        const int sx = a.x < b.x ? 1 : -1;
        const int sy = a.y < b.y ? pitch : -pitch;
        int err = stepsX + stepsY;
        // Each step moves along the longer axis, and along the other one now and then.
        const int steps = std::max(stepsX, -stepsY);
        // Without branches: on a track's short segments they would be mispredicted.
        for (int i = 1; i <= steps; ++i) {
            const int e2 = 2 * err;
            const bool alongX = e2 >= stepsY, alongY = e2 <= stepsX;
            err += (alongX ? stepsY : 0) + (alongY ? stepsX : 0);
            at += (alongX ? sx : 0) + (alongY ? sy : 0);
            const double length = alongX && alongY ? kDiagonalStep : 1.0;
            // A one pixel line leaves out the last pixel of its polyline.
            if (skipLast && i == steps) {
                travelled += length;
                break;
            }
            reach(at, length);
        }
    }
    travelled_ = travelled;
    penDown_ = down;
}

// As the general walk does, with the pen's runs written as strokes from a pointer.
template <bool kDashed>
void LineRaster::wideWalk(std::span<const Point> points) {
    const int pitch = pixels_->pitch();
    Pixel16* at = pixels_->row(points.front().y) + points.front().x;
    double travelled = travelled_;
    bool down = penDown_;
    const auto reach = [&](int direction, double length) {
        if constexpr (kDashed) {
            if (inDashGap(travelled, length)) {
                down = false;
                return;
            }
        }
        const std::vector<Stroke>& strokes =
            down ? stepStrokes_[static_cast<std::size_t>(direction)] : wholeStrokes_;
        for (const Stroke& stroke : strokes) std::fill_n(at + stroke.offset, stroke.length, ink_);
        down = true;
    };
    if (!down) reach(stepIndex(0, 0), 0.0);
    for (std::size_t k = 1; k < points.size(); ++k) {
        const Point a = points[k - 1], b = points[k];
        const int stepsX = std::abs(b.x - a.x);
        const int stepsY = -std::abs(b.y - a.y);
        const int sx = a.x < b.x ? 1 : -1;
        const int sy = a.y < b.y ? 1 : -1;
        int err = stepsX + stepsY;
        const int steps = std::max(stepsX, -stepsY);
        for (int i = 1; i <= steps; ++i) {
            const int e2 = 2 * err;
            const int mx = e2 >= stepsY ? sx : 0;
            const int my = e2 <= stepsX ? sy : 0;
            err += (mx != 0 ? stepsY : 0) + (my != 0 ? stepsX : 0);
            at += mx + my * pitch;
            reach(stepIndex(mx, my), mx != 0 && my != 0 ? kDiagonalStep : 1.0);
        }
    }
    travelled_ = travelled;
    penDown_ = down;
}

void LineRaster::visit(int x, int y, int dx, int dy, double length) {
    if (dashed_ && inDashGap(travelled_, length)) {
        penDown_ = false;
        return;
    }
    // Only what the pen covers at (x, y) and did not cover one step back.
    cover(x, y, penDown_ ? steps_[static_cast<std::size_t>(stepIndex(dx, dy))] : whole_);
    penDown_ = true;
}

// The runs clipped: a pen inside the clip takes the walks from a pointer instead.
void LineRaster::cover(int x, int y, const std::vector<Run>& runs) {
    for (const Run& run : runs) span(y + run.dy, x + run.left, x + run.right);
}

const LineRaster::Row* LineRaster::rowAt(int dy) const {
    const int k = dy - top_;
    if (k < 0 || k >= static_cast<int>(rows_.size())) return nullptr;
    return &rows_[static_cast<std::size_t>(k)];
}

void LineRaster::span(int y, int left, int right) {
    if (y < clip_.top || y >= clip_.bottom) return;
    left = std::max(left, clip_.left);
    right = std::min(right, clip_.right - 1);
    if (left > right) return;
    Pixel16* row = pixels_->row(y);
    std::fill(row + left, row + right + 1, ink_);
}

}  // namespace wendra::platform
