#pragma once
// Turns a stream of projected points into integer polylines inside a clip rectangle:
// segments are clipped (Liang-Barsky), a point within a pixel of the last kept one is
// skipped, so is a vertex that lies within a pixel of the straight line between its
// neighbours (with the vertices dropped before it), and a new run starts at every
// break, style change or re-entry. Runs hold at least two points. Points that are not
// numbers break the line. A pixel may be several units of the coordinates: the track
// painter places in finer steps, so that it can move its lines by part of a pixel.

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "platform/Geometry.h"
#include "view/ScreenPoint.h"

namespace wendra {

class ClippedPolylines {
public:
    struct Run {
        std::uint16_t style = 0;
        std::size_t begin = 0;  // into points()
        std::size_t end = 0;
    };

    explicit ClippedPolylines(platform::Rect clip = {}, int unitsPerPixel = 1);

    // Forgets every run; the clip and the unit stay.
    void clear();
    // Forgets every run and clips to a new rectangle, in units of which a pixel has
    // unitsPerPixel.
    void reset(platform::Rect clip, int unitsPerPixel = 1);
    // Starts a new line at the point (no segment to it).
    void moveTo(ScreenPoint point);
    // A segment from the last kept point; the first call after clear() acts as moveTo.
    // True when some of the segment lies inside the clip and is drawn.
    bool lineTo(ScreenPoint point) {
        // Most points of a track in view: the open run, which ends at the anchor and
        // so inside, goes on to a point inside; nothing to clip.
        if (runOpen_ && inside(point)) {
            const double dx = point.x - anchor_.x;
            const double dy = point.y - anchor_.y;
            if (dx * dx + dy * dy < pixelSquared_) return false;
            anchor_ = point;
            appendVertex(point.pixel());
            return true;
        }
        return clippedLineTo(point);
    }
    // Segments from now on carry this style; the line goes on without a gap.
    void setStyle(std::uint16_t style);
    // Ends the open line, so that runs() holds it.
    void finish() { closeRun(); }

    std::span<const Run> runs() const { return runs_; }
    std::span<const platform::Point> points(const Run& run) const {
        return std::span<const platform::Point>(points_).subspan(run.begin, run.end - run.begin);
    }

private:
    // Vertices dropped in a row before the next one is kept, whatever the line.
    static constexpr std::size_t kMostDropped = 16;

    bool inside(const ScreenPoint& p) const {
        return p.x >= left_ && p.x <= right_ && p.y >= top_ && p.y <= bottom_;
    }
    bool clippedLineTo(ScreenPoint point);
    void closeRun();
    void appendVertex(platform::Point vertex);
    // Whether the first count of dropped_ lie within a pixel of the segment.
    bool allWithinAPixel(platform::Point from, platform::Point to, std::size_t count) const;
    bool clipSegment(ScreenPoint& from, ScreenPoint& to, bool& fromMoved, bool& toMoved) const;

    // The clip; its right and bottom edges are exclusive, the last unit inside is kept.
    double left_ = 0.0;
    double top_ = 0.0;
    double right_ = -1.0;
    double bottom_ = -1.0;
    double pixelSquared_ = 1.0;  // a pixel's length squared, in units
    std::vector<platform::Point> points_;
    std::vector<Run> runs_;
    std::uint16_t style_ = 0;
    ScreenPoint anchor_{};
    bool hasAnchor_ = false;
    bool runOpen_ = false;  // the open run ends at the anchor's pixel
    std::size_t runBegin_ = 0;
    // Dropped since the last vertex kept, and room for the one tested with them.
    std::array<platform::Point, kMostDropped + 1> dropped_{};
    std::size_t droppedCount_ = 0;
};

}  // namespace wendra
