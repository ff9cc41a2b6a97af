#pragma once
// Aliased polylines drawn straight into a 16-bit buffer, the way the drawing
// surface's pens draw them: a one-pixel line leaves out its last pixel; a wider one
// covers the pixels within half its width of the path, so its ends and joins are
// round; dashes (long dashes, short gaps, in pen widths) run on along the whole
// polyline. Everything stays inside the clip, which is held to the buffer. The pen is
// walked pixel by pixel along the path and only the pixels it newly covers are
// written, so a long track costs about its length times the pen width. What a step
// in each of the eight directions newly covers is worked out once per pen, and a
// polyline (or a segment) whose pen stays wholly inside the clip is walked through the
// buffer from a pointer in one loop, without clipping.

#include <array>
#include <cstddef>
#include <span>
#include <vector>

#include "platform/DrawingSurface.h"

namespace wendra::platform {

class LineRaster {
public:
    static constexpr double kDashLength = 6.0;  // in pen widths
    static constexpr double kGapLength = 2.0;

    void draw(PixelBuffer& pixels, const Rect& clip, const Pen& pen, std::span<const Point> points);

private:
    // The pen's pixels on one row, as offsets from its centre pixel.
    struct Row {
        int left = 0;
        int right = -1;
    };
    // Pixels on one row, as offsets from the pen's centre pixel.
    struct Run {
        int dy = 0;
        int left = 0;
        int right = -1;
    };
    // A run as a stretch of the buffer from the pen's centre pixel.
    struct Stroke {
        std::ptrdiff_t offset = 0;
        int length = 0;
    };

    void choosePen(int width);
    void chooseSteps();
    void segment(Point from, Point to, bool last);
    void walk(Point a, Point b, bool last);
    // The walk of a one pixel pen wholly inside the clip along the polyline; when it
    // ends the drawn polyline, it leaves out the last pixel.
    template <bool kDashed>
    void thinWalk(std::span<const Point> points, bool endsPolyline);
    // The same for a wider pen.
    template <bool kDashed>
    void wideWalk(std::span<const Point> points);
    void chooseStrokes(int pitch);
    bool penInside(Point p) const;
    void walkInside(std::span<const Point> points, bool endsPolyline);
    // Moves `travelled` on by the length along the dash pattern; true when it then
    // lies in a gap.
    bool inDashGap(double& travelled, double length) const;
    // The pen reaches the pixel: whole, or by the step (dx, dy) from where it was.
    void visit(int x, int y, int dx, int dy, double length);
    void cover(int x, int y, const std::vector<Run>& runs);
    void span(int y, int left, int right);
    const Row* rowAt(int dy) const;

    PixelBuffer* pixels_ = nullptr;
    Rect clip_;
    Pixel16 ink_ = 0;
    int width_ = 0;
    int top_ = 0;  // the offset of rows_.front() from the centre row
    std::vector<Row> rows_;
    Rect reach_;  // the pen's pixels around its centre, [left, right) x [top, bottom)
    std::vector<Run> whole_;                  // the whole pen
    std::array<std::vector<Run>, 9> steps_;  // what a step newly covers, by direction
    int strokePitch_ = 0;                    // the pitch the strokes were made for
    std::vector<Stroke> wholeStrokes_;
    std::array<std::vector<Stroke>, 9> stepStrokes_;
    bool dashed_ = false;
    double dashOn_ = 0.0;
    double dashPeriod_ = 0.0;
    double travelled_ = 0.0;  // into the dash pattern, along the polyline
    bool penDown_ = false;    // the pen covers the last pixel visited
    bool startPending_ = false;
};

}  // namespace wendra::platform
