#include "maps/MapPainter.h"

#include <algorithm>
#include <cmath>

namespace wendra::maps {

// A plain per-pixel painter: positions interpolated across the cell, one geoToPixel
// per pixel. Correct, not fast.
bool paintMapCell(const CalibratedMap& map, const MapImage& image, const MapCell& cell,
                  platform::PixelBuffer& view, std::int64_t& unpainted) {
    const CellCorner& a = cell[0];
    const CellCorner& d = cell[3];
    const int x0 = std::max(a.x, 0), x1 = std::min(d.x, view.width());
    const int y0 = std::max(a.y, 0), y1 = std::min(d.y, view.height());
    const double spanX = std::max(d.x - a.x, 1), spanY = std::max(d.y - a.y, 1);
    const std::int64_t before = unpainted;
    for (int y = y0; y < y1 && unpainted > 0; ++y) {
        const double latitude = a.latitude + (d.latitude - a.latitude) * (y - a.y) / spanY;
        platform::Pixel16* row = view.row(y);
        for (int x = x0; x < x1; ++x) {
            if (!(row[x] & platform::kUnpaintedBit)) continue;
            const double longitude = a.longitude + (d.longitude - a.longitude) * (x - a.x) / spanX;
            MapPixel pixel;
            if (!map.geoToPixel(latitude, longitude, pixel)) continue;
            const int px = static_cast<int>(std::floor(pixel.x));
            const int py = static_cast<int>(std::floor(pixel.y));
            if (px < 0 || py < 0 || px >= image.width() || py >= image.height()) continue;
            // geoToPixel counts y from the bottom row, the image accessor from the top.
            row[x] = image.pixelAt(px, image.height() - 1 - py);
            --unpainted;
        }
    }
    return unpainted != before;
}

}  // namespace wendra::maps
