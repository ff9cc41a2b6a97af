// The catalogue's side of the view: the display list the paint thread builds once per
// frame, the frame painted best scale first into unpainted pixels only, and the scale
// that shows a map pixel for pixel.

#include <algorithm>
#include <cmath>
#include <numbers>

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

void MapCatalogue::paintAll(std::span<const MapCell> cells, platform::PixelBuffer& view,
                            platform::ColorRef background) {
    view.fill(platform::toUnpaintedPixel16(background));
    for (const MapCell& cell : cells) {
        std::int64_t unpainted = std::max<std::int64_t>(
            0, static_cast<std::int64_t>(cell[3].x - cell[0].x) * (cell[3].y - cell[0].y));
        for (const MapPtr& e : display_) {
            if (unpainted <= 0) break;
            e->paint(cell, view, unpainted);
        }
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
