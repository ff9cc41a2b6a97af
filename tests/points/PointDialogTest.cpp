// The "GPS Point" dialog driven through the scripted host: what OK stores, and what it
// refuses with which box while the dialog stays open.

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "points/IconList.h"
#include "points/PointDialog.h"
#include "points/VoiceMemo.h"
#include "records/CoordinateFormat.h"
#include "records/Text.h"
#include "support/FakeVoiceRecorder.h"
#include "support/RecordingPlayer.h"
#include "support/ScriptedDialogHost.h"
#include "support/ScriptedMessageBoxes.h"
#include "support/TestPaths.h"

namespace wendra::points {
namespace {

namespace id = point_dialog;
using test::ScriptedDialog;

struct Outcome {
    bool stored = false;
    std::vector<platform::Message> boxes;
    std::u16string title;
    bool stillOpenAfterOk = false;
};

struct DialogSetup {
    PointStore store;
    IconList icons;
    PointDialogContext context;
    std::vector<std::u16string> registered;

    DialogSetup() {
        icons.load(std::filesystem::path(WENDRA_SOURCE_DIR) / "data" / "icons", 1);
        GpsPoint alice = newShared(u"alice");
        store.addPoint(alice);
        GpsPoint other;
        other.name = u"Hut";
        other.group = u"Alps";
        other.setPosition(46.5, 7.5);
        store.addPoint(other);
        store.setCounter(6);
        context.store = &store;
        context.icons = &icons;
        context.coordinateFormat = kFormatDegrees;
        context.gps = GeoPosition{46.1, 7.1};
        context.viewCentre = GeoPosition{45.25, 6.75};
        context.registerShare = [this](std::u16string_view shareId, std::u16string_view) {
            registered.emplace_back(shareId);
            return shareId == u"refused" ? std::u16string(u"Service says no") : std::u16string();
        };
    }

    static GpsPoint newShared(const char16_t* shareId) {
        GpsPoint p;
        p.name = shareId;
        p.flags = kShared;
        p.shareId = shareId;
        return p;
    }

    Outcome run(GpsPoint& point, bool adding, const std::function<void(ScriptedDialog&)>& act) {
        test::ScriptedDialogHost host;
        test::ScriptedMessageBoxes boxes;
        Outcome outcome;
        host.expect([&](ScriptedDialog& d) {
            outcome.title = d.title();
            act(d);
            d.press(platform::kIdOk);
            outcome.stillOpenAfterOk = !d.ended();
            if (!d.ended()) d.press(platform::kIdCancel);
        });
        outcome.stored = runPointDialog(point, adding, context);
        outcome.boxes = boxes.shown();
        return outcome;
    }
};

TEST(PointDialog, StoresTheFormIntoTheNewPoint) {
    DialogSetup s;
    GpsPoint point;
    const Outcome out = s.run(point, true, [&](ScriptedDialog& d) {
        EXPECT_EQ(d.itemCount(id::kGroup), 1) << "the groups that exist";
        d.type(id::kGroup, u"Lakes");
        d.type(id::kName, u"Beach");
        d.press(id::kUseManual);
        EXPECT_EQ(d.text(id::kLatitude), u"45.250000N");
        d.press(id::kUseGps);
        d.pick(id::kStatus, 2);
        d.pick(id::kLabel, 3);
        d.pick(id::kPicture, d.itemCount(id::kPicture) - 1);
        d.press(id::kCourseAndDistance);
        d.pick(id::kColour, 4);
        EXPECT_EQ(d.text(id::kAlert), u"None");
    });
    EXPECT_TRUE(out.stored);
    EXPECT_EQ(out.title, u"Add a point (7)");
    EXPECT_TRUE(out.boxes.empty());
    EXPECT_EQ(point.number, 7);
    EXPECT_EQ(point.group, u"Lakes");
    EXPECT_EQ(point.name, u"Beach");
    EXPECT_NEAR(point.latitude, 46.1, 1e-6);
    EXPECT_TRUE(point.positionValid());
    EXPECT_EQ(point.status(), PointStatus::Secondary);
    EXPECT_EQ(point.labelMode(), LabelMode::Icon);
    EXPECT_EQ(point.iconName, s.icons.names().back());
    EXPECT_EQ(point.iconIndex, static_cast<int>(s.icons.names().size()) - 1);
    EXPECT_TRUE(point.flags & kCourseAndDistance);
    EXPECT_EQ(point.colour, 4);
    EXPECT_TRUE(s.store.changed());
}

struct RefusalCase {
    const char* legend;
    bool shared;
    std::function<void(ScriptedDialog&)> act;
    std::u16string box;  // empty: accepted
    std::u16string title;
};

TEST(PointDialog, RefusesAFormThatIsNotComplete) {
    const auto named = [](ScriptedDialog& d) { d.type(id::kName, u"P"); };
    const std::vector<RefusalCase> cases = {
        {"a name is required", false, [](ScriptedDialog&) {}, u"You must enter a name!", u"Error!"},
        {"a latitude that does not parse", false,
         [&](ScriptedDialog& d) {
             named(d);
             d.type(id::kLatitude, u"");
         },
         u"Empty field", u"Error!"},
        {"a shared position needs an identifier", true, named, u"You must enter an identifier!",
         u"Error!"},
        {"the key is limited", true,
         [&](ScriptedDialog& d) {
             named(d);
             d.type(id::kShareId, u"bob");
             d.type(id::kShareKey, u"12345678901234567");
         },
         u"The encryption keys are limited to 16 characters", u"Error!"},
        {"identifiers are unique among shared positions", true,
         [&](ScriptedDialog& d) {
             named(d);
             d.type(id::kShareId, u"alice");
         },
         u"This identifier already exists", u"Error!"},
        {"the service refuses the identifier", true,
         [&](ScriptedDialog& d) {
             named(d);
             d.type(id::kShareId, u"refused");
         },
         u"Service says no", u"Error!"},
        {"a new identifier with a 16-character key", true,
         [&](ScriptedDialog& d) {
             named(d);
             d.type(id::kShareId, u"carol");
             d.type(id::kShareKey, u"1234567890123456");
         },
         u"", u""},
    };
    for (const RefusalCase& c : cases) {
        SCOPED_TRACE(c.legend);
        DialogSetup s;
        GpsPoint point = c.shared ? DialogSetup::newShared(u"") : GpsPoint();
        point.name.clear();
        if (!c.shared) point.setPosition(46.0, 7.0);
        const Outcome out = s.run(point, false, c.act);
        EXPECT_EQ(out.stored, c.box.empty());
        EXPECT_EQ(out.stillOpenAfterOk, !c.box.empty());
        ASSERT_EQ(out.boxes.size(), c.box.empty() ? 0u : 1u);
        if (!c.box.empty()) {
            EXPECT_EQ(out.boxes[0].text, c.box);
            EXPECT_EQ(out.boxes[0].title, c.title);
        }
    }
}

TEST(PointDialog, APositionTheFormatCannotShowDoesNotOpen) {
    DialogSetup s;
    s.context.coordinateFormat = kFormatSwiss;
    GpsPoint point;
    point.setPosition(40.0, 7.0);
    test::ScriptedDialogHost host;
    test::ScriptedMessageBoxes boxes;
    EXPECT_FALSE(runPointDialog(point, false, s.context));
    EXPECT_TRUE(host.shown().empty());
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].text, u"Unable to display the coordinates in the selected format.");
    EXPECT_EQ(boxes.shown()[0].title, u".Error");
}

TEST(PointDialog, CancelLeavesThePointAsItWas) {
    DialogSetup s;
    GpsPoint& hut = s.store.at(1);
    hut.number = 3;
    test::ScriptedDialogHost host;
    host.expect([](ScriptedDialog& d) {
        EXPECT_EQ(d.title(), u"Update the point (3)");
        d.type(id::kName, u"Changed");
        d.press(platform::kIdCancel);
    });
    EXPECT_FALSE(runPointDialog(hut, false, s.context));
    EXPECT_EQ(hut.name, u"Hut");
    EXPECT_EQ(s.store.counter(), 6);
}

// The memo buttons as the dialog shows them: which can be pressed, and the state line.
struct MemoButtons {
    bool record, stop, play, remove;
    std::u16string state;
    bool operator==(const MemoButtons&) const = default;
};

MemoButtons memoButtons(const ScriptedDialog& d) {
    return {d.enabled(id::kMemoRecord), d.enabled(id::kMemoStop), d.enabled(id::kMemoPlay),
            d.enabled(id::kMemoDelete), d.text(id::kMemoState)};
}

void PrintTo(const MemoButtons& b, std::ostream* out) {
    *out << "record " << b.record << ", stop " << b.stop << ", play " << b.play << ", delete "
         << b.remove << ", \"" << toUtf8(b.state) << '"';
}

const MemoButtons kNoMemo{true, false, false, false, u"None"};
const MemoButtons kRecording{false, true, false, false, u"Recording..."};
const MemoButtons kRecorded{true, false, true, true, u"Recorded"};

// "Add voice point": the dialog opens recording into the folder it makes, and OK ends
// the take so the memo is in place when the point is stored.
TEST(PointDialog, AVoicePointRecordsFromTheOpeningUntilOk) {
    DialogSetup s;
    test::TempDir home;
    test::FakeVoiceRecorder recorder;
    s.context.memoFolder = home / "WendraRecords";
    s.context.recordMemo = true;
    GpsPoint point;
    point.setPosition(46.0, 7.0);
    const Outcome out = s.run(point, true, [&](ScriptedDialog& d) {
        EXPECT_EQ(memoButtons(d), kRecording);
        EXPECT_TRUE(d.timerRunning(id::kMemoTimer));
        d.press(platform::kIdOk);
        EXPECT_EQ(memoButtons(d), kRecording) << "a refused OK goes on recording";
        d.type(id::kName, u"Spring");
    });
    EXPECT_TRUE(out.stored);
    ASSERT_EQ(out.boxes.size(), 1u);
    EXPECT_EQ(out.boxes[0].text, u"You must enter a name!");
    EXPECT_EQ(recorder.started(),
              (std::vector<std::filesystem::path>{home / "WendraRecords" / "00007.wav"}));
    EXPECT_EQ(recorder.state(), platform::VoiceRecorder::State::Idle);
    EXPECT_TRUE(hasVoiceMemo(s.context.memoFolder, point));
}

TEST(PointDialog, MemoButtonsRecordStopPlayAndDeleteWithItsQuestion) {
    DialogSetup s;
    test::TempDir home;
    test::FakeVoiceRecorder recorder;
    test::RecordingPlayer player;
    test::ScriptedMessageBoxes boxes;
    test::ScriptedDialogHost host;
    s.context.memoFolder = home.path();
    GpsPoint& hut = s.store.at(1);
    hut.number = 3;
    const auto memo = home / "00003.wav";
    host.expect([&](ScriptedDialog& d) {
        EXPECT_EQ(memoButtons(d), kNoMemo);
        EXPECT_TRUE(d.press(id::kMemoRecord));
        EXPECT_EQ(memoButtons(d), kRecording);
        EXPECT_TRUE(d.press(id::kMemoStop));
        EXPECT_EQ(memoButtons(d), kRecorded);
        EXPECT_FALSE(d.timerRunning(id::kMemoTimer));
        EXPECT_TRUE(d.press(id::kMemoPlay));
        EXPECT_EQ(player.played(), std::vector<std::filesystem::path>{memo});

        EXPECT_TRUE(d.press(id::kMemoRecord)) << "a new take over the memo";
        recorder.finishOnItsOwn();  // the microphone is pulled out
        d.fireTimer(id::kMemoTimer);
        EXPECT_EQ(memoButtons(d), kRecorded);

        boxes.answer(platform::Answer::Yes);
        EXPECT_TRUE(d.press(id::kMemoDelete));
        EXPECT_EQ(memoButtons(d), kNoMemo);
        d.press(platform::kIdCancel);
    });
    EXPECT_FALSE(runPointDialog(hut, false, s.context));
    EXPECT_EQ(recorder.started().size(), 2u);
    EXPECT_FALSE(std::filesystem::exists(memo));
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].text, u"Do you want to delete the voice memo");
}

// A recording that cannot start: without a microphone the state line says so and no box
// is shown; with one, a memo folder that cannot be made is said at each try.
TEST(PointDialog, ARecordingThatCannotStartSaysWhy) {
    struct Case {
        const char* legend;
        bool microphone;
        MemoButtons shown;
        std::size_t boxes;  // "Unable to open file!" at the opening and at the press
    };
    const Case cases[] = {
        {"no microphone", false, {false, false, false, false, u"Recorder not available"}, 0},
        {"a file where the folder should be", true, kNoMemo, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.legend);
        DialogSetup s;
        test::TempDir home;
        test::FakeVoiceRecorder recorder(c.microphone);
        test::writeFile(home / "taken", "");
        s.context.memoFolder = c.microphone ? home / "taken" : home.path();
        s.context.recordMemo = true;
        const Outcome out = s.run(s.store.at(1), false, [&](ScriptedDialog& d) {
            EXPECT_EQ(memoButtons(d), c.shown);
            EXPECT_EQ(d.press(id::kMemoRecord), c.microphone);
            EXPECT_EQ(memoButtons(d), c.shown);
        });
        EXPECT_TRUE(out.stored);
        ASSERT_EQ(out.boxes.size(), c.boxes);
        for (const platform::Message& box : out.boxes) {
            EXPECT_EQ(box.text, u"Unable to open file!");
            EXPECT_EQ(box.title, u"Error!");
        }
    }
}

}  // namespace
}  // namespace wendra::points
