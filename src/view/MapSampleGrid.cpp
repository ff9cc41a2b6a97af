#include "view/MapSampleGrid.h"

#include <algorithm>
#include <cmath>

#include "view/ViewGeometry.h"

namespace wendra {

namespace {

constexpr double kDegreesPerUnit = 180.0;
constexpr double kCellsAcross = 16.0;
constexpr double kZoomFactor = 1.5;
constexpr double kZoomOffset = 5.5;
constexpr double kLeastN = 0.5;

}  // namespace

int MapSampleGrid::cellsPerSide(float scale) {
    if (!(scale > 0.0f) || !std::isfinite(scale)) return 1;
    const double n = std::max(kLeastN, kZoomFactor * (std::log(double{scale}) - kZoomOffset));
    return std::max(1, static_cast<int>(kCellsAcross / n));
}

const std::vector<maps::MapCell>& MapSampleGrid::build(const ViewGeometry& view,
                                                       platform::Size size) {
    const int p = cellsPerSide(view.scale);
    const int side = p + 1;
    samples_.resize(static_cast<std::size_t>(side * side));
    for (int row = 0; row < side; ++row) {
        for (int column = 0; column < side; ++column) {
            Sample& s = samples_[static_cast<std::size_t>(row * side + column)];
            s.corner.x = size.width * column / p;
            s.corner.y = size.height * row / p;
            const LatLon at = view.fromScreen(s.corner.x, s.corner.y, &s.onEarth);
            s.corner.latitude = at.lat * kDegreesPerUnit;
            s.corner.longitude = at.lon * kDegreesPerUnit;
        }
    }
    cells_.clear();
    for (int row = 0; row < p; ++row) {
        for (int column = 0; column < p; ++column) {
            const auto at = [&](int r, int c) -> const Sample& {
                return samples_[static_cast<std::size_t>(r * side + c)];
            };
            const Sample* corners[4] = {&at(row, column), &at(row, column + 1),
                                        &at(row + 1, column), &at(row + 1, column + 1)};
            if (std::none_of(std::begin(corners), std::end(corners),
                             [](const Sample* s) { return s->onEarth; }))
                continue;
            cells_.push_back(maps::MapCell{corners[0]->corner, corners[1]->corner,
                                           corners[2]->corner, corners[3]->corner});
        }
    }
    return cells_;
}

}  // namespace wendra
