#pragma once
// The order in which the tile service asks for the tiles of the view: the centre tile,
// the centre one level finer (while the zoom follows), then rings of quarter-tile
// offsets around the centre out to the screen's extents, nearest first. Also the
// search for a coarser level with a real tile at the centre, which caps the spiral's
// level. Plain state, one thread; addresses it yields are valid.

#include <optional>

#include "netmaps/TileAddress.h"
#include "netmaps/TileLevel.h"
#include "netmaps/TileSource.h"

namespace wendra::netmaps {

// One quarter tile per 64 screen pixels, plus one for the part cut at each edge.
inline constexpr int kPixelsPerQuarterTile = 64;

// What the spiral follows, worked out from the view for its level.
struct SpiralView {
    QuarterTile centre;  // at `level`
    int level = kMinViewLevel;
    int extentX = 1;  // quarter tiles each side of the centre that the screen shows
    int extentY = 1;
    bool zoomFollows = false;
    int source = kNoTileSource;
};

// The view's spiral input: level A below `maxLevel`, the centre in quarter tiles at
// A, and the extents from the screen size.
SpiralView spiralView(double latitude, double longitude, double scale, int width, int height,
                      bool zoomFollows, int source, int maxLevel);

class TileSpiral {
public:
    enum class Step { Centre, Finer, Ring, Probe };
    struct Candidate {
        TileAddress tile;
        Step step = Step::Centre;
    };

    // Takes the view in; the spiral restarts (first step, maximum level back to 21,
    // no search) when the source, centre, level or extents changed or the zoom
    // started to follow. True when it restarted.
    bool follow(const SpiralView& view);
    const SpiralView& view() const { return view_; }

    // The next tile the spiral asks for, or nothing once it is complete. Offsets
    // outside the world or the screen are passed over here; the caller passes over
    // the tiles it already holds by calling again.
    std::optional<Candidate> next();
    bool complete() const { return step_ == Stage::Done; }

    // The level the spiral is capped at (the coarser-level search lowers it).
    int maxLevel() const { return maxLevel_; }

    // After the centre tile turned out to be no tile: from now on each probe asks for
    // the centre one level coarser than the last, starting at A - 1, down to level 2
    // (at most A probes in all). Nothing happens below level 3.
    void startCoarserSearch();
    bool searching() const { return probeLevel_ != 0; }
    // The next probe, or nothing (the search ends) when the levels are used up.
    std::optional<Candidate> nextProbe();
    // The probe's level had a tile: it becomes the maximum level and the spiral
    // restarts there. The search ends.
    void capAt(int level);
    void endSearch() { probeLevel_ = 0; }

private:
    enum class Stage { Centre, Finer, Ring, Done };

    void restart();
    bool advanceRing();
    std::optional<TileAddress> ringTile() const;

    SpiralView view_;
    bool hasView_ = false;
    int maxLevel_ = kMaxTileLevel;
    Stage step_ = Stage::Centre;
    int ring_ = 0;
    int dx_ = 0;
    int dy_ = 0;
    int direction_ = 0;   // 0 east along the south side, 1 north, 2 west, 3 south
    int probeLevel_ = 0;  // the level probed next; 0: no search
};

}  // namespace wendra::netmaps
