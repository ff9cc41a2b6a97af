#include "app/ScreenPower.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/ScriptedMessageBoxes.h"

namespace wendra::test {
namespace {

using namespace std::chrono_literals;
using platform::BacklightState;
using Opt = ProgramOptions;

class FakeTicker final : public platform::Ticker {
public:
    Time now() const override { return now_; }
    void sleep(std::chrono::milliseconds duration) override {
        now_ += duration;
        slept.push_back(duration);
    }
    void advance(std::chrono::milliseconds duration) { now_ += duration; }

    std::vector<std::chrono::milliseconds> slept;

private:
    Time now_{std::chrono::hours(1)};
};

// Records what the program asked of the backlight: a state, or 'R' for release.
class FakeBacklight final : public platform::Backlight {
public:
    bool writable = true;
    std::string calls;

    bool available() const override { return writable; }
    void set(BacklightState state) override {
        calls += state == BacklightState::On ? 'N' : state == BacklightState::Standby ? 'S' : 'F';
    }
    void release() override { calls += 'R'; }
};

struct Recorded {
    int repaints = 0;
    std::vector<std::chrono::milliseconds> offTimers;
    std::vector<std::chrono::milliseconds> onTimers;
    int offCancels = 0;
    int refreshes = 0;
    int turnOffScreens = 0;
    int optionChanges = 0;
};

class ScreenPowerTest : public testing::Test {
protected:
    ScreenPowerHooks hooks() {
        return ScreenPowerHooks{
            [this] { ++seen.repaints; },
            [this](auto delay) { seen.offTimers.push_back(delay); },
            [this](auto delay) { seen.onTimers.push_back(delay); },
            [this] { ++seen.offCancels; },
            [this] { ++seen.refreshes; },
            [this] {
                ++seen.turnOffScreens;
                if (duringTurnOffScreen) duringTurnOffScreen();
            },
            [this] { ++seen.optionChanges; },
        };
    }

    GlobalSettings settings;
    FakeBacklight backlight;
    FakeTicker ticker;
    Recorded seen;
    std::function<void()> duringTurnOffScreen;
    std::vector<std::optional<bool>> displayAnswers;  // then "lit" for good
    int displayReads = 0;
    ScriptedMessageBoxes boxes;
    ScreenPower screen{settings, backlight, ticker, hooks(), [this]() -> std::optional<bool> {
                           const auto read = static_cast<std::size_t>(displayReads++);
                           return read < displayAnswers.size() ? displayAnswers[read] : true;
                       }};
};

TEST_F(ScreenPowerTest, ChangesComeAtMostOncePerInterval) {
    struct Row {
        const char* legend;
        std::chrono::milliseconds wait;
        bool on;
        bool applied;
    };
    const Row rows[] = {
        {"the first change always applies", 0ms, false, true},
        {"on right after off is dropped", 200ms, true, false},
        {"still dropped 1 ms before the interval ends", 1299ms, true, false},
        {"applied once 1500 ms have passed", 1ms, true, true},
        {"off again too soon", 1000ms, false, false},
        {"a dropped request does not restart the interval", 500ms, false, true},
    };
    bool off = false;
    for (const Row& row : rows) {
        ticker.advance(row.wait);
        const std::string before = backlight.calls;
        row.on ? screen.turnOn() : screen.turnOff();
        EXPECT_EQ(backlight.calls != before, row.applied) << row.legend;
        if (row.applied) off = !row.on;
        EXPECT_EQ(screen.screenOff(), off) << row.legend;
    }
}

TEST_F(ScreenPowerTest, BacklightStateFollowsTheOptions) {
    struct Row {
        const char* legend;
        int32_t options;
        void (ScreenPower::*action)();
        const char* calls;  // N on, S stand-by, F off, R released to the system
    };
    const Row rows[] = {
        {"off completely: off", Opt::kScreenOffCompletely, &ScreenPower::turnOff, "F"},
        {"off otherwise: stand-by", 0, &ScreenPower::turnOff, "S"},
        {"off ignores the system's backlight management",
         Opt::kBacklightBySystem | Opt::kScreenOffCompletely, &ScreenPower::turnOff, "F"},
        {"on: lit", Opt::kScreenOffCompletely, &ScreenPower::turnOn, "N"},
        {"on with the backlight by system: handed back", Opt::kBacklightBySystem,
         &ScreenPower::turnOn, "R"},
        {"not kept when the system manages it", Opt::kBacklightBySystem,
         &ScreenPower::keepBacklight, ""},
        {"kept: lit", 0, &ScreenPower::keepBacklight, "N"},
        {"released at exit whatever the options", Opt::kBacklightBySystem,
         &ScreenPower::releaseBacklight, "R"},
    };
    for (const Row& row : rows) {
        settings.options = row.options;
        backlight.calls.clear();
        ticker.advance(ScreenPower::kMinInterval);
        (screen.*row.action)();
        EXPECT_EQ(backlight.calls, row.calls) << row.legend;
    }
}

TEST_F(ScreenPowerTest, KeepingIsHandedBackWhenTheSystemTakesOver) {
    screen.keepBacklight();
    EXPECT_TRUE(screen.backlightKept());
    settings.options |= Opt::kBacklightBySystem;
    screen.keepBacklight();
    screen.keepBacklight();
    EXPECT_EQ(backlight.calls, "NR");
    EXPECT_FALSE(screen.backlightKept());
}

TEST_F(ScreenPowerTest, ScreenOnReadsTheDisplayBackUntilLit) {
    displayAnswers = {false, false, false, true};
    screen.turnOn();
    EXPECT_EQ(displayReads, 4);
    EXPECT_EQ(ticker.slept, std::vector<std::chrono::milliseconds>(3, 200ms));
    EXPECT_EQ(seen.refreshes, 1);
    EXPECT_EQ(seen.repaints, 1);

    displayAnswers.assign(20, false);
    displayReads = 0;
    ticker.slept.clear();
    ticker.advance(ScreenPower::kMinInterval);
    screen.turnOn();
    EXPECT_EQ(displayReads, 10) << "gives up after ten reads";
    EXPECT_EQ(ticker.slept.size(), 9u);
}

TEST_F(ScreenPowerTest, WithoutBacklightTheProgramBlanksItsOwnWindow) {
    backlight.writable = false;
    EXPECT_TRUE(screen.displayOn());
    screen.turnOff();
    EXPECT_FALSE(screen.displayOn()) << "the blank window is the display";
    ticker.advance(ScreenPower::kMinInterval);
    screen.turnOn();
    EXPECT_TRUE(screen.displayOn());
    EXPECT_EQ(displayReads, 0) << "nothing to read back";
    EXPECT_TRUE(ticker.slept.empty());
}

TEST_F(ScreenPowerTest, PressNoteIsShownOnceAndRemembered) {
    settings.options = Opt::kScreenOffCompletely;
    screen.beginTurnOff();
    screen.beginTurnOff();
    const auto shown = boxes.shown();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, u"Press a button to turn on your device");
    EXPECT_TRUE(settings.has(Opt::kScreenOnNoteShown));
    EXPECT_FALSE(settings.has(Opt::kScreenOnNote2Shown));
    EXPECT_EQ(seen.optionChanges, 1);
    EXPECT_EQ(seen.offTimers, std::vector<std::chrono::milliseconds>(2, 200ms));
    EXPECT_EQ(seen.turnOffScreens, 0);
}

TEST_F(ScreenPowerTest, SlideNoteIsShownOnceBeforeTheTurnOffScreen) {
    settings.options = Opt::kScreenOnNoteShown;  // the other note does not count
    screen.beginTurnOff();
    screen.beginTurnOff();
    const auto shown = boxes.shown();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, u"Slide your finger on the screen from left to right to turn on");
    EXPECT_TRUE(settings.has(Opt::kScreenOnNote2Shown));
    EXPECT_EQ(seen.turnOffScreens, 2);
    EXPECT_TRUE(seen.offTimers.empty()) << "the turn-off screen arms it itself";
}

TEST_F(ScreenPowerTest, SlidingSoonAfterTheScreenWentDarkStillWakesIt) {
    settings.options = Opt::kScreenOnNote2Shown;
    duringTurnOffScreen = [this] {
        ticker.advance(200ms);
        screen.turnOff();
        ticker.advance(300ms);  // the user slides at once
    };
    screen.beginTurnOff();
    EXPECT_EQ(seen.offCancels, 1);
    ASSERT_EQ(seen.onTimers.size(), 1u);
    ticker.advance(seen.onTimers[0]);
    screen.turnOn();
    EXPECT_FALSE(screen.screenOff());
}

TEST_F(ScreenPowerTest, ClosingTheTurnOffScreenBeforeItWentDarkOnlyCancels) {
    settings.options = Opt::kScreenOnNote2Shown;
    screen.beginTurnOff();
    EXPECT_EQ(seen.offCancels, 1);
    EXPECT_TRUE(seen.onTimers.empty());
}

TEST_F(ScreenPowerTest, KeysInScreenOffModeWakeOnlyAFullyOffScreen) {
    settings.options = Opt::kScreenOffCompletely;
    EXPECT_FALSE(screen.keyWhileOff()) << "not off: the key is the program's";
    screen.turnOff();
    EXPECT_TRUE(screen.keyWhileOff());
    EXPECT_EQ(seen.onTimers, std::vector<std::chrono::milliseconds>{200ms});
    settings.options = 0;
    EXPECT_TRUE(screen.keyWhileOff()) << "used up, but only the slide wakes this screen";
    EXPECT_EQ(seen.onTimers.size(), 1u);
}

}  // namespace
}  // namespace wendra::test
