#pragma once
// What every HTTP request of a run shares: the two growable body buffers, the run's
// byte and request counters (read by the statistics from any thread), the timings,
// the certificate file and the hosts that asked to be left alone for a while.
// The buffers are not locked: one thread at a time requests into a given slot.

#include <array>
#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace wendra::platform {

struct HttpTimings {
    std::chrono::milliseconds connect{5000};
    std::chrono::milliseconds idle{5000};  // no byte sent or received for this long
    std::chrono::milliseconds retryPause{1000};
    // A body arriving slower than lowSpeedBytes a second for lowSpeedTime is a read
    // failure: a server trickling bytes would otherwise hold the worker for ever.
    std::chrono::milliseconds lowSpeedTime{10000};
    long lowSpeedBytes = 1024;
};

class HttpSession {
public:
    using Time = std::chrono::steady_clock::time_point;

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

    // The certificates that https servers are checked against; empty: the system's.
    // Set before the first request (not locked).
    void setCertificateFile(std::string file) { certificateFile_ = std::move(file); }
    const std::string& certificateFile() const { return certificateFile_; }

    // A server's Retry-After: no request goes to the host before `until`.
    void holdOff(std::string_view host, Time until) {
        std::lock_guard lock(holdMutex_);
        auto [place, added] = heldUntil_.try_emplace(std::string(host), until);
        if (!added && place->second < until) place->second = until;
    }
    // True while the host asked to be left alone (host names compare as given).
    bool heldOff(std::string_view host, Time now) const {
        std::lock_guard lock(holdMutex_);
        const auto place = heldUntil_.find(host);
        return place != heldUntil_.end() && now < place->second;
    }

    std::uint64_t bytesDownloaded() const { return bytes_.load(std::memory_order_relaxed); }
    std::uint32_t requestsCompleted() const { return requests_.load(std::memory_order_relaxed); }
    void addBytes(std::size_t count) { bytes_.fetch_add(count, std::memory_order_relaxed); }
    void addCompletedRequest() { requests_.fetch_add(1, std::memory_order_relaxed); }

private:
    HttpTimings timings_;
    std::string certificateFile_;
    std::array<std::vector<std::uint8_t>, kSlotCount> buffers_;
    std::atomic<std::uint64_t> bytes_{0};
    std::atomic<std::uint32_t> requests_{0};
    // Services on other threads may share the session.
    mutable std::mutex holdMutex_;
    std::map<std::string, Time, std::less<>> heldUntil_;
};

}  // namespace wendra::platform
