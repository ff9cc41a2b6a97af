#pragma once
// The maps under the track: once a frame the catalogue's display list is built for the
// view's scale and painted into the view's pixels over the cells of the view, after the
// pixels are cleared to the background marked "not yet painted". Today the whole view is
// one cell; a finer sample grid only changes the cells handed over.

#include <vector>

#include "maps/MapCatalogue.h"
#include "maps/MapCell.h"
#include "platform/PixelBuffer.h"
#include "view/NorthUpProjection.h"

namespace wendra {

// The cells that cover a view of this size: the screen corners with the positions the
// projection puts there, in the map's corner order.
std::vector<maps::MapCell> viewCells(const NorthUpProjection& projection, platform::Size size);

class MapBackdrop {
public:
    // Window (paint) thread only; `centreLatitude` in degrees.
    void paint(maps::MapCatalogue& catalogue, platform::PixelBuffer& pixels,
               const NorthUpProjection& projection, double centreLatitude,
               platform::ColorRef background);

private:
    std::vector<maps::MapCell> cells_;
};

}  // namespace wendra
