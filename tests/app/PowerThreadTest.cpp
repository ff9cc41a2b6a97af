#include "app/PowerThread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "app/GlobalSettings.h"
#include "platform/Sync.h"

namespace wendra::test {
namespace {

using namespace std::chrono_literals;
using Opt = ProgramOptions;

// Time that moves only when slept; the power thread may sleep on it while the
// test reads it. A real pause of a few microseconds keeps the thread from spinning.
class SteppedTicker final : public platform::Ticker {
public:
    Time now() const override { return Time(std::chrono::nanoseconds(ns_.load())); }
    void sleep(std::chrono::milliseconds duration) override {
        long long longest = longest_.load();
        while (duration.count() > longest &&
               !longest_.compare_exchange_weak(longest, duration.count())) {
        }
        ns_ += std::chrono::nanoseconds(duration).count();
        if (realPause) std::this_thread::sleep_for(50us);
    }
    std::chrono::milliseconds longestSleep() const {
        return std::chrono::milliseconds(longest_.load());
    }

    bool realPause = true;

private:
    std::atomic<long long> ns_{std::chrono::nanoseconds(1h).count()};
    std::atomic<long long> longest_{0};
};

class CountingIdleTimer final : public platform::IdleTimer {
public:
    void reset() override { ++resets; }
    bool effective() const override { return true; }
    std::atomic<int> resets{0};
};

class PowerThreadTest : public testing::Test {
protected:
    PowerThreadHooks hooks() {
        return PowerThreadHooks{
            [this](std::chrono::milliseconds delay) {
                EXPECT_EQ(delay, 200ms);
                ++screenOnTimers;
            },
            [this] { return screenOff.load(); },
            [this] { return displayLit.load(); },
            [this] { ++broughtToFront; },
        };
    }

    // Drives the loop by hand for `duration` of the fake time.
    void runFor(std::chrono::milliseconds duration) {
        const auto end = ticker.now() + duration;
        while (ticker.now() < end) ticker.sleep(power.step());
    }

    void resumeAfter(std::chrono::nanoseconds asleep) { suspendedNs += asleep.count(); }

    SteppedTicker ticker;
    CountingIdleTimer idle;
    std::atomic<long long> suspendedNs{0};
    std::atomic<int> screenOnTimers{0};
    std::atomic<int> broughtToFront{0};
    std::atomic<bool> screenOff{false};
    std::atomic<bool> displayLit{false};
    PowerThread power{idle, ticker, hooks(),
                      [this] { return std::chrono::nanoseconds(suspendedNs.load()); }};
};

TEST_F(PowerThreadTest, ResumeArmsTheScreenOnTimer) {
    struct Row {
        const char* legend;
        std::chrono::nanoseconds asleep;
        int32_t options;
        int timers;
        std::chrono::milliseconds pause;
    };
    const Row rows[] = {
        {"a resume lights the screen, then a longer pause", 2s, Opt::kDefault, 1, 400ms},
        {"not when the system manages the backlight", 2s, Opt::kBacklightBySystem, 0, 100ms},
        {"one second exactly is no resume", 1s, Opt::kDefault, 0, 100ms},
        {"just over a second is", 1s + 1ms, Opt::kDefault, 1, 400ms},
        {"clock noise", 3ms, Opt::kDefault, 0, 100ms},
    };
    power.step();  // the first reading only sets the baseline
    for (const Row& row : rows) {
        power.setOptions(row.options);
        screenOnTimers = 0;
        resumeAfter(row.asleep);
        EXPECT_EQ(power.step(), row.pause) << row.legend;
        EXPECT_EQ(screenOnTimers, row.timers) << row.legend;
        EXPECT_EQ(power.step(), 100ms) << row.legend << ": seen once";
    }
}

TEST_F(PowerThreadTest, ResetsTheIdleTimerOncePerSecond) {
    runFor(10s);
    EXPECT_EQ(idle.resets, 10);
    power.setOptions(Opt::kTurnOffBySystem);
    runFor(5s);
    EXPECT_EQ(idle.resets, 10) << "the system turns the machine off";
    power.setOptions(0);
    runFor(2s);
    EXPECT_EQ(idle.resets, 12);
}

TEST_F(PowerThreadTest, WakesAScreenTheSystemLitAfterTheGrace) {
    screenOff = true;
    displayLit = true;
    runFor(4900ms);
    EXPECT_EQ(screenOnTimers, 0);
    runFor(200ms);
    EXPECT_EQ(screenOnTimers, 1);
    EXPECT_EQ(broughtToFront, 1);
    runFor(4800ms);
    EXPECT_EQ(screenOnTimers, 1) << "not re-armed every poll, which would push it back";
    runFor(300ms);
    EXPECT_EQ(screenOnTimers, 2);

    screenOff = false;
    runFor(200ms);
    screenOff = true;
    runFor(4900ms);
    EXPECT_EQ(screenOnTimers, 2) << "the grace starts again with each screen-off";

    displayLit = false;
    runFor(20s);
    EXPECT_EQ(screenOnTimers, 2) << "a dark display stays off";
    EXPECT_EQ(broughtToFront, 2);
}

TEST_F(PowerThreadTest, StartAndStopFollowTheRunningFlag) {
    power.start();
    EXPECT_TRUE(power.running());
    power.stop();
    EXPECT_FALSE(power.running());
    power.stop();  // a second stop is harmless
    power.start();
    EXPECT_TRUE(power.running());
}  // the destructor stops it

TEST_F(PowerThreadTest, RunningThreadSeesAResume) {
    power.start();
    ASSERT_TRUE(platform::pollUntil([this] { return idle.resets > 0; }));
    resumeAfter(30s);
    EXPECT_TRUE(platform::pollUntil([this] { return screenOnTimers > 0; }));
    power.stop();
}

TEST_F(PowerThreadTest, RunningThreadLeavesTheSystemsBacklightAlone) {
    power.setOptions(Opt::kBacklightBySystem);
    power.start();
    ASSERT_TRUE(platform::pollUntil([this] { return idle.resets > 0; }));
    resumeAfter(30s);
    // Any step that starts after the jump sees it; give it a few.
    const auto seen = ticker.now() + 1s;
    ASSERT_TRUE(platform::pollUntil([&] { return ticker.now() > seen; }));
    power.stop();
    EXPECT_EQ(screenOnTimers, 0);
}

TEST_F(PowerThreadTest, NeverSleepsLongerThanOnePollSoStopIsPrompt) {
    power.start();
    resumeAfter(30s);
    ASSERT_TRUE(platform::pollUntil([this] { return screenOnTimers > 0; }));
    const auto later = ticker.now() + 1s;
    ASSERT_TRUE(platform::pollUntil([&] { return ticker.now() > later; }));
    power.stop();
    EXPECT_LE(ticker.longestSleep(), PowerThread::kPoll);
}

TEST(PowerThreadRealTime, StopsWithTheRealClockAndSuspendTime) {
    CountingIdleTimer idle;
    PowerThread power(
        idle, platform::systemTicker(),
        PowerThreadHooks{[](auto) {}, [] { return false; }, [] { return false; }, [] {}}, nullptr);
    power.start();
    ASSERT_TRUE(platform::pollUntil([&] { return idle.resets > 0; }));
    power.stop();
    EXPECT_FALSE(power.running());
}

}  // namespace
}  // namespace wendra::test
