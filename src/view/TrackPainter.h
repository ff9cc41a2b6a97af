#pragma once
// Draws the five track layers (4 down to 0, so the main layer lies on top) as
// polylines broken at segment flags (unless far points are joined) and at colour
// changes, from the chains the view cycle retained. Keeps its placed lines between
// frames and places them again only when the view or a layer changed.

#include <array>
#include <cstdint>
#include <vector>

#include "platform/DrawingSurface.h"
#include "view/ClippedPolylines.h"
#include "view/ViewColours.h"

namespace wendra {

class Track;
class TrackLayer;
class TrackPoint;
class ViewGeometry;

class TrackPainter {
public:
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

    // A retained point as placing needs it; breaks: no line from the one before.
    struct Retained {
        double lat = 0.0;
        double lon = 0.0;
        double cosLat = 1.0;
        std::uint16_t colour = 0;
        bool breaks = false;
    };
    // A layer's retained chain, and what it was copied from.
    struct Chain {
        std::uint64_t revision = ~std::uint64_t{0};
        const TrackPoint* head = nullptr;
        float scale = 0.0f;
        bool joinFar = false;
        std::vector<Retained> points;
    };

    static void copyChain(Chain& chain, const TrackLayer& layer, float scale, bool joinFar);
    static void collectRetained(ClippedPolylines& lines, const Chain& chain,
                                const ViewGeometry& view);
    static void paint(platform::DrawingSurface& surface, const ClippedPolylines& lines, bool main,
                      const ViewColours& colours);

    std::array<Chain, kLayers> chains_;
    std::array<ClippedPolylines, kLayers> lines_;
    Placing placed_;
};

}  // namespace wendra
