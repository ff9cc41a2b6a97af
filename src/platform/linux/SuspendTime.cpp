#include "platform/linux/SuspendTime.h"

#include <time.h>

namespace wendra::platform {

namespace {

std::chrono::nanoseconds asDuration(const timespec& at) {
    return std::chrono::seconds(at.tv_sec) + std::chrono::nanoseconds(at.tv_nsec);
}

}  // namespace

std::chrono::nanoseconds timeSuspended() {
    timespec boot{};
    timespec monotonic{};
    if (clock_gettime(CLOCK_BOOTTIME, &boot) != 0) return {};
    if (clock_gettime(CLOCK_MONOTONIC, &monotonic) != 0) return {};
    return asDuration(boot) - asDuration(monotonic);
}

}  // namespace wendra::platform
