#include "view/TrackPainter.h"

#include "track/Track.h"
#include "track/TrackPoint.h"

namespace wendra {

namespace {

using platform::Pen;
using platform::PenStyle;

constexpr const char16_t* kPaintLabel = u".Paint.1";
// Lines are clipped this far outside the surface so that wide pens end off-screen.
constexpr int kClipMargin = 8;
// The main layer's halo is this much wider than its line.
constexpr int kHaloExtra = 2;

bool breaksBefore(const TrackPoint& previous, const TrackPoint& point, bool joinFar) {
    if (joinFar) return false;
    return previous.has(kSegmentEnd) || point.has(kSegmentStart);
}

platform::Rect clipFor(platform::Size size) {
    return platform::Rect{-kClipMargin, -kClipMargin, size.width + kClipMargin,
                          size.height + kClipMargin};
}

}  // namespace

void TrackPainter::draw(platform::DrawingSurface& surface, Track& track,
                        const NorthUpProjection& projection, const ViewColours& colours) {
    lines_ = ClippedPolylines(clipFor(surface.size()));
    TrackLock::Hold hold(track.lock(), kPaintLabel);
    const bool joinFar = track.settings.joinFarPoints;
    for (int index = Track::kLayerCount - 1; index >= 0; --index) {
        lines_.clear();
        collect(track.layer(index), projection, joinFar);
        paint(surface, index, colours);
    }
}

void TrackPainter::collect(const TrackLayer& layer, const NorthUpProjection& projection,
                           bool joinFar) {
    const TrackPoint* previous = nullptr;
    for (const TrackPoint* point = layer.first(); point; point = point->next) {
        const ScreenPoint at = projection.project(point->lat, point->lon, point->cosLat);
        lines_.setStyle(point->colour);
        if (!previous || breaksBefore(*previous, *point, joinFar))
            lines_.moveTo(at);
        else
            lines_.lineTo(at);
        previous = point;
    }
    lines_.finish();
}

void TrackPainter::paint(platform::DrawingSurface& surface, int layerIndex,
                         const ViewColours& colours) {
    const bool main = layerIndex == Track::kMainLayer;
    if (main) {
        for (const auto& run : lines_.runs()) {
            surface.setPen(
                Pen{PenStyle::Solid, trackPenWidth(run.style) + kHaloExtra, colours.back});
            surface.polyline(lines_.points(run));
        }
    }
    for (const auto& run : lines_.runs()) {
        const int width = trackPenWidth(run.style);
        // Loaded layers stand apart from the recorded one by a dashed thin pen.
        const bool dashed = !main && width == 1;
        surface.setPen(
            Pen{dashed ? PenStyle::Dash : PenStyle::Solid, width, trackColour(run.style)});
        surface.polyline(lines_.points(run));
    }
}

}  // namespace wendra
