#include "track/DeviceTimeZone.h"

#include <atomic>

#include "platform/Clock.h"

namespace wendra {

namespace {

constexpr int kUnknown = -1000;  // no zone is that far from UTC
constexpr int kSecondsPerHour = 3600;

std::atomic<int> cached{kUnknown};

}  // namespace

// The clock gives seconds to add to UTC; the points store the opposite, in whole
// hours truncated toward zero as the handheld's minute bias / 60 was.
int deviceTimeZoneHours() {
    int hours = cached.load(std::memory_order_relaxed);
    if (hours == kUnknown) {
        hours = -platform::clock().utcOffsetSeconds() / kSecondsPerHour;
        cached.store(hours, std::memory_order_relaxed);
    }
    return hours;
}

void resetDeviceTimeZone() {
    cached.store(kUnknown, std::memory_order_relaxed);
}

}  // namespace wendra
