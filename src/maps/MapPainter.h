#pragma once
// Paints one loaded map bitmap into one cell of the view buffer: every pixel of the
// cell that still carries the unpainted mark and falls on the image gets the map's
// nearest pixel. Returns true when it changed `unpainted` (decreased per pixel).

#include <cstdint>

#include "maps/CalibratedMap.h"
#include "maps/MapCell.h"
#include "maps/MapImage.h"
#include "platform/PixelBuffer.h"

namespace wendra::maps {

bool paintMapCell(const CalibratedMap& map, const MapImage& image, const MapCell& cell,
                  platform::PixelBuffer& view, std::int64_t& unpainted);

}  // namespace wendra::maps
