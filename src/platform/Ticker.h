#pragma once
// Monotonic time and pauses, for the logic that waits between attempts (port opening,
// retries). Tests install a fake whose sleep only moves its own time forward.

#include <chrono>

namespace wendra::platform {

class Ticker {
public:
    using Time = std::chrono::steady_clock::time_point;

    virtual ~Ticker() = default;
    virtual Time now() const = 0;
    virtual void sleep(std::chrono::milliseconds duration) = 0;
};

// The machine's steady clock and a real sleep.
Ticker& systemTicker();

}  // namespace wendra::platform
