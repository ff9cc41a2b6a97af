// The "GPS" dialog as the user works it: the controls it opens with, what its check
// boxes enable, "Search", "Play", and what OK, "Static Nav" and Cancel hand back.

#include "gps/GpsDialogWindow.h"

#include <gtest/gtest.h>

#include "GpsFakes.h"
#include "gps/SoundNames.h"
#include "platform/SoundPlayer.h"
#include "platform/WaitCursor.h"
#include "support/RecordingPlayer.h"
#include "support/ScriptedDialogHost.h"
#include "support/ScriptedMessageBoxes.h"
#include "support/TestPaths.h"

namespace wendra::test {
namespace {

using platform::Answer;
using platform::kIdCancel;
using platform::kIdOk;

constexpr std::u16string_view kRiskQuestion =
    u"Do you want to activate functions to manage StaticNav? Usage of those options is at "
    u"your own risk.";
constexpr std::u16string_view kDisableQuestion =
    u"The GPS will be disabled during use of these functions. Do you wan to continue?";

// The ports, with a wait cursor whose state each search notes.
class SearchingPorts final : public platform::SerialPorts, public platform::WaitCursorHost {
public:
    explicit SearchingPorts(FakePorts& ports) : ports_(ports), scope_(*this) {}
    platform::SerialOpenResult open(std::string_view name, int rate,
                                    platform::SerialAccess access) override {
        return ports_.open(name, rate, access);
    }
    std::vector<platform::PortDescription> describe() override { return ports_.describe(); }
    std::optional<platform::PortSearchResult> search() override {
        cursorDuringSearch.push_back(cursor);
        return ports_.search();
    }
    void show() override { ++cursor; }
    void hide() override { --cursor; }

    int cursor = 0;
    std::vector<int> cursorDuringSearch;

private:
    FakePorts& ports_;
    platform::ScopedWaitCursorHost scope_;
};

class GpsDialogWindowTest : public ::testing::Test {
protected:
    GpsDialogWindowTest() {
        ports.described = {{2, "u-blox 7 (ttyACM0)"}, {10, "gpsd 127.0.0.1:2947"}};
        current.serial = SerialSettings{2, 1, 1, SerialOptions::kAutoReconnect};
        current.parserFlags = ParserFlags::kGeoidCorrection;
        current.correction = 46.94f;
        current.noFixSound = u"Beep";
    }

    GpsDialogSetup setup() {
        return {*portsInUse,
                bluetooth,
                {u"Alarm", u"Beep"},
                folder.path(),
                [this](GpsDialogButton button, const GpsDialogValues& values) {
                    taken.emplace_back(button, values);
                    return startWorks;
                }};
    }

    std::optional<GpsDialogValues> run() { return runGpsDialog(current, setup()); }

    FakePorts ports;
    platform::SerialPorts* portsInUse = &ports;
    TempDir folder;
    ScriptedDialogHost dialogs;
    ScriptedMessageBoxes boxes;
    GpsDialogValues current;
    bool bluetooth = false;
    bool startWorks = true;
    std::vector<std::pair<GpsDialogButton, GpsDialogValues>> taken;
};

TEST_F(GpsDialogWindowTest, OpensWithTheSettingsAndOkTakesWhatWasChanged) {
    dialogs.expect([](ScriptedDialog& dialog) {
        EXPECT_EQ(dialog.title(), u"GPS");
        ASSERT_EQ(dialog.itemCount(kGpsPortListId), 20);
        EXPECT_EQ(dialog.itemText(kGpsPortListId, 10), u"GPD0: gpsd 127.0.0.1:2947");
        EXPECT_EQ(dialog.selection(kGpsPortListId), 2);
        EXPECT_EQ(dialog.itemCount(kGpsRateListId), 7);
        EXPECT_EQ(dialog.selection(kGpsRateListId), 1);
        EXPECT_EQ(dialog.text(kGpsCorrectionId), u"46.9");
        EXPECT_TRUE(dialog.checked(kGpsGeoidId));
        EXPECT_TRUE(dialog.checked(kGpsAutoReconnectId));
        EXPECT_FALSE(dialog.checked(kGpsDeactivateId));
        EXPECT_EQ(dialog.itemText(kGpsSoundListId, 0), u"None");
        EXPECT_EQ(dialog.selection(kGpsSoundListId), 2) << "Beep";

        EXPECT_TRUE(dialog.pick(kGpsPortListId, 10));
        EXPECT_TRUE(dialog.pick(kGpsRateListId, 6));
        EXPECT_TRUE(dialog.type(kGpsCorrectionId, u"12.5"));
        EXPECT_TRUE(dialog.press(kGpsUpdateTimeId));
        EXPECT_TRUE(dialog.press(kGpsDeactivateId));
        EXPECT_FALSE(dialog.checked(kGpsAllSystemsId));
        EXPECT_TRUE(dialog.press(kGpsAllSystemsId));
        EXPECT_TRUE(dialog.pick(kGpsSoundListId, 0));
        EXPECT_TRUE(dialog.press(kIdOk));
        EXPECT_TRUE(dialog.ended());
    });
    const std::optional<GpsDialogValues> values = run();
    ASSERT_TRUE(values);
    EXPECT_EQ(values->serial.portId, 10);
    EXPECT_EQ(values->serial.readingRateIndex, 6);
    EXPECT_EQ(values->serial.options, SerialOptions::kAutoReconnect | SerialOptions::kDeactivated |
                                          SerialOptions::kAllSystemsAsked)
        << "ticking the satellite systems answers the reader's question";
    EXPECT_EQ(values->parserFlags,
              ParserFlags::kGeoidCorrection | ParserFlags::kSetClock | ParserFlags::kAllSystems);
    EXPECT_FLOAT_EQ(values->correction, 12.5f);
    EXPECT_EQ(values->noFixSound, u"");
    ASSERT_EQ(taken.size(), 1u);
    EXPECT_EQ(taken[0].first, GpsDialogButton::Ok);
    EXPECT_EQ(taken[0].second.serial.portId, 10);
    EXPECT_TRUE(boxes.shown().empty());
}

TEST_F(GpsDialogWindowTest, CancelReturnsNothingAndTakesNothing) {
    dialogs.expect([](ScriptedDialog& dialog) {
        dialog.pick(kGpsPortListId, 5);
        dialog.press(kIdCancel);
    });
    EXPECT_EQ(run(), std::nullopt);
    EXPECT_TRUE(taken.empty());
}

TEST_F(GpsDialogWindowTest, OkStaysOpenUntilTheGpsStarts) {
    startWorks = false;
    dialogs.expect([this](ScriptedDialog& dialog) {
        dialog.press(kIdOk);
        EXPECT_FALSE(dialog.ended()) << "the GPS did not start: the user may change the port";
        dialog.pick(kGpsPortListId, 3);
        startWorks = true;
        dialog.press(kIdOk);
        EXPECT_TRUE(dialog.ended());
    });
    const auto values = run();
    ASSERT_TRUE(values);
    EXPECT_EQ(values->serial.portId, 3);
    ASSERT_EQ(taken.size(), 2u);
    EXPECT_EQ(taken[0].second.serial.portId, 2);
}

TEST_F(GpsDialogWindowTest, SearchSelectsTheFoundPortUnderTheWaitCursor) {
    SearchingPorts searching(ports);
    portsInUse = &searching;
    ports.found = platform::PortSearchResult{10, 38400};
    dialogs.expect([&](ScriptedDialog& dialog) {
        EXPECT_TRUE(dialog.press(kGpsSearchId));
        EXPECT_EQ(searching.cursorDuringSearch, std::vector<int>{1});
        EXPECT_EQ(searching.cursor, 0) << "the cursor is back to normal";
        EXPECT_EQ(dialog.selection(kGpsPortListId), 10);
        EXPECT_EQ(dialog.selection(kGpsRateListId), 4);
        EXPECT_TRUE(dialog.enabled(kGpsSearchId));
        dialog.press(kIdOk);
    });
    const auto values = run();
    ASSERT_TRUE(values);
    EXPECT_EQ(values->serial.portId, 10);
    EXPECT_EQ(values->serial.readingRateIndex, 4);
    EXPECT_EQ(values->serial.receiverRateIndex, 4) << "the found rate is the receiver's";

    ports.found.reset();
    dialogs.expect([](ScriptedDialog& dialog) {
        EXPECT_TRUE(dialog.press(kGpsSearchId));
        EXPECT_FALSE(dialog.enabled(kGpsSearchId)) << "nothing found";
        EXPECT_FALSE(dialog.press(kGpsSearchId));
        EXPECT_EQ(dialog.selection(kGpsPortListId), 2);
        dialog.press(kIdCancel);
    });
    EXPECT_EQ(run(), std::nullopt);
}

TEST_F(GpsDialogWindowTest, CheckBoxesEnableWhatDependsOnThem) {
    struct Case {
        const char* legend;
        int box;
        std::vector<int> dependents;
    };
    const Case cases[] = {
        {"geoid correction", kGpsGeoidId, {kGpsAutoCorrectionId, kGpsCorrectionId}},
        {"StaticNav functions", kGpsStaticNavFunctionsId, {kGpsStaticNavId}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.legend);
        dialogs.expect([&](ScriptedDialog& dialog) {
            const bool onAtStart = dialog.checked(c.box);
            for (int id : c.dependents) EXPECT_EQ(dialog.enabled(id), onAtStart);
            dialog.press(c.box);
            for (int id : c.dependents) EXPECT_EQ(dialog.enabled(id), !onAtStart);
            dialog.press(c.box);
            for (int id : c.dependents) EXPECT_EQ(dialog.enabled(id), onAtStart);
            dialog.press(kIdCancel);
        });
        run();
    }
    for (const bool available : {false, true}) {
        bluetooth = available;
        dialogs.expect([&](ScriptedDialog& dialog) {
            EXPECT_EQ(dialog.enabled(kGpsBluetoothId), available);
            dialog.press(kIdCancel);
        });
        run();
    }
}

TEST_F(GpsDialogWindowTest, NoToTheStaticNavRiskUnchecksItAndKeepsTheDialogOpen) {
    boxes.answer(Answer::No);
    dialogs.expect([](ScriptedDialog& dialog) {
        dialog.press(kGpsStaticNavFunctionsId);
        dialog.press(kIdOk);
        EXPECT_FALSE(dialog.ended());
        EXPECT_FALSE(dialog.checked(kGpsStaticNavFunctionsId));
        EXPECT_FALSE(dialog.enabled(kGpsStaticNavId));
        dialog.press(kIdOk);
        EXPECT_TRUE(dialog.ended()) << "nothing newly checked: no question";
    });
    const auto values = run();
    ASSERT_TRUE(values);
    EXPECT_FALSE(values->staticNavFunctions);
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].text, kRiskQuestion);
    EXPECT_EQ(boxes.shown()[0].title, u"Confirmation");
    EXPECT_EQ(taken.size(), 1u);
}

TEST_F(GpsDialogWindowTest, StaticNavTakesTheValuesAndComesBackToTheDialog) {
    boxes.answer(Answer::Yes);  // the risk
    boxes.answer(Answer::No);   // disabling the GPS
    boxes.answer(Answer::Yes);  // the risk, again: nothing was taken
    boxes.answer(Answer::Yes);  // disabling the GPS
    dialogs.expect([this](ScriptedDialog& dialog) {
        EXPECT_FALSE(dialog.press(kGpsStaticNavId)) << "disabled until the functions are on";
        dialog.press(kGpsStaticNavFunctionsId);
        dialog.press(kGpsStaticNavId);
        EXPECT_TRUE(taken.empty()) << "No to disabling the GPS";
        dialog.press(kGpsStaticNavId);
        ASSERT_EQ(taken.size(), 1u);
        EXPECT_EQ(taken[0].first, GpsDialogButton::StaticNav);
        EXPECT_TRUE(taken[0].second.staticNavFunctions);
        EXPECT_FALSE(dialog.ended());
        dialog.press(kIdOk);
    });
    const auto values = run();
    ASSERT_TRUE(values);
    EXPECT_TRUE(values->staticNavFunctions);
    EXPECT_EQ(boxes.shown().size(), 4u) << "OK does not ask again about what was taken";
    const std::vector<std::u16string> asked = {boxes.shown()[1].text, boxes.shown()[3].text};
    EXPECT_EQ(asked, (std::vector<std::u16string>(2, std::u16string(kDisableQuestion))));
}

TEST_F(GpsDialogWindowTest, PlayPlaysTheChosenSoundFromTheFolder) {
    RecordingPlayer player;
    dialogs.expect([](ScriptedDialog& dialog) {
        dialog.press(kGpsPlayId);
        dialog.pick(kGpsSoundListId, 1);
        dialog.press(kGpsPlayId);
        dialog.pick(kGpsSoundListId, 0);
        dialog.press(kGpsPlayId);
        dialog.press(kIdCancel);
    });
    run();
    EXPECT_EQ(player.played(),
              (std::vector<std::filesystem::path>{folder / "Beep.wav", folder / "Alarm.wav"}))
        << "nothing for the first entry";
}

TEST(SoundNames, ListsTheWavFilesWithoutTheirExtension) {
    TempDir folder;
    for (const char* name : {"b.wav", "A.WAV", "notes.txt", ".wav", "wav", "pop.wav.bak"})
        writeFile(folder / name, "");
    std::filesystem::create_directories(folder / "voice.wav");
    EXPECT_EQ(soundNames(folder.path()), (std::vector<std::u16string>{u"A", u"b"}));
    EXPECT_TRUE(soundNames(folder / "missing").empty());
}

TEST(SoundNames, SoundFileStaysInsideTheFolder) {
    EXPECT_EQ(soundFile("/data", u"Beep"), std::filesystem::path("/data/Beep.wav"));
    for (const char16_t* name : {u"", u"/etc/passwd", u"../Beep"})
        EXPECT_TRUE(soundFile("/data", name).empty()) << "a name with a slash, or none";
}

}  // namespace
}  // namespace wendra::test
