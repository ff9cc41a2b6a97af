#include "app/TimerService.h"

#include "platform/Sync.h"
#include "platform/Window.h"

namespace wendra {

TimerService::TimerService() : origin_(std::chrono::steady_clock::now()) {}

TimerService::~TimerService() {
    stop();
}

std::int64_t TimerService::now() const {
    const auto elapsed = std::chrono::steady_clock::now() - origin_;
    return std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count() + 1;
}

void TimerService::start() {
    if (thread_.joinable()) return;
    {
        std::lock_guard lock(mutex_);
        table_.clear();
        stopRequest_ = false;
    }
    thread_ = std::thread([this] { run(); });
    platform::waitFor([this] { return running(); }, u".WndProc.1");
}

void TimerService::stop() {
    if (!thread_.joinable()) return;
    {
        std::lock_guard lock(mutex_);
        stopRequest_ = true;
    }
    changed_.notify_all();
    platform::waitFor([this] { return !running(); }, u".WndProc.Timer");
    thread_.join();
}

bool TimerService::set(platform::Window* window, int id, int milliseconds) {
    bool armed = false;
    {
        std::lock_guard lock(mutex_);
        armed = table_.set(window, id, now(), milliseconds);
    }
    if (armed) changed_.notify_all();
    return armed;
}

void TimerService::cancel(platform::Window* window, int id) {
    std::lock_guard lock(mutex_);
    table_.cancel(window, id, now());
}

void TimerService::cancelFirst(platform::Window* window) {
    std::lock_guard lock(mutex_);
    table_.cancelFirst(window, now());
}

bool TimerService::wasCancelled(const platform::Window* window, int id) const {
    std::lock_guard lock(mutex_);
    return table_.wasCancelled(window, id);
}

void TimerService::run() {
    std::unique_lock lock(mutex_);
    running_.store(true, std::memory_order_release);
    while (!stopRequest_) {
        while (const auto firing = table_.takeDue(now())) {
            // Posting only queues the message, so the table may stay locked.
            if (firing->window) firing->window->post(platform::kTimerMessage, firing->id);
        }
        const auto next = table_.nextDue();
        if (!next) {
            changed_.wait(lock);
            continue;
        }
        changed_.wait_until(lock, origin_ + std::chrono::milliseconds(*next - 1));
    }
    running_.store(false, std::memory_order_release);
}

}  // namespace wendra
