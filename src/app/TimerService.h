#pragma once
// The software timers: the table of 32 entries and the timer thread that posts each
// due timer's id to its window as a timer message. Any thread may set and cancel. The
// thread sleeps until the earliest due tick (or a change) instead of polling, so an
// idle program costs nothing and a timer fires within about a millisecond.

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "app/TimerTable.h"

namespace wendra {

class TimerService {
public:
    TimerService();
    ~TimerService();
    TimerService(const TimerService&) = delete;
    TimerService& operator=(const TimerService&) = delete;

    // Clears the table and starts the thread; waits for it under ".WndProc.1".
    void start();
    // Asks the thread to end and waits under ".WndProc.Timer".
    void stop();
    bool running() const { return running_.load(std::memory_order_acquire); }

    // False when all entries were busy and the timer was not armed.
    bool set(platform::Window* window, int id, int milliseconds);
    void cancel(platform::Window* window, int id);
    void cancelFirst(platform::Window* window);
    bool wasCancelled(const platform::Window* window, int id) const;

    // Milliseconds since the service was made, plus one (ticks are never 0).
    std::int64_t now() const;

private:
    void run();

    std::chrono::steady_clock::time_point origin_;
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    TimerTable table_;
    std::thread thread_;
    std::atomic<bool> running_{false};
    bool stopRequest_ = false;  // guarded by mutex_
};

}  // namespace wendra
