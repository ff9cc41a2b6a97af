#pragma once
// Draws the five track layers (4 down to 0, so the main layer lies on top) as
// polylines broken at segment flags (unless far points are joined) and at colour
// changes, from the chains the view cycle retained. Keeps each layer's placed lines
// between frames: a frame of the same view draws them again, and a view that only
// moved its centre a little or turned draws them moved and turned with it, as long as
// that lands within half a pixel of where placing them anew would.

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "platform/DrawingSurface.h"
#include "view/ClippedPolylines.h"
#include "view/ViewColours.h"
#include "view/VisibleTrack.h"

namespace wendra {

class Track;
class TrackLayer;
class TrackPoint;
class ViewCycle;
class ViewGeometry;

class TrackPainter {
public:
    // Lines are placed in steps of 1 / kUnitsPerPixel pixel.
    static constexpr int kUnitBits = 8;
    static constexpr int kUnitsPerPixel = 1 << kUnitBits;
    // Lines reach this far beyond the clip, so that they can be moved about as far.
    static constexpr int kReuseMargin = 320;

    // The points the view cycle kept (the retained chains), turned and scaled by the
    // view; the caller holds the track lock.
    void drawRetained(platform::DrawingSurface& surface, const Track& track, const ViewCycle& cycle,
                      const ViewGeometry& view, const ViewColours& colours);

    // How many layers the last drawRetained placed anew (the others were moved).
    int placedLastFrame() const { return placedLastFrame_; }

private:
    static constexpr int kLayers = 5;

    // What placed lines depend on, the view centre and rotation apart.
    struct Placing {
        platform::Size size{};
        platform::Point centre{};
        float scale = 0.0f;
        bool joinFar = false;
        bool operator==(const Placing&) const = default;
    };
    static Placing placingOf(platform::DrawingSurface& surface, const Track& track,
                             const ViewGeometry& view);

    // A layer's lines in units, for the view centred on lat, lon and turned by
    // rotation; cosLow..cosHigh holds the cosines of the latitudes at the ends of
    // every segment drawn.
    struct Placed {
        bool valid = false;
        Placing placing;
        std::uint64_t revision = 0;
        const TrackPoint* head = nullptr;
        int rotation = 0;
        double lat = 0.0;
        double lon = 0.0;
        double cosLow = 1.0;
        double cosHigh = 1.0;
        ClippedPolylines lines;
    };

    // Placed lines to the view of this frame: turned about the centre pixel by the
    // angle (cos, sin), then moved by x, y; in units, whole ones when not turned.
    struct Move {
        bool turned = false;
        double cos = 1.0;
        double sin = 0.0;
        double x = 0.0;
        double y = 0.0;
    };

    using Chain = std::span<const VisibleTrack::ChainPoint>;
    static bool moveOf(const Placed& placed, const Placing& placing, const TrackLayer& layer,
                       const ViewGeometry& view, Move& move);
    static bool coversClip(const Move& move, const Placing& placing);
    static void place(Placed& placed, const Placing& placing, const TrackLayer& layer,
                      Chain chain, const ViewGeometry& view);
    // The runs moved and rounded to pixels, into runs_ and pixels_.
    void toPixels(const ClippedPolylines& lines, const Move& move, platform::Point centre);
    void shiftRun(std::span<const platform::Point> points, const Move& move);
    void turnRun(std::span<const platform::Point> points, const Move& move,
                 platform::Point centre);
    void paint(platform::DrawingSurface& surface, bool main, const ViewColours& colours);

    std::array<Placed, kLayers> placed_;
    // The layer being drawn, in pixels.
    std::vector<ClippedPolylines::Run> runs_;
    std::vector<platform::Point> pixels_;
    int placedLastFrame_ = 0;
};

}  // namespace wendra
