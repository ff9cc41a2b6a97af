#pragma once
// What every HTTP request of a run shares: the two growable body buffers, the run's
// byte and request counters (read by the statistics from any thread) and the timings.
// The buffers are not locked: one thread at a time requests into a given slot.

#include <array>
#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace wendra::platform {

struct HttpTimings {
    std::chrono::milliseconds connect{5000};
    std::chrono::milliseconds idle{5000};  // no byte sent or received for this long
    std::chrono::milliseconds retryPause{1000};
};

class HttpSession {
public:
    static constexpr int kTileSlot = 0;    // tiles and most requests
    static constexpr int kSecondSlot = 1;  // free for a second user
    static constexpr int kSlotCount = 2;
    static constexpr std::size_t kInitialBufferBytes = 8192;
    // A body longer than this is refused: a hostile server cannot make it grow
    // without bound. Tiles are tens of kilobytes, the longest answers a few hundred.
    static constexpr std::size_t kMaxBodyBytes = 16u << 20;

    explicit HttpSession(HttpTimings timings = {}) : timings_(timings) {
        for (auto& buffer : buffers_) buffer.reserve(kInitialBufferBytes);
    }

    // The slot's buffer; a slot out of range is the tile slot.
    std::vector<std::uint8_t>& buffer(int slot) {
        return buffers_[slot >= 0 && slot < kSlotCount ? slot : kTileSlot];
    }
    const HttpTimings& timings() const { return timings_; }

    std::uint64_t bytesDownloaded() const { return bytes_.load(std::memory_order_relaxed); }
    std::uint32_t requestsCompleted() const { return requests_.load(std::memory_order_relaxed); }
    void addBytes(std::size_t count) { bytes_.fetch_add(count, std::memory_order_relaxed); }
    void addCompletedRequest() { requests_.fetch_add(1, std::memory_order_relaxed); }

private:
    HttpTimings timings_;
    std::array<std::vector<std::uint8_t>, kSlotCount> buffers_;
    std::atomic<std::uint64_t> bytes_{0};
    std::atomic<std::uint32_t> requests_{0};
};

}  // namespace wendra::platform
