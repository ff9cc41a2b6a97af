#pragma once
// How long the machine has slept since it booted: the boot-time clock keeps running
// through a suspend, the monotonic clock does not, so a jump in their difference is
// a resume. Only differences between two readings mean anything.

#include <chrono>

namespace wendra::platform {

// Zero when either clock cannot be read (no resume will ever be seen then).
std::chrono::nanoseconds timeSuspended();

}  // namespace wendra::platform
