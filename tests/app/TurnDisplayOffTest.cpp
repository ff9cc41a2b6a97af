#include <gtest/gtest.h>

#include <vector>

#include "app/TurnDisplayOffDialog.h"
#include "app/TurnDisplayOffKnob.h"
#include "support/ScriptedDialogHost.h"

namespace wendra::test {
namespace {

using platform::NotifyCode;

struct Event {
    NotifyCode code;
    int x;
};

constexpr NotifyCode kDown = NotifyCode::StylusDown;
constexpr NotifyCode kMove = NotifyCode::StylusMove;
constexpr NotifyCode kUp = NotifyCode::StylusUp;

void play(TurnDisplayOffKnob& knob, const std::vector<Event>& events) {
    for (const Event& event : events) {
        const platform::Point at{event.x, 40};
        if (event.code == kDown) knob.down(at);
        if (event.code == kMove) knob.move(at);
        if (event.code == kUp) knob.up();
    }
}

TEST(TurnDisplayOffKnob, FollowsTheStylusOnlyOnceGrabbed) {
    struct Row {
        const char* legend;
        std::vector<Event> events;
        int left;
        bool reached;
    };
    // A 240 pixel area at scale 1: the knob is 30 wide, its rightmost place 210.
    const Row rows[] = {
        {"untouched it sits at the left edge", {}, 0, false},
        {"a drag that starts beside the knob moves nothing", {{kDown, 40}, {kMove, 200}}, 0, false},
        {"keeps the place where the stylus took it", {{kDown, 10}, {kMove, 110}}, 100, false},
        {"held at the left edge", {{kDown, 20}, {kMove, 120}, {kMove, -50}}, 0, false},
        {"lifted early it springs back", {{kDown, 5}, {kMove, 150}, {kUp, 150}}, 0, false},
        {"a lifted stylus no longer drags", {{kDown, 5}, {kUp, 5}, {kMove, 150}}, 0, false},
        {"the right edge is reached and kept", {{kDown, 5}, {kMove, 500}, {kUp, 500}}, 210, true},
        {"one pixel short is not the edge", {{kDown, 0}, {kMove, 209}}, 209, false},
        {"grabbed at its last pixel", {{kDown, 29}, {kMove, 239}}, 210, true},
    };
    for (const Row& row : rows) {
        TurnDisplayOffKnob knob(1, 240);
        play(knob, row.events);
        EXPECT_EQ(knob.left(), row.left) << row.legend;
        EXPECT_EQ(knob.reachedEnd(), row.reached) << row.legend;
    }
}

TEST(TurnDisplayOffKnob, WidthIsHalfTheScaledKnobAndStaysInANarrowerArea) {
    EXPECT_EQ(TurnDisplayOffKnob(1, 240).width(), 30);
    EXPECT_EQ(TurnDisplayOffKnob(2, 480).width(), 61);

    TurnDisplayOffKnob knob(1, 480);
    play(knob, {{kDown, 0}, {kMove, 300}});
    knob.resize(240);
    EXPECT_EQ(knob.left(), 210);
    EXPECT_TRUE(knob.move({240, 0})) << "the new edge counts";
}

class TurnDisplayOffDialogTest : public testing::Test {
protected:
    void stylus(NotifyCode code, int x) {
        procedure.notify(dialog, kTurnDisplayOffAreaId, {code, platform::kNoTreeItem, {x, 100}});
    }

    int screenOffTimers = 0;
    platform::DialogTemplate layout = turnDisplayOffTemplate();
    TurnDisplayOffProcedure procedure{1, 240, [this] { ++screenOffTimers; }};
    ScriptedDialog dialog{layout, procedure};
};

TEST_F(TurnDisplayOffDialogTest, OpeningArmsTheScreenOffTimer) {
    EXPECT_EQ(layout.id, 261);
    EXPECT_EQ(layout.title, u"Turn display off");
    procedure.init(dialog);
    EXPECT_EQ(screenOffTimers, 1);
    EXPECT_FALSE(dialog.ended());
}

TEST_F(TurnDisplayOffDialogTest, SlidingToTheRightEdgeClosesIt) {
    procedure.init(dialog);
    stylus(kDown, 10);
    stylus(kMove, 120);
    stylus(kUp, 120);
    EXPECT_FALSE(dialog.ended()) << "lifted half way";
    stylus(kDown, 10);
    stylus(kMove, 230);
    EXPECT_TRUE(dialog.ended());
    EXPECT_EQ(dialog.result(), platform::kIdOk);
}

}  // namespace
}  // namespace wendra::test
