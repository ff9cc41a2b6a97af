#include "view/TrackPainter.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "track/Track.h"
#include "track/TrackPoint.h"
#include "track/TrackUnits.h"
#include "view/ViewCycle.h"
#include "view/ViewGeometry.h"

namespace wendra {

namespace {

using platform::Pen;
using platform::PenStyle;

// Lines are clipped this far outside the surface so that wide pens end off-screen.
constexpr int kClipMargin = 8;
// The main layer's halo is this much wider than its line.
constexpr int kHaloExtra = 2;
// Moved lines land at most this far (pixels) from where placing them anew would.
constexpr double kMostSpread = 0.5;

bool breaksBefore(const VisibleTrack::ChainPoint& previous, const VisibleTrack::ChainPoint& point,
                  bool joinFar) {
    if (joinFar) return false;
    return previous.segmentEnd || point.segmentStart;
}

}  // namespace

// A layer is placed anew when its chain or the view changed other than by a small
// move of the centre or a turn: a frame redrawn for a timer, following a walk, a drag
// or a course-up view over loaded tracks moves the lines of the last frame instead.
void TrackPainter::drawRetained(platform::DrawingSurface& surface, const Track& track,
                                const ViewCycle& cycle, const ViewGeometry& view,
                                const ViewColours& colours) {
    const Placing placing = placingOf(surface, track, view);
    placedLastFrame_ = 0;
    for (int index = kLayers - 1; index >= 0; --index) {
        const TrackLayer& layer = track.layer(index);
        Placed& placed = placed_[static_cast<std::size_t>(index)];
        Move move;
        if (!moveOf(placed, placing, layer, view, move)) {
            place(placed, placing, layer, cycle.retained(index), view);
            move = Move{};
            ++placedLastFrame_;
        }
        toPixels(placed.lines, move, placing.centre);
        paint(surface, index == Track::kMainLayer, colours);
    }
}

TrackPainter::Placing TrackPainter::placingOf(platform::DrawingSurface& surface, const Track& track,
                                              const ViewGeometry& view) {
    Placing p;
    p.size = surface.size();
    p.centre = view.centrePixel();
    p.scale = view.scale;
    p.joinFar = track.settings.joinFarPoints;
    return p;
}

// The view moved from the placed centre by dLat, dLon and turned: every point turns
// with the view about its centre pixel and moves by the same rotated dLat and by dLon
// times the cosine of its own latitude. The lines move as one by the middle cosine
// while the spread of the cosines along them keeps every point within half a pixel
// of its own move, and while the view stays within the margin they were placed with.
bool TrackPainter::moveOf(const Placed& placed, const Placing& placing, const TrackLayer& layer,
                          const ViewGeometry& view, Move& move) {
    if (!placed.valid || !(placed.placing == placing) || placed.revision != layer.revision() ||
        placed.head != layer.drawHead)
        return false;
    const double spread = std::fabs(view.centreLon() - placed.lon) * view.scale *
                          (placed.cosHigh - placed.cosLow) / 2.0;
    if (!(spread <= kMostSpread)) return false;
    // Where the placed centre lies now.
    const RotatedOffset centre =
        view.project(placed.lat, placed.lon, (placed.cosLow + placed.cosHigh) / 2.0);
    const double units = static_cast<double>(view.scale) * kUnitsPerPixel;
    move.x = static_cast<double>(centre.x) * units;
    move.y = -static_cast<double>(centre.y) * units;
    const int turn = view.rotationDegrees() - placed.rotation;
    move.turned = turn != 0;
    move.cos = std::cos(turn * kPi / 180.0);
    move.sin = std::sin(turn * kPi / 180.0);
    if (!move.turned) {
        move.x = std::round(move.x);
        move.y = std::round(move.y);
    }
    return coversClip(move, placing);
}

// Whether every corner of the clip, taken back to where the lines were placed, lies
// inside what they were placed for: then so does all of the clip.
bool TrackPainter::coversClip(const Move& move, const Placing& placing) {
    constexpr double kNear = kClipMargin * kUnitsPerPixel;
    constexpr double kFar = (kClipMargin + kReuseMargin) * kUnitsPerPixel;
    const double halfWidth = placing.size.width * kUnitsPerPixel / 2.0;
    const double halfHeight = placing.size.height * kUnitsPerPixel / 2.0;
    for (const double cornerX : {-halfWidth - kNear, halfWidth + kNear}) {
        for (const double cornerY : {-halfHeight - kNear, halfHeight + kNear}) {
            const double a = cornerX - move.x;
            const double b = cornerY - move.y;
            const double x = move.cos * a - move.sin * b;
            const double y = move.sin * a + move.cos * b;
            if (!(std::fabs(x) <= halfWidth + kFar && std::fabs(y) <= halfHeight + kFar))
                return false;
        }
    }
    return true;
}

// Off-screen points are projected too, so that a line leaving the view and coming
// back is clipped at the edge rather than cut short at its last visible point.
void TrackPainter::place(Placed& placed, const Placing& placing, const TrackLayer& layer,
                         Chain chain, const ViewGeometry& view) {
    constexpr int kReach = (kClipMargin + kReuseMargin) * kUnitsPerPixel;
    ClippedPolylines& lines = placed.lines;
    lines.reset(platform::Rect{-kReach, -kReach, placing.size.width * kUnitsPerPixel + kReach,
                               placing.size.height * kUnitsPerPixel + kReach},
                kUnitsPerPixel);
    const double units = static_cast<double>(view.scale) * kUnitsPerPixel;
    const double centreX = static_cast<double>(placing.centre.x) * kUnitsPerPixel;
    const double centreY = static_cast<double>(placing.centre.y) * kUnitsPerPixel;
    double low = std::numeric_limits<double>::infinity();
    double high = -low;
    const VisibleTrack::ChainPoint* previous = nullptr;
    for (const VisibleTrack::ChainPoint& point : chain) {
        const RotatedOffset offset = view.project(point.lat, point.lon, point.cosLat);
        const ScreenPoint at{centreX + static_cast<double>(offset.x) * units,
                             centreY - static_cast<double>(offset.y) * units};
        lines.setStyle(point.colour);
        if (!previous || breaksBefore(*previous, point, placing.joinFar)) {
            lines.moveTo(at);
        } else if (lines.lineTo(at)) {
            low = std::min({low, point.cosLat, previous->cosLat});
            high = std::max({high, point.cosLat, previous->cosLat});
        }
        previous = &point;
    }
    lines.finish();
    if (low > high) low = high = 1.0;  // nothing drawn: any move will do
    placed.valid = true;
    placed.placing = placing;
    placed.revision = layer.revision();
    placed.head = layer.drawHead;
    placed.rotation = view.rotationDegrees();
    placed.lat = view.centreLat();
    placed.lon = view.centreLon();
    placed.cosLow = low;
    placed.cosHigh = high;
}

// A vertex that lands on the pixel of the one before is left out.
void TrackPainter::toPixels(const ClippedPolylines& lines, const Move& move,
                            platform::Point centre) {
    runs_.clear();
    pixels_.clear();
    for (const ClippedPolylines::Run& run : lines.runs()) {
        const std::size_t begin = pixels_.size();
        if (move.turned)
            turnRun(lines.points(run), move, centre);
        else
            shiftRun(lines.points(run), move);
        if (pixels_.size() - begin >= 2)
            runs_.push_back(ClippedPolylines::Run{run.style, begin, pixels_.size()});
        else
            pixels_.resize(begin);
    }
}

// Rounded half up.
void TrackPainter::shiftRun(std::span<const platform::Point> points, const Move& move) {
    constexpr int kHalf = kUnitsPerPixel / 2;
    const int x = static_cast<int>(move.x) + kHalf;
    const int y = static_cast<int>(move.y) + kHalf;
    const std::size_t begin = pixels_.size();
    for (const platform::Point p : points) {
        const platform::Point pixel{(p.x + x) >> kUnitBits, (p.y + y) >> kUnitBits};
        if (pixels_.size() == begin || pixels_.back() != pixel) pixels_.push_back(pixel);
    }
}

// About the centre pixel; x right and y down, so the turn is clockwise on screen.
void TrackPainter::turnRun(std::span<const platform::Point> points, const Move& move,
                           platform::Point centre) {
    constexpr double kPixel = 1.0 / kUnitsPerPixel;
    const double centreX = static_cast<double>(centre.x) * kUnitsPerPixel;
    const double centreY = static_cast<double>(centre.y) * kUnitsPerPixel;
    const std::size_t begin = pixels_.size();
    for (const platform::Point p : points) {
        const double x = p.x - centreX;
        const double y = p.y - centreY;
        const ScreenPoint at{(centreX + move.cos * x + move.sin * y + move.x) * kPixel,
                             (centreY - move.sin * x + move.cos * y + move.y) * kPixel};
        const platform::Point pixel = at.pixel();
        if (pixels_.size() == begin || pixels_.back() != pixel) pixels_.push_back(pixel);
    }
}

void TrackPainter::paint(platform::DrawingSurface& surface, bool main,
                         const ViewColours& colours) {
    const auto points = [&](const ClippedPolylines::Run& run) {
        return std::span<const platform::Point>(pixels_).subspan(run.begin, run.end - run.begin);
    };
    if (main) {
        for (const auto& run : runs_) {
            surface.setPen(
                Pen{PenStyle::Solid, trackPenWidth(run.style) + kHaloExtra, colours.back});
            surface.polyline(points(run));
        }
    }
    for (const auto& run : runs_) {
        const int width = trackPenWidth(run.style);
        // Loaded layers stand apart from the recorded one by a dashed thin pen.
        const bool dashed = !main && width == 1;
        surface.setPen(
            Pen{dashed ? PenStyle::Dash : PenStyle::Solid, width, trackColour(run.style)});
        surface.polyline(points(run));
    }
}

}  // namespace wendra
