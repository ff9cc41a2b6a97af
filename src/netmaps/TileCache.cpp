#include "netmaps/TileCache.h"

#include <algorithm>
#include <climits>
#include <filesystem>
#include <system_error>

#include "netmaps/TileMap.h"
#include "platform/Utf8.h"

namespace wendra::netmaps {

namespace {

// The user interface's hold on the map list for the time of a change.
class CataloguePause {
public:
    explicit CataloguePause(maps::MapCatalogue& catalogue) : catalogue_(catalogue) {
        catalogue_.pause(true);
    }
    ~CataloguePause() { catalogue_.pause(false); }
    CataloguePause(const CataloguePause&) = delete;
    CataloguePause& operator=(const CataloguePause&) = delete;

private:
    maps::MapCatalogue& catalogue_;
};

bool mapRemoved(const Tile& tile) {
    return tile.has(tileflag::kMapRemoved) || (tile.map && tile.map->has(maps::mapflag::kRemoved));
}

bool mapFailed(const Tile& tile) {
    return tile.map && tile.map->has(maps::mapflag::kLoadFailed);
}

// A cached tile without a map was never painted: the oldest of all.
int ageOf(const Tile& tile) {
    return tile.map ? tile.map->age() : INT_MAX;
}

}  // namespace

std::size_t TileCache::KeyHash::operator()(const Key& k) const {
    const std::uint64_t packed = std::uint64_t(std::uint32_t(k.address.x)) << 32 |
                                 std::uint64_t(std::uint32_t(k.address.y)) << 8 |
                                 std::uint64_t(std::uint32_t(k.address.level) & 0x1F) << 3;
    return std::hash<std::uint64_t>{}(packed) ^ std::hash<int>{}(k.source) * 31;
}

TileCache::TileCache(maps::MapCatalogue& catalogue, TileSettings& settings, SourceSettings& sources)
    : catalogue_(catalogue), settings_(settings), sources_(sources) {}

Tile* TileCache::find(int source, const TileAddress& address) {
    const auto it = index_.find(Key{source, address});
    return it == index_.end() ? nullptr : it->second;
}

Tile& TileCache::add(int source, const TileAddress& address) {
    if (Tile* known = find(source, address)) return *known;
    auto tile = std::make_unique<Tile>();
    tile->address = address;
    tile->source = source;
    tile->baseSource = baseSource(source);
    index_.emplace(Key{source, address}, tile.get());
    tiles_.push_back(std::move(tile));
    return *tiles_.back();
}

std::string TileCache::cachePath(const Tile& tile) const {
    return tileCachePath(settings_.cacheFolder, tile.source, tile.address);
}

bool TileCache::showTile(Tile& tile, int age, std::optional<bool> active) {
    CataloguePause pause(catalogue_);
    return createMap(tile, age, active);
}

bool TileCache::createMap(Tile& tile, int age, std::optional<bool> active) {
    if (tile.map) {
        catalogue_.removeMap(*tile.map);
        tile.map.reset();
        catalogue_.purgeRemovedTiles();
    }
    TileMap shown = tileMap(tile.address, tile.source, wendra::fromUtf8(cachePath(tile)));
    const bool on = active.value_or(tile.source == sources_.displayedSource);
    if (on) shown.definition.userFlags |= maps::kMapActive;
    maps::MapPtr map = catalogue_.newMap();
    map->setNightMode(catalogue_.shell().nightMode());
    if (!map->setDefinition(shown.definition)) {
        catalogue_.removeMap(*map);
        catalogue_.purgeRemovedTiles();
        return false;
    }
    map->setGroupName(std::move(shown.groupName));
    map->setAge(age);
    tile.map = std::move(map);
    tile.flags &= ~tileflag::kMapRemoved;
    return true;
}

void TileCache::forget(Tile& tile) {
    CataloguePause pause(catalogue_);
    forgetPaused(tile);
    catalogue_.purgeRemovedTiles();
}

void TileCache::forgetPaused(Tile& tile) {
    if (tile.map) catalogue_.removeMap(*tile.map);
    if (tile.inCache()) {
        std::error_code ignored;
        std::filesystem::remove(cachePath(tile), ignored);
    }
    index_.erase(Key{tile.source, tile.address});
    std::erase_if(tiles_, [&tile](const std::unique_ptr<Tile>& t) { return t.get() == &tile; });
}

void TileCache::forgetUncached() {
    std::erase_if(tiles_, [this](const std::unique_ptr<Tile>& t) {
        if (t->inCache()) return false;
        index_.erase(Key{t->source, t->address});
        return true;
    });
}

Tile* TileCache::trimCandidate(int cached) const {
    Tile* failed = nullptr;
    Tile* oldest = nullptr;
    for (const auto& t : tiles_) {
        if (!t->inCache()) continue;
        if (mapRemoved(*t)) return t.get();
        if (!failed && mapFailed(*t)) failed = t.get();
        if (!oldest || ageOf(*t) > ageOf(*oldest)) oldest = t.get();
    }
    if (cached <= settings_.maxTilesKept) return nullptr;
    return failed ? failed : oldest;
}

int TileCache::trim() {
    int cached = 0;
    for (const auto& t : tiles_) {
        if (!t->inCache()) continue;
        ++cached;
        if (t->map) t->map->growAge();
    }
    std::optional<CataloguePause> pause;
    int dropped = 0;
    while (Tile* victim = trimCandidate(cached)) {
        if (!pause) pause.emplace(catalogue_);
        forgetPaused(*victim);
        --cached;
        ++dropped;
    }
    if (dropped == 0) return 0;
    catalogue_.purgeRemovedTiles();
    markChanged();
    return dropped;
}

Tile* TileCache::expiredTile(double today) {
    const double limit = today - settings_.validity();
    Tile* best = nullptr;
    for (const auto& t : tiles_) {
        if (!t->inCache() || !t->map || mapFailed(*t) || mapRemoved(*t) || t->stamp >= limit)
            continue;
        if (!best || t->map->age() < best->map->age()) best = t.get();
    }
    return best;
}

void TileCache::deleteCache(const std::optional<std::string>& newFolder) {
    {
        CataloguePause pause(catalogue_);
        catalogue_.removeInternetMaps();
        catalogue_.purgeRemovedTiles();
        tiles_.clear();
        index_.clear();
    }
    // Only the sources' own folders: the root may be a folder the user keeps other
    // things in, and an unset root must not turn into the working folder.
    if (!settings_.cacheFolder.empty()) {
        const std::filesystem::path root(settings_.cacheFolder);
        for (int s = 0; s < kTileSourceCount; ++s) {
            std::error_code ignored;
            std::filesystem::remove_all(root / tileSourceName(s), ignored);
        }
    }
    if (newFolder) settings_.cacheFolder = *newFolder;
    forgetSignatures();
    updateCounters();
    markChanged();
}

void TileCache::forgetSignatures() {
    signatures_.fill(TileSignature{});
}

void TileCache::updateCounters() {
    int count = 0;
    std::uint64_t bytes = 0;
    for (const auto& t : tiles_) {
        if (!t->inCache()) continue;
        ++count;
        bytes += static_cast<std::uint64_t>(std::max<std::int64_t>(t->fileSize, 0));
    }
    cachedTiles_.store(count);
    cachedBytes_.store(bytes);
}

}  // namespace wendra::netmaps
