// The catalogue's side of the view: the display list the paint thread builds once per
// frame, the frame painted best scale first into unpainted pixels only, and the scale
// that shows a map pixel for pixel.

#include <algorithm>
#include <cmath>
#include <numbers>
#include <optional>

#include "maps/MapCatalogue.h"
#include "maps/MapRanking.h"

namespace wendra::maps {

void MapCatalogue::buildDisplayList(float viewScale, double viewLatitude) {
    const float a =
        viewScale * static_cast<float>(std::cos(viewLatitude * std::numbers::pi / 180.0));
    int painted = 0;
    display_.clear();
    {
        std::lock_guard<std::mutex> hold(listLock_);
        for (const MapPtr& e : maps_) {
            if (e->takePaintedMark()) ++painted;
            if (!e->has(mapflag::kLoaded) || e->has(mapflag::kRemoved)) continue;
            e->paintMismatch = e->withMap(
                [a](const CalibratedMap& m) { return scaleMismatch(m.scales().lonScale, a); });
            display_.push_back(e);
        }
    }
    limit_.store(kBaseLoadedMaps + painted);
    bits_.lock(kSortLock, u".Sort");
    shellSort(display_, [](const MapPtr& e) { return e->paintMismatch; });
    bits_.unlock(kSortLock);
}

namespace {

// The cells cover the view exactly once, as the view's sample grid lays them: bands
// of cells from the top, each band's cells side by side from the left.
bool tilesView(std::span<const MapCell> cells, platform::Size size) {
    std::size_t k = 0;
    int bandTop = 0;
    while (k < cells.size()) {
        const int top = cells[k][0].y, bottom = cells[k][3].y;
        if ((k == 0 ? top > 0 : top != bandTop) || bottom <= top) return false;
        int right = cells[k][0].x;
        if (right > 0) return false;
        for (; k < cells.size() && cells[k][0].y == top; ++k) {
            const MapCell& cell = cells[k];
            if (cell[3].y != bottom || cell[0].x != right || cell[3].x <= right) return false;
            right = cell[3].x;
        }
        if (right < size.width) return false;
        bandTop = bottom;
        if (bandTop >= size.height) return k == cells.size();
    }
    return false;
}

}  // namespace

// The frame starts as the unpainted background. Where the cells tile the view, each
// cell's first map writes it whole, background around what it shows, instead of
// masking its pixels into a background filled beforehand: one pass over the view
// rather than three. A cell no map paints is filled at the end.
void MapCatalogue::paintAll(std::span<const MapCell> cells, platform::PixelBuffer& view,
                            platform::ColorRef background) {
    const platform::Pixel16 unpaintedBackground = platform::toUnpaintedPixel16(background);
    const bool tiled = !view.empty() && tilesView(cells, view.size());
    if (!tiled) view.fill(unpaintedBackground);
    for (const MapCell& cell : cells) {
        std::optional<platform::Pixel16> fresh;
        if (tiled) fresh = unpaintedBackground;
        std::int64_t unpainted = std::max<std::int64_t>(
            0, static_cast<std::int64_t>(cell[3].x - cell[0].x) * (cell[3].y - cell[0].y));
        for (const MapPtr& e : display_) {
            if (unpainted <= 0) break;
            const std::int64_t before = unpainted;
            e->paint(cell, view, unpainted, fresh);
            if (unpainted != before) fresh.reset();
        }
        if (fresh) view.fill({cell[0].x, cell[0].y, cell[3].x, cell[3].y}, *fresh);
    }
}

// The marks stay until the next display list takes them.
std::vector<std::u16string> MapCatalogue::paintedInternetGroups() const {
    std::vector<std::u16string> groups;
    for (const MapPtr& e : display_) {
        if (!e->internetTile() || !e->has(mapflag::kPaintedLastFrame)) continue;
        std::u16string name = e->groupName();
        if (std::find(groups.begin(), groups.end(), name) == groups.end())
            groups.push_back(std::move(name));
    }
    return groups;
}

double MapCatalogue::bestMapScale(double latitude, double longitude) const {
    double best = -1.0;
    for (const MapPtr& e : maps()) {
        if (!e->active() || e->has(mapflag::kLoadFailed)) continue;
        e->withMap([&](const CalibratedMap& m) {
            if (m.containsPosition(latitude, longitude))
                best = std::max(best, static_cast<double>(m.scales().widthScale));
        });
    }
    return best;
}

void MapCatalogue::setNightMode(NightMode mode) {
    for (const MapPtr& e : maps()) e->setNightMode(mode);
}

MapMemoryRow MapCatalogue::allocatedRow() const {
    MapMemoryRow row;
    for (const MapPtr& e : maps()) row.maps += e->holdsImage() ? 1 : 0;
    row.bytes = shared_.allocatedBytes.load();
    return row;
}

MapMemoryRow MapCatalogue::definedRow() const {
    MapMemoryRow row;
    for (const MapPtr& e : maps()) {
        if (e->has(mapflag::kRemoved)) continue;
        ++row.maps;
        row.bytes += e->memoryNeed();
    }
    return row;
}

}  // namespace wendra::maps
