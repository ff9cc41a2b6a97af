#include "platform/Clock.h"

#include <atomic>

namespace wendra::platform {

namespace {
std::atomic<Clock*> installed{nullptr};
}

Clock& clock() {
    Clock* current = installed.load(std::memory_order_acquire);
    return current ? *current : systemClock();
}

ScopedClock::ScopedClock(Clock& replacement)
    : previous_(installed.exchange(&replacement, std::memory_order_acq_rel)) {}

ScopedClock::~ScopedClock() { installed.store(previous_, std::memory_order_release); }

}  // namespace wendra::platform
