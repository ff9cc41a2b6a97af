#include "view/TrackPainter.h"

#include "track/Track.h"
#include "track/TrackPoint.h"
#include "view/ViewGeometry.h"

namespace wendra {

namespace {

using platform::Pen;
using platform::PenStyle;

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

// The lines of the last frame are drawn again while the view and the layers stay as
// they were: a frame redrawn for a timer or a banner does not place the track anew.
void TrackPainter::drawRetained(platform::DrawingSurface& surface, const Track& track,
                                const ViewGeometry& view, const ViewColours& colours) {
    const Placing placing = placingOf(surface, track, view);
    const bool stale = !(placing == placed_);
    placed_ = placing;
    for (int index = kLayers - 1; index >= 0; --index) {
        ClippedPolylines& lines = lines_[static_cast<std::size_t>(index)];
        if (stale) {
            Chain& chain = chains_[static_cast<std::size_t>(index)];
            copyChain(chain, track.layer(index), view.scale, placing.joinFar);
            lines.reset(clipFor(placing.size));
            collectRetained(lines, chain, view);
        }
        paint(surface, lines, index == Track::kMainLayer, colours);
    }
}

TrackPainter::Placing TrackPainter::placingOf(platform::DrawingSurface& surface, const Track& track,
                                              const ViewGeometry& view) {
    Placing p;
    p.size = surface.size();
    p.centre = view.centrePixel();
    p.lat = view.centreLat();
    p.lon = view.centreLon();
    p.scale = view.scale;
    p.rotation = view.rotationDegrees();
    p.joinFar = track.settings.joinFarPoints;
    for (int index = 0; index < kLayers; ++index) {
        const TrackLayer& layer = track.layer(index);
        p.revisions[static_cast<std::size_t>(index)] = layer.revision();
        p.heads[static_cast<std::size_t>(index)] = layer.drawHead;
    }
    return p;
}

// The chain copied into one array: placing then reads memory in order instead of
// following links through every point of a long track.
void TrackPainter::copyChain(Chain& chain, const TrackLayer& layer, float scale, bool joinFar) {
    const Chain key{layer.revision(), layer.drawHead, scale, joinFar, {}};
    if (chain.revision == key.revision && chain.head == key.head && chain.scale == key.scale &&
        chain.joinFar == key.joinFar)
        return;
    chain.revision = key.revision;
    chain.head = key.head;
    chain.scale = key.scale;
    chain.joinFar = key.joinFar;
    chain.points.clear();
    const TrackPoint* previous = nullptr;
    for (const TrackPoint* point = layer.drawHead; point; point = point->drawNext) {
        const bool breaks = !previous || breaksBefore(*previous, *point, joinFar);
        chain.points.push_back(
            Retained{point->lat, point->lon, point->cosLat, point->colour, breaks});
        previous = point;
    }
}

// Off-screen points are projected too, so that a line leaving the view and coming
// back is clipped at the edge rather than cut short at its last visible point.
void TrackPainter::collectRetained(ClippedPolylines& lines, const Chain& chain,
                                   const ViewGeometry& view) {
    const platform::Point centre = view.centrePixel();
    const double scale = view.scale;
    for (const Retained& point : chain.points) {
        const RotatedOffset offset = view.project(point.lat, point.lon, point.cosLat);
        const ScreenPoint at{centre.x + static_cast<double>(offset.x) * scale,
                             centre.y - static_cast<double>(offset.y) * scale};
        lines.setStyle(point.colour);
        if (point.breaks)
            lines.moveTo(at);
        else
            lines.lineTo(at);
    }
    lines.finish();
}

void TrackPainter::paint(platform::DrawingSurface& surface, const ClippedPolylines& lines,
                         bool main, const ViewColours& colours) {
    if (main) {
        for (const auto& run : lines.runs()) {
            surface.setPen(
                Pen{PenStyle::Solid, trackPenWidth(run.style) + kHaloExtra, colours.back});
            surface.polyline(lines.points(run));
        }
    }
    for (const auto& run : lines.runs()) {
        const int width = trackPenWidth(run.style);
        // Loaded layers stand apart from the recorded one by a dashed thin pen.
        const bool dashed = !main && width == 1;
        surface.setPen(
            Pen{dashed ? PenStyle::Dash : PenStyle::Solid, width, trackColour(run.style)});
        surface.polyline(lines.points(run));
    }
}

}  // namespace wendra
