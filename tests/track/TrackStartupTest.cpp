// Start-up load with the recovery check and the questions, the restoration of a
// journal, and the shut-down save with backup and archive.

#include <gtest/gtest.h>

#include <filesystem>

#include "TrackFilesFixture.h"
#include "TrackFixtures.h"
#include "records/DayNumber.h"
#include "records/Text.h"
#include "track/FixJournal.h"
#include "track/TrackStartup.h"

namespace wendra::test {
namespace {

namespace fs = std::filesystem;
using platform::Answer;

constexpr std::u16string_view kContinue = u"Do you want to continue previous track?";
constexpr std::u16string_view kRestore =
    u"Wendra did not finish properly. Would you like to restore the previous track?";

// A walk north from the last golden point's day on, with a stop in the middle.
std::vector<Fix> walkWithAStop(int count) {
    std::vector<Fix> fixes;
    double north = 0.0;
    for (int i = 0; i < count; ++i) {
        const bool stopped = i >= 200 && i < 260;
        if (!stopped) north += 1.4;
        Fix fix;
        fix.latitude = northDegrees(north);
        fix.longitude = kBaseLongitude;
        fix.speed = stopped ? 0.3f : 5.0f;
        fix.altitude = 500.0f + static_cast<float>(i % 7);
        fix.course = stopped ? 90 : 0;
        fix.signal = 45.0f;
        fix.time = 9001.0 + i / kSecondsPerDay;
        fixes.push_back(fix);
    }
    return fixes;
}

class TrackStartupTest : public TrackFilesTestBase {
protected:
    StartupOutcome start() { return startupLoad(files, std::chrono::milliseconds(0)); }
    std::vector<std::u16string> questions() const {
        std::vector<std::u16string> texts;
        for (const platform::Message& m : boxes.shown()) texts.push_back(m.text);
        return texts;
    }
    void putYesterdaysTrack() { fs::copy_file(golden("points-v1.trc"), folders.layerFile(0)); }
};

TEST_F(TrackStartupTest, AFileOfTenBytesIsNoTrack) {
    writeFile(folders.layerFile(0), std::string(10, 'x'));
    writeFile(folders.layerFile(3), std::string(10, 'x'));
    const StartupOutcome outcome = start();
    EXPECT_FALSE(outcome.recoveryPending);
    EXPECT_TRUE(questions().empty());
    writeFile(folders.layerFile(0), std::string(11, 'x'));
    start();
    EXPECT_EQ(questions(), std::vector<std::u16string>{std::u16string(kContinue)});
}

TEST_F(TrackStartupTest, AsksWhetherToContinueOnlyInAskModeWithoutRecovery) {
    struct Case {
        const char* legend;
        DeleteMode mode;
        bool journal;
        Answer answer;
        bool asked;
        int points;  // in layer 0 afterwards (not counting restored fixes)
    };
    const Case cases[] = {
        {"ask, yes: continued", DeleteMode::Ask, false, Answer::Yes, true, 4},
        {"ask, no: a new track", DeleteMode::Ask, false, Answer::No, true, 0},
        {"never: continued without asking", DeleteMode::Never, false, Answer::No, false, 4},
        {"automatic: continued without asking", DeleteMode::Automatic, false, Answer::No, false, 4},
        {"a journal left: continued without asking", DeleteMode::Ask, true, Answer::No, false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.legend);
        TempDir folder;
        TrackFolders where = TrackFolders::inDataFolder(folder.path().string());
        fs::copy_file(golden("points-v1.trc"), where.layerFile(0));
        Track fresh;
        fresh.settings.deleteMode = c.mode;
        FixJournal freshJournal(where.journalFile());
        if (c.journal) freshJournal.append(walkWithAStop(1)[0]);
        TrackFiles freshFiles(fresh, where, busy, freshJournal);
        ScriptedMessageBoxes answers;
        answers.answer(c.answer);    // to the first question, whichever it is
        answers.answer(Answer::No);  // the restoration, when asked, is refused
        startupLoad(freshFiles, std::chrono::milliseconds(0));
        const bool asked = !answers.shown().empty() && answers.shown()[0].text == kContinue;
        EXPECT_EQ(asked, c.asked);
        EXPECT_EQ(fresh.main().count(), c.points);
        if (c.points == 0) {
            EXPECT_EQ(fs::file_size(where.layerFile(0)), 0u);
        }
        EXPECT_EQ(freshJournal.recordCount(), 0u);
    }
}

TEST_F(TrackStartupTest, LoadsTheDisplayLayers) {
    fs::copy_file(golden("points-trc5.wdt"), folders.layerFile(2));
    fs::copy_file(golden("points-v1.trc"), folders.layerFile(4));
    start();
    EXPECT_EQ(track.layer(2).count(), 4);
    EXPECT_EQ(track.layer(4).count(), 4);
    EXPECT_TRUE(track.main().empty());
}

// Yesterday's stored track and 500 journaled fixes give the points that recording
// those fixes live on top of yesterday's track gives; the journal is empty afterwards.
TEST_F(TrackStartupTest, RestoresTheJournalAsRecordingWould) {
    putYesterdaysTrack();
    const std::vector<Fix> fixes = walkWithAStop(500);
    for (const Fix& fix : fixes) journal.append(fix);
    boxes.answer(Answer::Yes);
    const StartupOutcome outcome = start();
    EXPECT_TRUE(outcome.recoveryPending);
    EXPECT_TRUE(outcome.restored);
    EXPECT_EQ(questions(), std::vector<std::u16string>{std::u16string(kRestore)});
    EXPECT_EQ(journal.recordCount(), 0u);

    Track live;
    FixJournal unused(inHome("unused.raw"));
    TrackFiles liveFiles(live, folders, busy, unused);
    liveFiles.loadLayer(0, golden("points-v1.trc"));
    for (const Fix& fix : fixes) live.addFix(trackFixOf(fix), true);
    EXPECT_GT(live.main().count(), 300);
    EXPECT_EQ(storedValues(track.main()), storedValues(live.main()));

    // What was stored is what is in memory.
    Track reloaded;
    TrackFiles reloadedFiles(reloaded, folders, busy, unused);
    reloadedFiles.loadLayer(0, folders.layerFile(0));
    EXPECT_EQ(storedValues(reloaded.main()), storedValues(track.main()));
}

TEST_F(TrackStartupTest, RefusingTheRestorationStartsAnEmptyTrack) {
    putYesterdaysTrack();
    journal.append(walkWithAStop(1)[0]);
    boxes.answer(Answer::No);
    const StartupOutcome outcome = start();
    EXPECT_TRUE(outcome.recoveryPending);
    EXPECT_FALSE(outcome.restored);
    EXPECT_TRUE(track.main().empty());
    EXPECT_EQ(fs::file_size(folders.layerFile(0)), 0u);
    EXPECT_EQ(journal.recordCount(), 0u);
}

TEST_F(TrackStartupTest, RestoresEvenWhenRecordingWasSwitchedOff) {
    for (const Fix& fix : walkWithAStop(20)) journal.append(fix);
    track.settings.recordTrack = false;
    boxes.answer(Answer::Yes);
    start();
    EXPECT_GT(track.main().count(), 10);
    EXPECT_FALSE(track.settings.recordTrack);
}

TEST_F(TrackStartupTest, ShutDownBacksUpAndStoresEveryLayer) {
    files.loadLayer(0, golden("points-v1.trc"));
    files.loadLayer(1, golden("points-v1.trc"));
    journal.append(walkWithAStop(1)[0]);
    ASSERT_TRUE(shutdownSave(files));
    EXPECT_EQ(readFile(folders.backupFile()), readFile(golden("points-v1.trc")));
    EXPECT_EQ(readFile(folders.layerFile(0)), readFile(golden("points-v1.trc")));
    EXPECT_EQ(readFile(folders.layerFile(1)), readFile(golden("points-v1.trc")));
    for (int layer = 2; layer < Track::kLayerCount; ++layer)
        EXPECT_EQ(fs::file_size(folders.layerFile(layer)), 0u);
    EXPECT_EQ(journal.recordCount(), 0u);
}

TEST_F(TrackStartupTest, ShutDownArchivesInArchiveMode) {
    files.loadLayer(0, golden("points-v1.trc"));
    track.settings.deleteMode = DeleteMode::Archive;
    track.settings.archiveFolder = widen(inHome("archive"));
    fs::create_directory(inHome("archive"));
    ASSERT_TRUE(shutdownSave(files));
    // The first point: Day 8663.333333, 2024-06-15 07:59:59.97 local, to the second.
    const std::string archive = inHome("archive") + "/240615-080000.wdt";
    EXPECT_EQ(archiveFileName(inHome("archive"), 8663.333333), archive);
    EXPECT_EQ(readFile(archive), readFile(golden("points-trc5.wdt")));
    EXPECT_TRUE(track.main().empty());
    EXPECT_EQ(fs::file_size(folders.layerFile(0)), 0u);
    EXPECT_EQ(readFile(folders.backupFile()), readFile(golden("points-v1.trc")));
}

TEST_F(TrackStartupTest, AFailedArchiveKeepsTheTrack) {
    files.loadLayer(0, golden("points-v1.trc"));
    track.settings.deleteMode = DeleteMode::Archive;
    track.settings.archiveFolder = widen(inHome("no-such-folder"));
    EXPECT_FALSE(shutdownSave(files));
    EXPECT_EQ(track.main().count(), 4);
    EXPECT_EQ(readFile(folders.layerFile(0)), readFile(golden("points-v1.trc")));
}

// A layer file that did not load whole stays on disk under another name, and the
// backup, yesterday's copy of the whole track, outlives the shut-down after it.
TEST_F(TrackStartupTest, ADamagedLayerFileIsKeptAsideAndTheBackupSurvives) {
    const std::string damaged = readFile(golden("malformed/length-broken.trc"));
    writeFile(folders.layerFile(0), damaged);
    writeFile(folders.layerFile(2), damaged);
    writeFile(folders.backupFile(), readFile(golden("points-v1.trc")));
    track.settings.deleteMode = DeleteMode::Automatic;
    start();
    EXPECT_EQ(track.main().count(), 3);
    EXPECT_EQ(track.layer(2).count(), 3);
    EXPECT_EQ(readFile(folders.layerFile(0) + ".damaged"), damaged);
    EXPECT_EQ(readFile(folders.layerFile(2) + ".damaged"), damaged);
    ASSERT_EQ(boxes.shown().size(), 2u);
    EXPECT_EQ(boxes.shown()[0].text,
              u"Some points of Wendra0.trc could not be read.\nThe file is kept as "
              u"Wendra0.trc.damaged");
    EXPECT_EQ(boxes.shown()[0].title, u"Error!");

    ASSERT_TRUE(shutdownSave(files));
    EXPECT_EQ(readFile(folders.backupFile()), readFile(golden("points-v1.trc")));
    EXPECT_EQ(readFile(folders.layerFile(0) + ".damaged"), damaged);
    EXPECT_EQ(track.main().count(), 3);

    // The next damage of the same file finds the first copy taken: it is kept too.
    writeFile(folders.layerFile(0), damaged + "x");
    track.clearLayer(0);
    start();
    EXPECT_EQ(readFile(folders.layerFile(0) + ".damaged"), damaged);
    EXPECT_EQ(readFile(folders.layerFile(0) + ".damaged1"), damaged + "x");
}

TEST_F(TrackStartupTest, AWholeFileReplacesTheBackupAsBefore) {
    writeFile(folders.layerFile(0), readFile(golden("points-trc5.wdt")));
    writeFile(folders.backupFile(), "older");
    track.settings.deleteMode = DeleteMode::Automatic;
    start();
    EXPECT_TRUE(boxes.shown().empty());
    ASSERT_TRUE(shutdownSave(files));
    EXPECT_FALSE(fs::exists(folders.layerFile(0) + ".damaged"));
    Track reread;
    TrackFiles rereadFiles(reread, folders, busy, journal);
    EXPECT_EQ(rereadFiles.loadLayer(0, folders.backupFile()).added, 4);
}

}  // namespace
}  // namespace wendra::test
