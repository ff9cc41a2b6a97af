#pragma once
// Chooses the track points a paint draws: per layer a chain of retained points (at
// most one per two pixels of path, drawHead/drawNext) and among them the visible
// ones near the view centre (visibleHead/visibleNext) with their rotated offsets.
// The caller holds the track lock; the chains are only valid until a point is deleted.

#include <cstdint>
#include <limits>
#include <span>
#include <vector>

namespace wendra {

class TrackLayer;
class TrackPoint;
class ViewGeometry;

class VisibleTrack {
public:
    static constexpr double kUnlimited = std::numeric_limits<double>::infinity();

    // A retained point with what culling and drawing read, so that they walk an array
    // in order and culling touches only the points it keeps.
    struct ChainPoint {
        double lat = 0.0;
        double lon = 0.0;
        double cosLat = 1.0;
        TrackPoint* point = nullptr;
        std::uint16_t colour = 0;
        bool segmentStart = false;
        bool segmentEnd = false;
    };

    // Where a decimation can go on from while only the end of its layer changes: the
    // walk as it stood after the third point from the end, which recording leaves as
    // it was, with the retained points up to it and the path since the last of them.
    struct Resume {
        TrackPoint* after = nullptr;  // none: the layer was too short
        std::size_t kept = 0;
        float path = 0.0f;
    };

    // Keeps the first and last points, both ends of every segment, and a point
    // wherever the path since the last kept one reaches two pixels. chain, when given,
    // receives the retained points in order, and resume where to go on from.
    static int decimate(TrackLayer& layer, float scale, std::vector<ChainPoint>* chain = nullptr,
                        Resume* resume = nullptr);
    // The same after only the end of the layer changed since the decimation that left
    // chain and resume (at this scale, with resume.after set): the chain and the
    // links are redone from there on only.
    static int decimateOn(TrackLayer& layer, float scale, std::vector<ChainPoint>& chain,
                          Resume& resume);

    // Half extent of the culling square: half the screen diagonal plus about 50 m.
    static double halfExtent(const ViewGeometry& view);

    // Links the retained points within halfExtent of the centre and gives them rotated
    // offsets and screen pixels. `first`: when none is visible, the first retained one
    // is taken anyway, so the main layer always has something to fit and draw.
    static int cull(TrackLayer& layer, const ViewGeometry& view, double halfExtent, bool first);
    // The same from the layer's chain as decimate gave it, while the layer is unchanged.
    static int cull(TrackLayer& layer, std::span<const ChainPoint> chain, const ViewGeometry& view,
                    double halfExtent, bool first);

private:
    struct Walk;
    static int walk(TrackLayer& layer, TrackPoint* from, Walk& walk);
};

}  // namespace wendra
