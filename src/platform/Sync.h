#pragma once
// The program's one way to wait for another thread: poll a condition every 1 ms and
// give up after 100000 ms (steady clock) or 100000 polls, whichever comes first.
// Giving up is logged and shown, then the caller goes on as if the wait had succeeded.

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <string_view>

namespace wendra::platform {

// When a wait gives up. Tests shorten it; the program keeps the defaults.
struct SyncLimits {
    std::chrono::milliseconds timeout{100000};
    std::uint32_t maxPolls = 100000;
    std::chrono::milliseconds pollInterval{1};
};

SyncLimits syncLimits();

// Installs other limits for the lifetime of this object (tests only).
class ScopedSyncLimits {
public:
    explicit ScopedSyncLimits(SyncLimits replacement);
    ~ScopedSyncLimits();
    ScopedSyncLimits(const ScopedSyncLimits&) = delete;
    ScopedSyncLimits& operator=(const ScopedSyncLimits&) = delete;

private:
    SyncLimits previous_;
};

// Polls done() until it returns true or the limits run out; true when it came true.
// Does not report anything: the building block of waitFor and of the trace guard.
bool pollUntil(const std::function<bool()>& done);

// Writes ".Sync.Error", the label and the breadcrumbs to the trace log, then shows
// the label in a ".Sync error!" box (warning, topmost).
void reportSyncFailure(std::u16string_view label);

// The sync protocol: waits for done(); on giving up reports the label and returns
// as if done() had come true. The first test costs no more than the call itself.
template <typename Done>
void waitFor(Done&& done, std::u16string_view label) {
    if (done()) return;
    if (!pollUntil(std::function<bool()>(std::forward<Done>(done)))) reportSyncFailure(label);
}

// A word of flag bits, some of which are locks taken by test-and-set. The lock bits
// are exclusive only by convention: after a give-up the waiter proceeds anyway.
class LockWord {
public:
    static constexpr std::uint32_t kTrackLock = 1u << 0;
    static constexpr std::uint32_t kPaintLock = 1u << 1;

    // Sets the bit; true when it was clear (the caller now holds it).
    bool tryLock(std::uint32_t bit) {
        return (bits_.fetch_or(bit, std::memory_order_acquire) & bit) == 0;
    }
    // Takes the bit with the sync protocol under the label.
    void lock(std::uint32_t bit, std::u16string_view label) {
        waitFor([this, bit] { return tryLock(bit); }, label);
    }
    void unlock(std::uint32_t bit) { bits_.fetch_and(~bit, std::memory_order_release); }

    // Plain flag bits that are not locks (the view keeps its modes here).
    void set(std::uint32_t bits) { bits_.fetch_or(bits, std::memory_order_acq_rel); }
    void clear(std::uint32_t bits) { bits_.fetch_and(~bits, std::memory_order_acq_rel); }
    bool test(std::uint32_t bits) const {
        return (bits_.load(std::memory_order_acquire) & bits) != 0;
    }

private:
    std::atomic<std::uint32_t> bits_{0};
};

}  // namespace wendra::platform
