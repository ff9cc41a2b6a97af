#pragma once
// The sample grid the maps are drawn through: P cells per side, fewer the closer the
// view is zoomed in, each corner a screen pixel and the position under it. Cells all
// of whose corners fall off the earth are left out; the others are handed on whole.

#include <vector>

#include "maps/MapCell.h"
#include "platform/Geometry.h"

namespace wendra {

class ViewGeometry;

class MapSampleGrid {
public:
    // int(16 / N), N = 1.5 (ln scale - 5.5) held to at least 0.5; at least 1.
    static int cellsPerSide(float scale);

    // The cells over a surface of this size, row by row from the top left.
    const std::vector<maps::MapCell>& build(const ViewGeometry& view, platform::Size size);
    const std::vector<maps::MapCell>& cells() const { return cells_; }

private:
    struct Sample {
        maps::CellCorner corner;
        bool onEarth = false;
    };

    std::vector<Sample> samples_;
    std::vector<maps::MapCell> cells_;
};

}  // namespace wendra
