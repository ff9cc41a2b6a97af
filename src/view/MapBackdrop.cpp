#include "view/MapBackdrop.h"

namespace wendra {

namespace {

constexpr double kDegreesPerUnit = 180.0;

maps::CellCorner cornerAt(const NorthUpProjection& projection, int x, int y) {
    const ViewCentre at = projection.unproject(x, y);
    return maps::CellCorner{at.lat * kDegreesPerUnit, at.lon * kDegreesPerUnit, x, y};
}

}  // namespace

std::vector<maps::MapCell> viewCells(const NorthUpProjection& projection, platform::Size size) {
    // The cell ends one pixel past the last row and column: the painter covers
    // [corner 0, corner 3).
    return {maps::MapCell{cornerAt(projection, 0, 0), cornerAt(projection, size.width, 0),
                          cornerAt(projection, 0, size.height),
                          cornerAt(projection, size.width, size.height)}};
}

void MapBackdrop::paint(maps::MapCatalogue& catalogue, platform::PixelBuffer& pixels,
                        const NorthUpProjection& projection, double centreLatitude,
                        platform::ColorRef background) {
    catalogue.buildDisplayList(static_cast<float>(projection.scale()), centreLatitude);
    cells_ = viewCells(projection, pixels.size());
    catalogue.paintAll(cells_, pixels, background);
}

}  // namespace wendra
