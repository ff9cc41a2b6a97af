#pragma once
// One map of the catalogue with the life of its image: the calibration (geometry
// untouched here), the state flags every thread reads, the bitmap a load thread fills
// and the fields the ranking keeps. A bitmap is freed only while it is not painted and
// no load writes it; a load that outlives its unload frees it itself when it ends.

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

#include "maps/CalibratedMap.h"
#include "maps/MapCell.h"
#include "maps/MapImage.h"
#include "maps/MapImageLoad.h"
#include "maps/MapLoadShared.h"
#include "platform/PixelBuffer.h"

namespace wendra::maps {

namespace mapflag {
inline constexpr std::uint32_t kUnloadRequested = 0x1;
inline constexpr std::uint32_t kLoading = 0x2;
inline constexpr std::uint32_t kWaitingToLoad = 0x4;
inline constexpr std::uint32_t kNotEnoughMemory = 0x8;
inline constexpr std::uint32_t kLoadThreadStarted = 0x10;
inline constexpr std::uint32_t kErrorHandled = 0x20;
inline constexpr std::uint32_t kLoaded = 0x40;
inline constexpr std::uint32_t kLoadFailed = 0x80;
inline constexpr std::uint32_t kBeingPainted = 0x1000;
inline constexpr std::uint32_t kRemoved = 0x2000;
// The unload stopped waiting for the load; the load frees the bitmap when it ends.
inline constexpr std::uint32_t kLoadAbandoned = 0x4000;
inline constexpr std::uint32_t kPaintedLastFrame = 0x10000;
}  // namespace mapflag

enum class MapStatus : int {
    ActiveNotLoaded = 0,
    ActiveLoaded = 1,
    Inactive = 2,
    Loading = 3,
    WaitingToLoad = 4,
    NotEnoughMemory = 5,
    Removed = 10,
};

// Results of painting one map into one cell.
enum class PaintResult : int { Done = 2, NotLoaded = 3, Unloading = 4 };

inline constexpr double kNoEvaluation = 999999.0;

// What the ranking keeps of a map between passes (manager thread only).
struct MapSelection {
    float rankMismatch = 0;
    float score = 0;
    double distance = 0;  // half-turns
    bool contains = false;
    double lastLatitude = kNoEvaluation;
    double lastLongitude = kNoEvaluation;
};

class MapEntry {
public:
    explicit MapEntry(MapLoadShared& shared) : shared_(shared) {}
    ~MapEntry();
    MapEntry(const MapEntry&) = delete;
    MapEntry& operator=(const MapEntry&) = delete;

    // Unloads, then takes the definition; without a stored size the image header is
    // read at once. `reportEachError` shows open failures instead of the removal
    // question. False when the map was removed or the corners are unusable.
    bool setDefinition(const MapDefinition& definition, bool reportEachError = false);
    // The definition as saved: the active flag and the memory in use included.
    MapDefinition definition() const;
    // Runs `f(const CalibratedMap&)` while no definition or size change can happen.
    template <typename F>
    auto withMap(F&& f) const {
        std::lock_guard<std::mutex> hold(mapLock_);
        return f(map_);
    }
    std::u16string title() const;
    std::u16string groupName() const;
    // See CalibratedMap::setGroupName.
    void setGroupName(const std::u16string& name);

    bool active() const { return active_.load(std::memory_order_acquire); }
    void setActive(bool active);
    bool internetTile() const { return internet_.load(std::memory_order_acquire); }
    // Status 10 from now on; the next ranking pass may purge the entry.
    void markRemoved();

    std::uint32_t flags() const { return flags_.load(); }
    bool has(std::uint32_t bits) const { return (flags_.load() & bits) != 0; }
    MapStatus status() const;
    bool holdsImage() const { return reserved_.load() != 0; }
    // Bytes the image needs loaded; 0 while its size is unknown.
    std::uint64_t memoryNeed() const;

    // Starts the load thread and waits until it runs (".Loading.1").
    void startLoad();
    // The load procedure on the calling thread (the load thread's body).
    void loadNow();
    // Stops a running load and frees the bitmap (see the header comment).
    void unload();
    // Admission found no room: marked until the next pass looks again.
    void markNoRoom() { set(mapflag::kNotEnoughMemory); }
    void clearNoRoom() { clear(mapflag::kNotEnoughMemory); }
    // The image can never fit: a failed load with its message, without trying.
    void failForMemory();
    // Unloads when the mode differs, so the next load uses the new colours.
    void setNightMode(NightMode mode);
    NightMode nightMode() const { return static_cast<NightMode>(night_.load()); }

    // `fresh` as paintMapCell takes it.
    PaintResult paint(const MapCell& cell, platform::PixelBuffer& view, std::int64_t& unpainted,
                      std::optional<platform::Pixel16> fresh = std::nullopt);
    // The age counter of an internet tile: painting sets it back to 1, each run of the
    // tile service adds one, so the least recently painted tile has the largest.
    int age() const { return age_.load(std::memory_order_relaxed); }
    void setAge(int age) { age_.store(age, std::memory_order_relaxed); }
    int growAge() { return age_.fetch_add(1, std::memory_order_relaxed) + 1; }
    bool takePaintedMark() {
        return (flags_.fetch_and(~mapflag::kPaintedLastFrame) & mapflag::kPaintedLastFrame) != 0;
    }

    MapSelection selection;   // manager thread
    float paintMismatch = 0;  // paint thread
    int groupIndex = -1;      // window thread

private:
    void set(std::uint32_t bits) { flags_.fetch_or(bits); }
    void clear(std::uint32_t bits) { flags_.fetch_and(~bits); }
    void runThread();
    LoadResult fullLoad(const std::u16string& path);
    bool adoptShape(const ImageShape& shape);
    void reportFailure(LoadResult result, const std::u16string& path);
    void askRemoval();
    bool waitLoadingClear(std::chrono::milliseconds limit) const;
    void releaseImage();
    void resetAfterUnload();
    friend class EntrySink;

    MapLoadShared& shared_;
    mutable std::mutex mapLock_;  // map_ changes and cross-thread reads of it
    CalibratedMap map_;
    std::atomic<std::uint32_t> flags_{0};
    std::atomic<bool> cancel_{false};  // mirrors kUnloadRequested for the decoder
    std::atomic<bool> active_{false};
    std::atomic<bool> internet_{false};
    std::atomic<bool> reportEachError_{false};
    std::atomic<int> night_{0};
    std::atomic<int> age_{1};
    std::atomic<std::uint64_t> reserved_{0};  // the need counted in the shared total
    std::atomic<std::int32_t> memoryInUse_{0};
    std::mutex endLock_;  // the unload's give-up against the load's end
    std::unique_ptr<MapImage> image_;
    std::thread thread_;
};

}  // namespace wendra::maps
