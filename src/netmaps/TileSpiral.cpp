#include "netmaps/TileSpiral.h"

#include <algorithm>
#include <cstdlib>

namespace wendra::netmaps {
namespace {

constexpr int kQuarterShift = 2;  // four quarter tiles along a tile's side

bool insideWorld(int qx, int qy, int level) {
    const int quarters = tilesPerAxis(level) << kQuarterShift;
    return qx >= 0 && qy >= 0 && qx < quarters && qy < quarters;
}

bool sameSpiral(const SpiralView& a, const SpiralView& b) {
    return a.source == b.source && a.centre.qx == b.centre.qx && a.centre.qy == b.centre.qy &&
           a.level == b.level && a.extentX == b.extentX && a.extentY == b.extentY;
}

}  // namespace

SpiralView spiralView(double latitude, double longitude, double scale, int width, int height,
                      bool zoomFollows, int source, int maxLevel) {
    SpiralView view;
    view.level = viewTileLevel(scale, latitude, maxLevel);
    view.centre = quarterTilePosition(latitude, longitude, view.level);
    view.extentX = std::max(width, 0) / kPixelsPerQuarterTile + 1;
    view.extentY = std::max(height, 0) / kPixelsPerQuarterTile + 1;
    view.zoomFollows = zoomFollows;
    view.source = source;
    return view;
}

bool TileSpiral::follow(const SpiralView& view) {
    const bool startsFollowing = view.zoomFollows && !view_.zoomFollows;
    if (hasView_ && sameSpiral(view, view_) && !startsFollowing) {
        view_.zoomFollows = view.zoomFollows;
        return false;
    }
    view_ = view;
    hasView_ = true;
    maxLevel_ = kMaxTileLevel;
    restart();
    return true;
}

void TileSpiral::restart() {
    step_ = Stage::Centre;
    ring_ = 1;
    dx_ = -1;
    dy_ = -1;
    direction_ = 0;
    probeLevel_ = 0;
}

std::optional<TileSpiral::Candidate> TileSpiral::next() {
    const auto& q = view_.centre;
    while (step_ != Stage::Done) {
        switch (step_) {
            case Stage::Centre:
                step_ = Stage::Finer;
                if (insideWorld(q.qx, q.qy, view_.level))
                    return Candidate{{q.qx >> kQuarterShift, q.qy >> kQuarterShift, view_.level},
                                     Step::Centre};
                break;
            case Stage::Finer:
                step_ = Stage::Ring;
                // One level finer the centre's quarter position halves into its tile.
                if (view_.zoomFollows && view_.level < maxLevel_ && view_.level < kMaxTileLevel)
                    return Candidate{{q.qx >> 1, q.qy >> 1, view_.level + 1}, Step::Finer};
                break;
            case Stage::Ring: {
                const auto tile = ringTile();
                if (!advanceRing()) step_ = Stage::Done;
                if (tile) return Candidate{*tile, Step::Ring};
                break;
            }
            case Stage::Done:
                break;
        }
    }
    return std::nullopt;
}

std::optional<TileAddress> TileSpiral::ringTile() const {
    if (std::abs(dx_) > view_.extentX || std::abs(dy_) > view_.extentY) return std::nullopt;
    const int qx = view_.centre.qx + dx_;
    const int qy = view_.centre.qy + dy_;
    if (!insideWorld(qx, qy, view_.level)) return std::nullopt;
    return TileAddress{qx >> kQuarterShift, qy >> kQuarterShift, view_.level};
}

// Moves to the next offset: east along the ring's south side, north along its east
// side, west along the north side, south along the west side; false after the ring
// that reaches the larger extent.
bool TileSpiral::advanceRing() {
    const int k = ring_;
    switch (direction_) {
        case 0:
            if (++dx_ == k) direction_ = 1;
            return true;
        case 1:
            if (++dy_ == k) direction_ = 2;
            return true;
        case 2:
            if (--dx_ == -k) direction_ = 3;
            return true;
        default:
            if (--dy_ != -k) return true;
    }
    if (++ring_ > std::max(view_.extentX, view_.extentY)) return false;
    dx_ = -ring_;
    dy_ = -ring_;
    direction_ = 0;
    return true;
}

void TileSpiral::startCoarserSearch() {
    probeLevel_ = view_.level - 1 >= kMinViewLevel ? view_.level - 1 : 0;
}

std::optional<TileSpiral::Candidate> TileSpiral::nextProbe() {
    if (probeLevel_ < kMinViewLevel) {
        probeLevel_ = 0;
        return std::nullopt;
    }
    const int shift = kQuarterShift + view_.level - probeLevel_;
    const Candidate probe{{view_.centre.qx >> shift, view_.centre.qy >> shift, probeLevel_},
                          Step::Probe};
    --probeLevel_;
    if (probeLevel_ < kMinViewLevel) probeLevel_ = -1;  // the last probe: ends at the next call
    return probe;
}

void TileSpiral::capAt(int level) {
    level = std::clamp(level, kMinViewLevel, view_.level);
    maxLevel_ = level;
    view_.centre.qx >>= view_.level - level;
    view_.centre.qy >>= view_.level - level;
    view_.level = level;
    restart();
}

}  // namespace wendra::netmaps
