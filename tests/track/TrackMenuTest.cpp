// The track menu's file commands and the default name of a saved track.

#include <gtest/gtest.h>

#include <filesystem>

#include "TrackFilesFixture.h"
#include "TrackFixtures.h"
#include "records/Text.h"
#include "track/DefaultTrackName.h"
#include "support/ScriptedDialogHost.h"
#include "track/TrackMenu.h"
#include "track/TrackMenuScreen.h"

namespace wendra::test {
namespace {

namespace fs = std::filesystem;
using platform::Answer;

TEST(DefaultTrackName, NamesTheEndsAfterNearbyPointsOrTheLength) {
    // The track: 2024-06-15, from (0.25, 0.04) to 3 km further north.
    const double north3km = 3.0 / 20037.508342789242;
    const TrackNameInput track{8663.4, 0.25, 0.04, 0.25 + north3km, 0.04, 3.04f};
    const NamedPlace start{u"Thun/Lake", 0.25 + 0.1 / 20037.5, 0.04};
    const NamedPlace farStart{u"Far", 0.25 + 0.3 / 20037.5, 0.04};
    const NamedPlace end{u"Hut 2.1", 0.25 + north3km, 0.04};
    const NamedPlace automatic{u"240615-093000", 0.25, 0.04};
    struct Case {
        const char* legend;
        std::vector<NamedPlace> places;
        std::u16string expected;
    };
    const Case cases[] = {
        {"no point near: the length", {farStart}, u"Trc-240615-3,04km"},
        {"a start and an end", {start, end}, u"Trc-240615-Thun-Lake-Hut 2,1"},
        {"a start only: then the length", {start}, u"Trc-240615-Thun-Lake-3,04km"},
        {"an end only", {end}, u"Trc-240615-3,04km-Hut 2,1"},
        {"automatic names say nothing", {automatic}, u"Trc-240615-3,04km"},
        {"the nearest of two", {farStart, start}, u"Trc-240615-Thun-Lake-3,04km"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.legend);
        EXPECT_EQ(defaultTrackName(track, c.places, 0), c.expected);
    }
}

TEST(DefaultTrackName, RecognisesAutomaticPointNames) {
    EXPECT_TRUE(isAutomaticPointName(u"240615-093000"));
    EXPECT_FALSE(isAutomaticPointName(u"240615-09300"));
    EXPECT_FALSE(isAutomaticPointName(u"240615_093000"));
    EXPECT_FALSE(isAutomaticPointName(u"24O615-093000"));
}

class TrackMenuTest : public TrackFilesTestBase {
protected:
    TrackMenu menu() {
        TrackMenuContext context;
        context.chooseFile = [this](const FileChoice& choice) -> std::optional<std::u16string> {
            choices.push_back(choice);
            return chosen;
        };
        context.tracePath = &tracePath;
        context.requestRepaint = [this] { ++repaints; };
        return TrackMenu(files, context);
    }

    std::vector<FileChoice> choices;
    std::optional<std::u16string> chosen;
    std::u16string tracePath = u"/somewhere";
    int repaints = 0;
};

TEST_F(TrackMenuTest, SaveNeedsMoreThanOnePoint) {
    appendStored(track.main(), 0.0);
    EXPECT_FALSE(menu().save());
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].text, u"No track to save");
    EXPECT_EQ(boxes.shown()[0].title, u"Error!");
    EXPECT_TRUE(choices.empty());
}

TEST_F(TrackMenuTest, SaveWritesTextWhereChosenAndRemembersTheFolder) {
    files.loadLayer(0, golden("points-v1.trc"));
    fs::create_directory(inHome("tracks"));
    chosen = widen(inHome("tracks") + "/mine.wdt");
    ASSERT_TRUE(menu().save());
    ASSERT_EQ(choices.size(), 1u);
    EXPECT_TRUE(choices[0].save);
    EXPECT_EQ(choices[0].filterName, u"Track file");
    EXPECT_EQ(choices[0].extension, u".wdt");
    EXPECT_EQ(choices[0].folder, u"/somewhere");
    EXPECT_EQ(choices[0].proposedName.substr(0, 11), u"Trc-240615-");
    EXPECT_EQ(readFile(inHome("tracks") + "/mine.wdt"), readFile(golden("points-trc5.wdt")));
    EXPECT_EQ(tracePath, widen(inHome("tracks")));
    EXPECT_EQ(track.main().count(), 4);
}

TEST_F(TrackMenuTest, CancellingTheSaveWritesNothing) {
    files.loadLayer(0, golden("points-v1.trc"));
    EXPECT_FALSE(menu().saveAndDelete());
    EXPECT_EQ(track.main().count(), 4);
    EXPECT_EQ(tracePath, u"/somewhere");
}

TEST_F(TrackMenuTest, SaveAndDeleteClearsAndStoresTheMainLayer) {
    files.loadLayer(0, golden("points-v1.trc"));
    journal.append(Fix{});
    chosen = widen(inHome("saved.wdt"));
    ASSERT_TRUE(menu().saveAndDelete());
    EXPECT_TRUE(track.main().empty());
    EXPECT_EQ(fs::file_size(folders.layerFile(0)), 0u);
    EXPECT_EQ(journal.recordCount(), 0u);
    EXPECT_EQ(readFile(inHome("saved.wdt")), readFile(golden("points-trc5.wdt")));
}

TEST_F(TrackMenuTest, TakesThePreviousTrackBackFromTheBackup) {
    fs::copy_file(golden("points-v1.trc"), folders.backupFile());
    appendStored(track.main(), 0.0);
    journal.append(Fix{});
    boxes.answer(Answer::No);
    EXPECT_FALSE(menu().takePreviousTrackAgain());
    EXPECT_EQ(track.main().count(), 1);
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].text,
              u"You're going to lose current track. Do you want to continue?");

    boxes.answer(Answer::Yes);
    ASSERT_TRUE(menu().takePreviousTrackAgain());
    EXPECT_EQ(track.main().count(), 4);
    EXPECT_EQ(journal.recordCount(), 0u);
    // The main layer's file now holds what the journal no longer does.
    EXPECT_EQ(readFile(folders.layerFile(0)), readFile(golden("points-v1.trc")));
}

TEST_F(TrackMenuTest, TheLoadDialogListsTheLayersWithTheirPoints) {
    files.loadLayer(0, golden("points-v1.trc"));
    files.loadLayer(3, golden("points-v1.trc"));
    track.settings.newPointColour = 9;
    LoadTrackDialog dialog = menu().loadDialog();
    const std::vector<std::u16string> names = {u"Main (4 pts)", u"Layer 1 (0 pts)",
                                               u"Layer 2 (0 pts)", u"Layer 3 (4 pts)",
                                               u"Layer 4 (0 pts)"};
    EXPECT_EQ(dialog.layerNames, names);
    EXPECT_EQ(dialog.colour, 9);
    EXPECT_FALSE(dialog.forceColour);
    EXPECT_TRUE(dialog.replace);
    dialog.chooseColour(0x0103);
    EXPECT_TRUE(dialog.forceColour);
}

TEST_F(TrackMenuTest, LoadReplacesOrAppendsThenStoresTheLayer) {
    struct Case {
        const char* legend;
        bool replace;
        bool force;
        int points;
        int colour;  // of the last point
    };
    const Case cases[] = {
        {"replace, own colours", true, false, 4, 27},
        {"append, forced colour", false, true, 8, 0x0103},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.legend);
        track.clearLayer(2);
        files.loadLayer(2, golden("points-trc5.wdt"));
        chosen = widen(golden("points-v1.trc"));
        LoadTrackDialog dialog = menu().loadDialog();
        dialog.layer = 2;
        dialog.replace = c.replace;
        if (c.force) dialog.chooseColour(0x0103);
        ASSERT_TRUE(menu().load(dialog));
        EXPECT_EQ(track.layer(2).count(), c.points);
        EXPECT_EQ(track.layer(2).last()->colour, c.colour);
        Track reread;
        TrackFiles rereadFiles(reread, folders, busy, journal);
        rereadFiles.loadLayer(2, folders.layerFile(2));
        EXPECT_EQ(storedValues(reread.layer(2)), storedValues(track.layer(2)));
        EXPECT_FALSE(choices.back().save);
        EXPECT_EQ(choices.back().folder, u"/somewhere");
        tracePath = u"/somewhere";
    }
    EXPECT_EQ(repaints, 2);
}

// The menu as the user drives it: a button closes the menu and its command runs;
// "Load" asks for the layer first.
TEST_F(TrackMenuTest, TheMenuScreenRunsTheCommandPressed) {
    struct Case {
        const char* legend;
        int press;
        int layer;  // picked in "Load a track", -1 when no such dialog opens
        bool done;
        int mainPoints;
        int layer3Points;
        bool savedFile;
    };
    const Case cases[] = {
        {"Save writes the file and keeps the track", TrackMenuButton::kSave, -1, true, 4, 0, true},
        {"Save and Delete clears it", TrackMenuButton::kSaveAndDelete, -1, true, 0, 0, true},
        {"Load into layer 3", TrackMenuButton::kLoad, 3, true, 4, 4, false},
        {"Back does nothing", TrackMenuButton::kBack, -1, false, 4, 0, false},
        {"Delete is not built", TrackMenuButton::kDelete, -1, false, 4, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.legend);
        track.clearLayer(0);
        track.clearLayer(3);
        files.loadLayer(0, golden("points-v1.trc"));
        const std::string saved = inHome("screen.wdt");
        fs::remove(saved);
        chosen = widen(c.press == TrackMenuButton::kLoad ? golden("points-v1.trc") : saved);
        ScriptedDialogHost host;
        host.expect([&](ScriptedDialog& shown) {
            EXPECT_EQ(shown.title(), u"Track");
            if (!shown.press(c.press)) shown.press(TrackMenuButton::kBack);
        });
        if (c.layer >= 0)
            host.expect([&](ScriptedDialog& shown) {
                EXPECT_EQ(shown.title(), u"Load a track");
                EXPECT_EQ(shown.itemText(LoadTrackScreen::kLayer, 0), u"Main (4 pts)");
                EXPECT_TRUE(shown.checked(LoadTrackScreen::kReplace));
                EXPECT_TRUE(shown.pick(LoadTrackScreen::kLayer, c.layer));
                EXPECT_TRUE(shown.press(platform::kIdOk));
            });
        TrackMenu trackMenu = menu();
        EXPECT_EQ(runTrackMenu(trackMenu), c.done);
        EXPECT_EQ(host.scriptsLeft(), 0u);
        EXPECT_EQ(track.main().count(), c.mainPoints);
        EXPECT_EQ(track.layer(3).count(), c.layer3Points);
        if (c.savedFile)
            EXPECT_EQ(readFile(saved), readFile(golden("points-trc5.wdt")));
        else
            EXPECT_FALSE(fs::exists(saved));
    }
}

}  // namespace
}  // namespace wendra::test
