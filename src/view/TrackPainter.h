#pragma once
// Draws the five track layers (4 down to 0, so the main layer lies on top) as
// polylines broken at segment flags (unless far points are joined) and at colour
// changes. Walks the layers under the track lock and strokes after releasing it, so
// the GPS side waits only for the walk. Keeps its buffers between frames.

#include <array>
#include <cstdint>

#include "platform/DrawingSurface.h"
#include "view/ClippedPolylines.h"
#include "view/NorthUpProjection.h"
#include "view/ViewColours.h"

namespace wendra {

class Track;
class TrackLayer;
class TrackPoint;
class ViewGeometry;

class TrackPainter {
public:
    void draw(platform::DrawingSurface& surface, Track& track, const NorthUpProjection& projection,
              const ViewColours& colours);
    // The points the view cycle kept (the retained chains), turned and scaled by the
    // view; the caller holds the track lock.
    void drawRetained(platform::DrawingSurface& surface, const Track& track,
                      const ViewGeometry& view, const ViewColours& colours);

private:
    static constexpr int kLayers = 5;

    // Everything the placed lines depend on.
    struct Placing {
        platform::Size size{};
        platform::Point centre{};
        double lat = 0.0;
        double lon = 0.0;
        float scale = 0.0f;
        int rotation = -1;
        bool joinFar = false;
        std::array<std::uint64_t, kLayers> revisions{};
        std::array<const TrackPoint*, kLayers> heads{};
        bool operator==(const Placing&) const = default;
    };
    static Placing placingOf(platform::DrawingSurface& surface, const Track& track,
                             const ViewGeometry& view);

    static void collect(ClippedPolylines& lines, const TrackLayer& layer,
                        const NorthUpProjection& projection, bool joinFar);
    static void collectRetained(ClippedPolylines& lines, const TrackLayer& layer,
                                const ViewGeometry& view, bool joinFar);
    static void paint(platform::DrawingSurface& surface, const ClippedPolylines& lines, bool main,
                      const ViewColours& colours);

    std::array<ClippedPolylines, kLayers> lines_;
    Placing placed_;
};

}  // namespace wendra
