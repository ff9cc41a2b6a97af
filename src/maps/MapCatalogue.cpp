#include "maps/MapCatalogue.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <numbers>

#include "maps/MapRanking.h"
#include "platform/MemoryStatus.h"

namespace wendra::maps {

namespace {

constexpr double kDegreesToRadians = std::numbers::pi / 180.0;
constexpr double kDiagonalBand = 1.41;
constexpr std::int64_t kFailureSlack = 2 * static_cast<std::int64_t>(kMiB);

bool loadedOrLoading(const MapEntry& e) {
    if (e.has(mapflag::kLoadAbandoned)) return false;
    const MapStatus s = e.status();
    return s == MapStatus::ActiveLoaded || s == MapStatus::Loading;
}

}  // namespace

MapCatalogue::MapCatalogue(MapShell& shell) : shared_(shell) {
    shared_.hasRoom = [this](std::uint64_t need) { return roomFor(need); };
}

MapCatalogue::~MapCatalogue() {
    std::vector<MapPtr> all;
    {
        std::lock_guard<std::mutex> hold(listLock_);
        all.swap(maps_);
        candidates_.clear();
    }
    display_.clear();
    for (const MapPtr& map : all) map->unload();
}

MapPtr MapCatalogue::newMap() {
    auto map = std::make_shared<MapEntry>(shared_);
    std::lock_guard<std::mutex> hold(listLock_);
    maps_.push_back(map);
    return map;
}

std::vector<MapPtr> MapCatalogue::maps() const {
    std::lock_guard<std::mutex> hold(listLock_);
    return maps_;
}

std::size_t MapCatalogue::size() const {
    std::lock_guard<std::mutex> hold(listLock_);
    return maps_.size();
}

MapPtr MapCatalogue::at(std::size_t index) const {
    std::lock_guard<std::mutex> hold(listLock_);
    return index < maps_.size() ? maps_[index] : nullptr;
}

void MapCatalogue::removeMap(const MapEntry& map) {
    for (const MapPtr& e : maps())
        if (e.get() == &map) {
            e->unload();
            e->markRemoved();
        }
}

void MapCatalogue::removeMapAt(std::size_t index) {
    if (const MapPtr e = at(index)) removeMap(*e);
}

void MapCatalogue::removeGroup(int group) {
    for (const MapPtr& e : maps())
        if (e->groupIndex == group) removeMap(*e);
}

void MapCatalogue::removeInternetMaps() {
    for (const MapPtr& e : maps())
        if (e->internetTile()) removeMap(*e);
}

void MapCatalogue::purgeRemoved(bool internetTilesToo) {
    std::lock_guard<std::mutex> hold(listLock_);
    std::erase_if(maps_, [internetTilesToo](const MapPtr& e) {
        // A load that outlived its unload still writes the entry.
        return e->has(mapflag::kRemoved) && !e->has(mapflag::kLoading | mapflag::kLoadAbandoned) &&
               (internetTilesToo || !e->internetTile());
    });
}

void MapCatalogue::purgeRemovedTiles() {
    std::lock_guard<std::mutex> hold(listLock_);
    std::erase_if(maps_, [](const MapPtr& e) {
        return e->internetTile() && e->has(mapflag::kRemoved) &&
               !e->has(mapflag::kLoading | mapflag::kLoadAbandoned);
    });
}

bool MapCatalogue::isDuplicate(const std::u16string& imagePath, std::size_t count,
                               const MapEntry* except) const {
    const std::vector<MapPtr> all = maps();
    count = std::min(count, all.size());
    for (std::size_t i = 0; i < count; ++i)
        if (all[i].get() != except && all[i]->definition().imagePath == imagePath) return true;
    return false;
}

void MapCatalogue::setFreeMemorySource(std::function<std::int64_t()> freeBytes,
                                       std::int64_t margin) {
    freeBytes_ = std::move(freeBytes);
    margin_ = margin;
}

std::int64_t MapCatalogue::freeMemory() const {
    return freeBytes_ ? freeBytes_() : platform::availableMemoryBytes();
}

// An unknown free memory (no MemAvailable) leaves the limit of loaded maps as the bound.
bool MapCatalogue::memorySufficient() const {
    const std::uint64_t budget = budgetMiB() * kMiB;
    if (budget) return shared_.allocatedBytes.load() < budget;
    const std::int64_t free = freeMemory();
    return free < 0 || free > margin_;
}

bool MapCatalogue::roomFor(std::uint64_t need) const {
    const std::uint64_t budget = budgetMiB() * kMiB;
    if (budget) return shared_.allocatedBytes.load() + need < budget;
    const std::int64_t free = freeMemory();
    return free < 0 || static_cast<double>(need) + margin_ < static_cast<double>(free);
}

bool MapCatalogue::fitsWhenEmpty(std::uint64_t need) const {
    const std::uint64_t budget = budgetMiB() * kMiB;
    if (budget) return need < budget;
    const std::int64_t free = freeMemory();
    const double freed = static_cast<double>(shared_.allocatedBytes.load());
    return free < 0 || static_cast<double>(need) + margin_ < free + freed;
}

// Set before the paused bit is read, so that a pause either sees the stage or stops it.
bool MapCatalogue::beginStage() {
    stage_.store(static_cast<int>(Stage::Rank));
    // Sequentially consistent, like the pause: one of the two sees the other's flag.
    processing_.store(true);
    if (!paused()) return true;
    endStage();
    return false;
}

void MapCatalogue::rank(const RankingView& view) {
    if (!beginStage()) return;
    rankPass(view);
    evictPass();
    endStage();
}

void MapCatalogue::rankPass(const RankingView& view) {
    std::lock_guard<std::mutex> hold(listLock_);
    if (!listDialog_.load()) {
        std::erase_if(maps_, [](const MapPtr& e) {
            return e->has(mapflag::kRemoved) && !e->internetTile() &&
                   !e->has(mapflag::kLoading | mapflag::kLoadAbandoned);
        });
    }
    const float c = static_cast<float>(std::cos(view.latitude * kDegreesToRadians));
    const float m = view.scale * c;
    ScoreBase base;
    base.outsideFactor = (view.scale / view.diagonal) / kDiagonalBand;
    candidates_.clear();
    for (const MapPtr& e : maps_) {
        if (!e->active() || e->has(mapflag::kLoadFailed)) continue;
        MapSelection& s = e->selection;
        e->withMap([&](const CalibratedMap& map) {
            evaluateDistance(map, s, view.latitude, view.longitude, c);
            s.rankMismatch = scaleMismatch(map.scales().lonScale, m);
        });
        double& widest = s.contains ? base.maxIn : base.maxOut;
        widest = std::max(widest, s.distance);
        base.minMismatch = std::min(base.minMismatch, s.rankMismatch);
        candidates_.push_back(e);
    }
    for (const MapPtr& e : candidates_) e->selection.score = rankScore(e->selection, base);
    bits_.lock(kSortLock, u".Sort");
    shellSort(candidates_, [](const MapPtr& e) { return e->selection.score; });
    bits_.unlock(kSortLock);
}

void MapCatalogue::applyFailureBudget() {
    const std::int64_t basis = shared_.failureBasis.exchange(kNoFailureBasis);
    if (basis == kNoFailureBasis) return;
    const std::int64_t mib = (basis - kFailureSlack) / static_cast<std::int64_t>(kMiB);
    setBudgetMiB(static_cast<std::uint32_t>(std::max<std::int64_t>(mib, 1)));
}

void MapCatalogue::evictPass() {
    applyFailureBudget();
    evicting_.store(true);
    while (!memorySufficient() && !paused()) {
        auto victim = std::find_if(candidates_.rbegin(), candidates_.rend(),
                                   [](const MapPtr& e) { return loadedOrLoading(*e); });
        if (victim == candidates_.rend()) break;
        (*victim)->unload();
    }
    evicting_.store(false);
}

void MapCatalogue::admit(const RankingView& view) {
    if (!beginStage()) return;
    rankPass(view);
    evictPass();
    stage_.store(static_cast<int>(Stage::Evicted));
    if (admitOne()) {
        stage_.store(static_cast<int>(Stage::Trim));
        trimToLimit();
    }
    endStage();
}

// False when the map to load found no room: the pass ends there.
bool MapCatalogue::admitOne() {
    const std::size_t walk = std::min<std::size_t>(candidates_.size(), limit_.load());
    std::size_t target = walk;
    for (std::size_t i = 0; i < walk; ++i) {
        const MapStatus s = candidates_[i]->status();
        if (s == MapStatus::Loading) return true;
        if (s == MapStatus::ActiveLoaded) continue;
        target = i;
        break;
    }
    if (target == walk) return true;
    for (std::size_t j = target + 1; j < candidates_.size(); ++j) {
        candidates_[j]->clearNoRoom();
        if (candidates_[j]->has(mapflag::kLoading)) candidates_[j]->unload();
    }
    MapEntry& map = *candidates_[target];
    const std::uint64_t need = map.memoryNeed();
    while (!roomFor(need)) {
        auto worst =
            std::find_if(candidates_.rbegin(), candidates_.rend() - target - 1,
                         [](const MapPtr& e) { return e->status() == MapStatus::ActiveLoaded; });
        if (worst == candidates_.rend() - target - 1) {
            if (fitsWhenEmpty(need))
                map.markNoRoom();
            else
                map.failForMemory();
            return false;
        }
        (*worst)->unload();
    }
    map.startLoad();
    return true;
}

void MapCatalogue::trimToLimit() {
    const int limit = limit_.load();
    int loaded = 0;
    for (const MapPtr& e : candidates_)
        if (e->status() == MapStatus::ActiveLoaded && ++loaded > limit) e->unload();
}

std::vector<MapPtr> MapCatalogue::candidates() const {
    std::lock_guard<std::mutex> hold(listLock_);
    return candidates_;
}

}  // namespace wendra::maps
