#pragma once
// Every calibrated map of the program, and the choice of which to hold in memory, which
// to load next and in which order to paint them. The window thread edits the list only
// while paused; the manager thread ranks; the paint thread builds its display list.
// Entries are shared so that a purge never frees a map another thread still holds.

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <vector>

#include "maps/MapEntry.h"
#include "maps/MapGroups.h"
#include "maps/MapLoadShared.h"
#include "platform/Sync.h"

namespace wendra::maps {

inline constexpr int kBaseLoadedMaps = 16;
inline constexpr std::uint64_t kMiB = 1024 * 1024;
// Without a budget, what free memory must keep beyond a map image. Linux counts the
// page cache as available, so the margin is larger than a handheld's 2 MiB.
inline constexpr std::int64_t kFreeMemoryMargin = 256 * kMiB;

// A count of maps and the bytes they take, as the statistics rows show them.
struct MapMemoryRow {
    int maps = 0;
    std::uint64_t bytes = 0;
};

// "%d=%s": the count, then the bytes as the statistics show a size.
std::u16string memoryRowText(const MapMemoryRow& row);

// Entries must not outlive their catalogue: they share its load state.
using MapPtr = std::shared_ptr<MapEntry>;

class MapCatalogue {
public:
    explicit MapCatalogue(MapShell& shell);
    ~MapCatalogue();
    MapCatalogue(const MapCatalogue&) = delete;
    MapCatalogue& operator=(const MapCatalogue&) = delete;

    MapShell& shell() { return shared_.shell; }
    MapLoadShared& shared() { return shared_; }

    // The list, in catalogue order (creation order, the maps file's order).
    MapPtr newMap();
    std::vector<MapPtr> maps() const;
    std::size_t size() const;
    MapPtr at(std::size_t index) const;
    void removeMap(const MapEntry& map);
    void removeMapAt(std::size_t index);
    void removeGroup(int group);
    void removeInternetMaps();
    // Forgets removed maps, except internet tiles and maps whose load still runs.
    void purgeRemoved(bool internetTilesToo = true);
    // Forgets removed internet tiles whose load has ended (the tile service's trim).
    void purgeRemovedTiles();
    // One of the first `count` maps other than `except` has the path (case counts).
    bool isDuplicate(const std::u16string& imagePath, std::size_t count,
                     const MapEntry* except = nullptr) const;

    // Memory: a budget in MiB (the map memory setting; 0 watches free memory).
    void setBudgetMiB(std::uint32_t mib) { shared_.budgetMiB.store(mib); }
    std::uint32_t budgetMiB() const { return shared_.budgetMiB.load(); }
    void setFreeMemorySource(std::function<std::int64_t()> freeBytes, std::int64_t margin);
    bool memorySufficient() const;
    bool roomFor(std::uint64_t need) const;

    // The passes of the manager thread; each does nothing while paused.
    void rank(const RankingView& view);   // ranking and eviction
    void admit(const RankingView& view);  // ranking, eviction and at most one load
    std::vector<MapPtr> candidates() const;
    int limitOfLoadedMaps() const { return limit_.load(); }

    // Paint thread: the loaded maps best scale first, then the frame over the cells.
    void buildDisplayList(float viewScale, double viewLatitude);
    void paintAll(std::span<const MapCell> cells, platform::PixelBuffer& view,
                  platform::ColorRef background);
    const std::vector<MapPtr>& displayList() const { return display_; }
    // The groups (source names) of the internet tiles that the last paintAll drew,
    // each once, in display order: their servers' attributions go with the frame.
    std::vector<std::u16string> paintedInternetGroups() const;

    // The largest widthScale of the usable maps on the position; -1.0 when none.
    double bestMapScale(double latitude, double longitude) const;
    void setNightMode(NightMode mode);

    // Groups (window thread).
    void regroup();
    const std::vector<MapGroup>& groups() const { return groups_; }
    int groupSelectionState();
    void selectGroup(int group);
    void toggleGroup(int group);

    // The user interface's hold on the list (".BmpPause.1" and the stage waits).
    void pause(bool on);
    bool paused() const { return paused_.load(); }
    void setListDialogOpen(bool open);
    void markChanged() { changed_.store(true); }
    bool takeChanged() { return changed_.exchange(false); }

    MapMemoryRow allocatedRow() const;
    MapMemoryRow definedRow() const;

private:
    static constexpr std::uint32_t kSortLock = 1u << 1;
    enum class Stage : int { Rank = 0, Evicted = 1, Trim = 2 };

    bool beginStage();
    void endStage() { processing_.store(false); }
    void rankPass(const RankingView& view);
    void evictPass();
    void applyFailureBudget();
    bool admitOne();
    void trimToLimit();
    std::int64_t freeMemory() const;
    bool fitsWhenEmpty(std::uint64_t need) const;

    MapLoadShared shared_;
    mutable std::mutex listLock_;  // the structure of maps_ and candidates_
    std::vector<MapPtr> maps_;
    std::vector<MapPtr> candidates_;
    std::vector<MapPtr> display_;  // paint thread only
    std::vector<MapGroup> groups_;
    platform::LockWord bits_;  // the sort lock
    // The pause handshake: every access sequentially consistent.
    std::atomic<bool> paused_{false};
    std::atomic<bool> processing_{false};  // a ranking stage runs
    std::atomic<bool> evicting_{false};
    std::atomic<bool> listDialog_{false};  // removed maps are kept while it is open
    std::atomic<int> stage_{0};
    std::atomic<int> limit_{kBaseLoadedMaps};
    std::atomic<bool> changed_{false};
    std::function<std::int64_t()> freeBytes_;
    std::int64_t margin_ = kFreeMemoryMargin;
};

}  // namespace wendra::maps
