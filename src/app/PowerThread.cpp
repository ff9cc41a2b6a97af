#include "app/PowerThread.h"

#include <algorithm>
#include <utility>

#include "app/GlobalSettings.h"
#include "platform/Sync.h"

namespace wendra {

PowerThread::PowerThread(platform::IdleTimer& idle, platform::Ticker& ticker,
                         PowerThreadHooks hooks, SuspendClock suspended)
    : idle_(idle),
      ticker_(ticker),
      hooks_(std::move(hooks)),
      suspended_(suspended ? std::move(suspended)
                           : SuspendClock([] { return std::chrono::nanoseconds::zero(); })),
      options_(ProgramOptions::kDefault) {}

PowerThread::~PowerThread() {
    stop();
}

void PowerThread::start(std::u16string_view label) {
    if (thread_.joinable()) return;
    // A suspend while the thread was stopped is no resume of a running program.
    lastSuspended_.reset();
    stopRequest_.store(false, std::memory_order_release);
    thread_ = std::thread([this] { run(); });
    platform::waitFor([this] { return running(); }, label);
}

void PowerThread::stop(std::u16string_view label) {
    if (!thread_.joinable()) return;
    stopRequest_.store(true, std::memory_order_release);
    platform::waitFor([this] { return !running(); }, label);
    // Even after a give-up the thread is waited for, never abandoned.
    thread_.join();
}

void PowerThread::run() {
    running_.store(true, std::memory_order_release);
    while (!stopRequest_.load(std::memory_order_acquire)) pause(step());
    running_.store(false, std::memory_order_release);
}

// Sleeps in slices of one poll so that a stop request is seen within 100 ms.
void PowerThread::pause(std::chrono::milliseconds duration) {
    while (duration.count() > 0 && !stopRequest_.load(std::memory_order_acquire)) {
        const auto slice = std::min(duration, kPoll);
        ticker_.sleep(slice);
        duration -= slice;
    }
}

std::chrono::milliseconds PowerThread::step() {
    const auto now = ticker_.now();
    auto pauseFor = kPoll;
    if (resumed() && !has(ProgramOptions::kBacklightBySystem)) {
        hooks_.armScreenOnTimer(kScreenOnDelay);
        pauseFor = kAfterResume;
    }
    watchScreenOff(now);
    resetIdle(now);
    return pauseFor;
}

bool PowerThread::resumed() {
    const auto suspended = suspended_();
    const bool jumped = lastSuspended_ && suspended - *lastSuspended_ > kResumeJump;
    lastSuspended_ = suspended;
    return jumped;
}

// The system may light the display by itself while the program keeps it off (a
// power button, a call); after a grace period that counts as the user waking it.
// The grace starts again after each wake so that the timer is not re-armed every
// poll, which would keep pushing it back.
void PowerThread::watchScreenOff(platform::Ticker::Time now) {
    if (!hooks_.screenOffMode()) {
        offSince_.reset();
        return;
    }
    if (!offSince_) {
        offSince_ = now;
        return;
    }
    if (now - *offSince_ < kScreenOffGrace || !hooks_.displayOn()) return;
    hooks_.armScreenOnTimer(kScreenOnDelay);
    hooks_.keepInFront();
    offSince_ = now;
}

void PowerThread::resetIdle(platform::Ticker::Time now) {
    if (has(ProgramOptions::kTurnOffBySystem)) return;
    if (lastIdleReset_ && now - *lastIdleReset_ < kIdleResetInterval) return;
    idle_.reset();
    lastIdleReset_ = now;
}

}  // namespace wendra
