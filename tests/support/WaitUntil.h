#pragma once
// Waiting in a test for what another thread or process brings about: the condition is
// polled briefly until a deadline, never guessed with a sleep, so a slow machine only
// makes the test slower, not wrong. Also says whether the build is one whose times
// mean anything: the sanitizers slow a program several times over, so a promise about
// how long something takes is checked only without them.

#include <chrono>
#include <thread>

namespace wendra::test {

// Long enough for a loaded machine under the sanitizers; a passing test never waits it.
inline constexpr std::chrono::seconds kWaitDeadline{10};

// True once `done()` holds; false if it still does not at the deadline.
template <class Predicate>
bool waitUntil(Predicate&& done,
               std::chrono::steady_clock::duration deadline = kWaitDeadline) {
    const auto end = std::chrono::steady_clock::now() + deadline;
    while (!done()) {
        if (std::chrono::steady_clock::now() >= end) return done();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
inline constexpr bool kTimesAreMeasurable = false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer) || \
    __has_feature(undefined_behavior_sanitizer)
inline constexpr bool kTimesAreMeasurable = false;
#else
inline constexpr bool kTimesAreMeasurable = true;
#endif
#else
inline constexpr bool kTimesAreMeasurable = true;
#endif

}  // namespace wendra::test
