// The no-fix and no-signal checks: when they speak, how often, and the three
// reconnections per loss of signal. Also the reader thread running them on its own.

#include "gps/SignalWatch.h"

#include <gtest/gtest.h>

#include <mutex>

#include "GpsFakes.h"
#include "records/DayNumber.h"
#include "support/FakeClock.h"
#include "support/ScriptedMessageBoxes.h"
#include "support/TestPaths.h"
#include "support/WaitUntil.h"

namespace wendra::test {
namespace {

constexpr double kSecond = 1.0 / 86400.0;
constexpr double kStart = 9000.5;

class SignalWatchTest : public ::testing::Test {
protected:
    SignalWatchTest() { watch.hold(kStart); }

    FakeShell shell;
    FakeTimes times;
    SignalWatch watch{times.times(), shell};
};

TEST_F(SignalWatchTest, NoFixSoundsEveryTenSecondsWhenASoundIsChosen) {
    shell.sound = u"Alarm";
    times.lastSignal = kStart + 60 * kSecond;  // the receiver talks; only the fix is missing
    watch.check(kStart + 10 * kSecond, true);
    EXPECT_TRUE(shell.calls().empty()) << "ten seconds are not more than ten";
    watch.check(kStart + 10.5 * kSecond, true);
    EXPECT_EQ(shell.calls(),
              (std::vector<std::string>{"sound:Alarm", "status:Alert no fix!", "repaint"}));
    shell.clear();
    watch.check(kStart + 15 * kSecond, true);
    EXPECT_TRUE(shell.calls().empty()) << "the alert waits another ten seconds";
    watch.check(kStart + 21 * kSecond, true);
    EXPECT_EQ(shell.calls().size(), 3u);
}

TEST_F(SignalWatchTest, NoFixWithoutASoundShowsNothingButRestartsTheWait) {
    times.lastSignal = kStart + 60 * kSecond;
    watch.check(kStart + 11 * kSecond, true);
    EXPECT_TRUE(shell.calls().empty());
    EXPECT_DOUBLE_EQ(times.lastFix, kStart + 11 * kSecond);
}

TEST_F(SignalWatchTest, NoSignalAsksForAtMostThreeReconnectionsPerLoss) {
    times.lastFix = kStart + 1000 * kSecond;
    for (int i = 1; i <= 5; ++i) watch.check(kStart + i * 11 * kSecond, true);
    EXPECT_EQ(shell.reconnects, 3);
    const std::vector<std::string> calls = shell.calls();
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "status:Alert: No signal!"), 5)
        << "the text shows at every check that finds no signal";

    times.allowance = 3;  // the hand-over saw a changed value
    watch.check(kStart + 66 * kSecond, true);
    EXPECT_EQ(shell.reconnects, 4);
}

TEST_F(SignalWatchTest, NoSignalIsQuietWithoutAutomaticReconnection) {
    times.lastFix = kStart + 1000 * kSecond;
    watch.check(kStart + 20 * kSecond, false);
    EXPECT_TRUE(shell.calls().empty());
    EXPECT_DOUBLE_EQ(times.lastSignal, kStart) << "the loss is still there when switched on";
}

// A clock the reader thread may read while the test moves it.
class SharedClock final : public platform::Clock {
public:
    platform::CivilTime localNow() const override {
        std::lock_guard lock(mutex_);
        return clock_.localNow();
    }
    platform::CivilTime utcNow() const override {
        std::lock_guard lock(mutex_);
        return clock_.utcNow();
    }
    int32_t utcOffsetSeconds() const override { return 0; }
    bool setUtc(const platform::CivilTime&) override { return false; }
    void advanceMilliseconds(long long ms) {
        std::lock_guard lock(mutex_);
        clock_.advanceMilliseconds(ms);
    }

private:
    mutable std::mutex mutex_;
    FakeClock clock_;
};

TEST(GpsReader, SilentReceiverMakesTheReaderAskForAReconnection) {
    SharedClock clock;
    platform::ScopedClock useClock(clock);
    TempDir folder;
    FakePorts ports;
    FakeRadio radio;
    FakeShell shell;
    FakeTimes times;
    ScriptedMessageBoxes boxes;
    SerialPort port({ports, radio, shell, folder.path(), [](std::string_view) {}, times.times()});
    port.settings().options = SerialOptions::kAutoReconnect;
    ASSERT_TRUE(port.start(SerialPort::Attempts::Single));
    const auto reads = [&] {
        std::lock_guard lock(ports.device.mutex);
        return ports.device.asked.size();
    };
    // Silent passes while the clock stands still: nothing to alert about yet.
    EXPECT_TRUE(waitUntil([&] { return reads() >= 3; }));
    EXPECT_EQ(shell.reconnects, 0);
    clock.advanceMilliseconds(10500);
    EXPECT_TRUE(waitUntil([&] { return shell.reconnects > 0; }));
    port.close();
    EXPECT_EQ(shell.reconnects, 1);
    EXPECT_TRUE(shell.saw("status:Alert: No signal!"));
}

}  // namespace
}  // namespace wendra::test
