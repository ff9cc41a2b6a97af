#pragma once
// Paints one loaded map into one cell of the view: a nearest-neighbour copy, in fixed
// point, into the view pixels that no better map has painted yet. It never reads or
// writes outside the bitmap or the view, whatever the corners; it does not touch the
// map's load or paint flags, which belong to the catalogue.

#include <cstdint>
#include <optional>

#include "maps/CalibratedMap.h"
#include "maps/MapCell.h"
#include "maps/MapImage.h"
#include "platform/PixelBuffer.h"

namespace wendra::maps {

// Paints `image` (the loaded bitmap of `map`) into the pixels of `view` inside the
// cell's screen rectangle [corner 0, corner 3) that still carry kUnpaintedBit, and
// takes one off `unpainted` per pixel painted. True when it painted any pixel.
//
// With `fresh`, the cell's pixels hold nothing of this frame yet, and the painter
// writes them without reading them back: the map where it shows, `*fresh` (an
// unpainted background) elsewhere in the cell. It writes either all of them or,
// when the map cannot show in the cell at all, none.
bool paintMapCell(const CalibratedMap& map, const MapImage& image, const MapCell& cell,
                  platform::PixelBuffer& view, std::int64_t& unpainted,
                  std::optional<platform::Pixel16> fresh = std::nullopt);

}  // namespace wendra::maps
