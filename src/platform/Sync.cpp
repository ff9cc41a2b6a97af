#include "platform/Sync.h"

#include <thread>

#include "platform/MessageBox.h"
#include "platform/TraceLog.h"

namespace wendra::platform {

namespace {

// Read by every waiting thread, replaced only by tests.
std::atomic<long long> timeoutMs{SyncLimits{}.timeout.count()};
std::atomic<std::uint32_t> maxPolls{SyncLimits{}.maxPolls};
std::atomic<long long> pollMs{SyncLimits{}.pollInterval.count()};

void install(const SyncLimits& limits) {
    timeoutMs.store(limits.timeout.count(), std::memory_order_relaxed);
    maxPolls.store(limits.maxPolls, std::memory_order_relaxed);
    pollMs.store(limits.pollInterval.count(), std::memory_order_relaxed);
}

}  // namespace

SyncLimits syncLimits() {
    return SyncLimits{std::chrono::milliseconds(timeoutMs.load(std::memory_order_relaxed)),
                      maxPolls.load(std::memory_order_relaxed),
                      std::chrono::milliseconds(pollMs.load(std::memory_order_relaxed))};
}

ScopedSyncLimits::ScopedSyncLimits(SyncLimits replacement) : previous_(syncLimits()) {
    install(replacement);
}

ScopedSyncLimits::~ScopedSyncLimits() {
    install(previous_);
}

bool pollUntil(const std::function<bool()>& done) {
    const SyncLimits limits = syncLimits();
    const auto start = std::chrono::steady_clock::now();
    for (std::uint32_t polls = 0;; ++polls) {
        if (done()) return true;
        if (polls >= limits.maxPolls) return false;
        if (std::chrono::steady_clock::now() - start >= limits.timeout) return false;
        std::this_thread::sleep_for(limits.pollInterval);
    }
}

void reportSyncFailure(std::u16string_view label) {
    traceLog().writeSyncError(label);
    messageBoxes().show(
        Message{std::u16string(label), u".Sync error!", Buttons::Ok, Icon::Warning, true});
}

}  // namespace wendra::platform
