#pragma once
// The power thread: every 100 ms it looks for a resume from suspend (the screen
// then comes back on), wakes a screen the system lit while the program had it off,
// and once per second keeps the desktop from going idle. Start and stop from one
// thread; the hooks are called on the power thread and must be safe there.

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>
#include <thread>

#include "platform/IdleTimer.h"
#include "platform/Ticker.h"

namespace wendra {

struct PowerThreadHooks {
    std::function<void(std::chrono::milliseconds)> armScreenOnTimer;
    std::function<bool()> screenOffMode;
    std::function<bool()> displayOn;
    std::function<void()> keepInFront;
};

// Time spent suspended since boot; a jump between two readings is a resume. The
// program's main hands in the machine's; without one no resume is ever seen.
using SuspendClock = std::function<std::chrono::nanoseconds()>;

class PowerThread {
public:
    static constexpr std::chrono::milliseconds kPoll{100};
    static constexpr std::chrono::milliseconds kScreenOnDelay{200};
    static constexpr std::chrono::milliseconds kAfterResume{400};
    static constexpr std::chrono::milliseconds kScreenOffGrace{5000};
    static constexpr std::chrono::milliseconds kIdleResetInterval{1000};
    static constexpr std::chrono::nanoseconds kResumeJump{std::chrono::seconds(1)};

    PowerThread(platform::IdleTimer& idle, platform::Ticker& ticker, PowerThreadHooks hooks,
                SuspendClock suspended);
    ~PowerThread();  // stops the thread
    PowerThread(const PowerThread&) = delete;
    PowerThread& operator=(const PowerThread&) = delete;

    // The options word as the settings have it now; any thread may call this.
    void setOptions(int32_t options) { options_.store(options, std::memory_order_relaxed); }

    // Starts the thread and waits for it to run (sync protocol, under the label).
    void start(std::u16string_view label = u".WndProc.11");
    // Asks the thread to stop and waits for it; returns within about 100 ms.
    void stop(std::u16string_view label = u".WndProc.Power");
    bool running() const { return running_.load(std::memory_order_acquire); }

    // One pass of the loop; returns the pause before the next. The thread calls it;
    // a caller may drive it by hand instead, but never while the thread runs.
    std::chrono::milliseconds step();

private:
    bool has(int32_t bit) const { return (options_.load(std::memory_order_relaxed) & bit) != 0; }
    bool resumed();
    void watchScreenOff(platform::Ticker::Time now);
    void resetIdle(platform::Ticker::Time now);
    void run();
    void pause(std::chrono::milliseconds duration);

    platform::IdleTimer& idle_;
    platform::Ticker& ticker_;
    PowerThreadHooks hooks_;
    SuspendClock suspended_;
    std::atomic<int32_t> options_{0};
    std::atomic<bool> running_{false};
    std::atomic<bool> stopRequest_{false};
    std::thread thread_;
    // Touched only by whoever runs step().
    std::optional<std::chrono::nanoseconds> lastSuspended_;
    std::optional<platform::Ticker::Time> offSince_;
    std::optional<platform::Ticker::Time> lastIdleReset_;
};

}  // namespace wendra
