#include "maps/MapEntry.h"

#include <chrono>
#include <thread>

#include "maps/MapPainter.h"
#include "platform/Sync.h"
#include "platform/Utf8.h"
#include "platform/WidePath.h"

namespace wendra::maps {

namespace {

using namespace std::chrono_literals;
constexpr auto kUnloadGrace = 500ms;
constexpr auto kUnloadLastChance = 5000ms;

}  // namespace

MapEntry::~MapEntry() {
    unload();
    // A load that outlived its unload is still waited for, never abandoned.
    if (thread_.joinable()) thread_.join();
}

bool MapEntry::setDefinition(const MapDefinition& definition, bool reportEachError) {
    if (has(mapflag::kRemoved)) return false;
    unload();
    MapDefinition sized = definition;
    ImageHeader header;
    const bool stored =
        definition.width != 0 && definition.height != 0 && definition.bytesPerPixel != 0;
    if (!stored) {
        header = readImageHeader(platform::pathFromWide(definition.imagePath));
        if (header.result == LoadResult::Loaded) {
            sized.width = header.shape.width;
            sized.height = header.shape.height;
            sized.bytesPerPixel = header.shape.bytesPerPixel();
        }
    }
    {
        std::lock_guard<std::mutex> hold(mapLock_);
        if (!map_.setDefinition(sized)) return false;
        selection.lastLatitude = selection.lastLongitude = kNoEvaluation;
    }
    clear(mapflag::kLoadFailed | mapflag::kErrorHandled | mapflag::kNotEnoughMemory |
          mapflag::kWaitingToLoad);
    active_.store((definition.userFlags & kMapActive) != 0);
    internet_.store((definition.userFlags & kMapInternetTile) != 0);
    reportEachError_.store(reportEachError);
    memoryInUse_.store(stored ? definition.memoryInUse : 0);
    if (!stored && header.result != LoadResult::Loaded && active())
        reportFailure(header.result, definition.imagePath);
    shared_.shell.requestPass(ManagerLevel::RankAndLoad);
    return true;
}

MapDefinition MapEntry::definition() const {
    MapDefinition d = withMap([](const CalibratedMap& m) { return m.definition(); });
    d.userFlags = (d.userFlags & ~kMapActive) | (active() ? kMapActive : 0u);
    d.memoryInUse = memoryInUse_.load();
    return d;
}

std::u16string MapEntry::title() const {
    return withMap([](const CalibratedMap& m) { return m.definition().title; });
}

std::u16string MapEntry::groupName() const {
    return withMap([](const CalibratedMap& m) { return m.groupName(); });
}

void MapEntry::setGroupName(const std::u16string& name) {
    std::lock_guard<std::mutex> hold(mapLock_);
    map_.setGroupName(name);
}

void MapEntry::setActive(bool active) {
    if (active_.exchange(active) == active) return;
    if (!active) unload();
}

void MapEntry::markRemoved() {
    active_.store(false);
    set(mapflag::kRemoved);
    std::lock_guard<std::mutex> hold(mapLock_);
    map_.markRemoved();
}

MapStatus MapEntry::status() const {
    const std::uint32_t f = flags_.load();
    if (f & mapflag::kRemoved) return MapStatus::Removed;
    if (f & mapflag::kLoading) return MapStatus::Loading;
    if (f & mapflag::kNotEnoughMemory) return MapStatus::NotEnoughMemory;
    if (f & mapflag::kWaitingToLoad) return MapStatus::WaitingToLoad;
    if (!active()) return MapStatus::Inactive;
    return (f & mapflag::kLoaded) ? MapStatus::ActiveLoaded : MapStatus::ActiveNotLoaded;
}

std::uint64_t MapEntry::memoryNeed() const {
    return withMap([](const CalibratedMap& m) {
        const MapDefinition& d = m.definition();
        const ImageShape shape{d.width, d.height, d.bytesPerPixel == 1};
        return shape.valid() ? maps::memoryNeed(shape) : std::uint64_t{0};
    });
}

bool MapEntry::waitLoadingClear(std::chrono::milliseconds limit) const {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (has(mapflag::kLoading)) {
        if (std::chrono::steady_clock::now() >= end) return false;
        std::this_thread::sleep_for(1ms);
    }
    return true;
}

void MapEntry::unload() {
    if (has(mapflag::kLoadAbandoned)) return;
    cancel_.store(true);
    set(mapflag::kUnloadRequested);
    platform::waitFor([this] { return !has(mapflag::kBeingPainted); }, u".Terminate.1");
    // Linux gives a thread no priority to raise here: the second wait is simply longer.
    if (!waitLoadingClear(kUnloadGrace) && !waitLoadingClear(kUnloadLastChance)) {
        std::unique_lock<std::mutex> end(endLock_);
        if (has(mapflag::kLoading)) {
            set(mapflag::kLoadAbandoned);
            end.unlock();
            const std::string line = ".Terminate.4 (" + wendra::toUtf8(title()) + ")";
            shared_.shell.trace(line);
            return;
        }
    }
    if (thread_.joinable()) thread_.join();
    resetAfterUnload();
}

void MapEntry::resetAfterUnload() {
    releaseImage();
    clear(mapflag::kLoaded | mapflag::kNotEnoughMemory | mapflag::kLoadThreadStarted |
          mapflag::kWaitingToLoad | mapflag::kLoadAbandoned);
    if (active()) set(mapflag::kWaitingToLoad);
    clear(mapflag::kUnloadRequested);
    cancel_.store(false);
}

void MapEntry::releaseImage() {
    image_.reset();
    shared_.allocatedBytes.fetch_sub(reserved_.exchange(0));
}

void MapEntry::setNightMode(NightMode mode) {
    if (night_.exchange(static_cast<int>(mode)) == static_cast<int>(mode)) return;
    unload();
}

PaintResult MapEntry::paint(const MapCell& cell, platform::PixelBuffer& view,
                            std::int64_t& unpainted, std::optional<platform::Pixel16> fresh) {
    // Marked before looking, so that an unload that starts now waits for this paint.
    const std::uint32_t f = flags_.fetch_or(mapflag::kBeingPainted);
    PaintResult result = PaintResult::Done;
    if (f & mapflag::kUnloadRequested) {
        result = PaintResult::Unloading;
    } else if (!(f & mapflag::kLoaded)) {
        result = PaintResult::NotLoaded;
    } else if (paintMapCell(map_, *image_, cell, view, unpainted, fresh)) {
        set(mapflag::kPaintedLastFrame);
        age_.store(1, std::memory_order_relaxed);
    }
    clear(mapflag::kBeingPainted);
    return result;
}

}  // namespace wendra::maps
