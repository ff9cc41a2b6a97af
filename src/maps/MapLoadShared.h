#pragma once
// What every map of one catalogue shares while images load: the bytes their images
// hold, the flag that lets one load run at a time, the trace of the last allocation
// failure (the next eviction makes a budget of it) and the once-only removal question.
// One per catalogue, outliving its maps. All members are safe from any thread.

#include <atomic>
#include <cstdint>
#include <functional>

#include "maps/MapShell.h"

namespace wendra::maps {

inline constexpr std::int64_t kNoFailureBasis = -1;

enum class RemovalAnswer : int { NotAsked = 0, Remove = 1, Keep = 2 };

struct MapLoadShared {
    explicit MapLoadShared(MapShell& s) : shell(s) {}

    MapShell& shell;
    std::atomic<std::uint64_t> allocatedBytes{0};
    std::atomic<bool> loadRunning{false};
    // Bytes held at the last allocation failure, without the failing map's own.
    std::atomic<std::int64_t> failureBasis{kNoFailureBasis};
    std::atomic<std::uint32_t> budgetMiB{0};
    std::atomic<int> removalAnswer{static_cast<int>(RemovalAnswer::NotAsked)};
    // Whether a load may take `need` more bytes; the catalogue installs its rule
    // before any load starts and never changes it afterwards.
    std::function<bool(std::uint64_t need)> hasRoom = [](std::uint64_t) { return true; };

    // Takes the one-load flag; true when it was free.
    bool tryStartLoad() { return !loadRunning.exchange(true, std::memory_order_acq_rel); }
    void endLoad() { loadRunning.store(false, std::memory_order_release); }
};

}  // namespace wendra::maps
