// Loading, writing and storing layers: segment breaks, the loader's notifications,
// colour override, smoothing only where the file has no smoothed values, and saves
// that never leave a damaged or half-committed file behind.

#include <gtest/gtest.h>

#include <filesystem>

#include "TrackFilesFixture.h"
#include "TrackFixtures.h"
#include "track/TrackRecords.h"

namespace wendra::test {
namespace {

namespace fs = std::filesystem;

class TrackFilesTest : public TrackFilesTestBase {
protected:
    // A text file of n points 10 m apart, one per second.
    std::string textTrack(int n, const std::string& name) {
        Track source;
        for (int i = 0; i < n; ++i) appendStored(source.layer(1), i * 10.0);
        const std::string path = inHome(name);
        std::string text;
        for (const TrackPoint* p = source.layer(1).first(); p; p = p->next)
            appendTextPointRecord(text, *p);
        writeFile(path, text);
        return path;
    }
};

TEST_F(TrackFilesTest, LoadingIntoATrackLeavesASegmentBreakBeforeTheNewPoints) {
    files.loadLayer(2, golden("points-trc5.wdt"));
    files.loadLayer(2, golden("points-v1.trc"));
    TrackLayer& layer = track.layer(2);
    ASSERT_EQ(layer.count(), 8);
    const TrackPoint* fourth = layer.first()->next->next->next;
    EXPECT_TRUE(fourth->has(kSegmentEnd));
    // Binary flags are taken as stored: P1 of the second file has only SegmentEnd.
    EXPECT_EQ(fourth->next->flags & kSegmentFlags, kSegmentEnd);
    // Display layers are numbered for the view.
    int index = 0;
    for (const TrackPoint* p = layer.first(); p; p = p->next) EXPECT_EQ(p->index, index++);
}

TEST_F(TrackFilesTest, TextRecordAfterASegmentEndStartsASegment) {
    appendStored(track.layer(1), 0.0);
    files.loadLayer(1, textTrack(2, "two.wdt"));
    const TrackPoint* firstLoaded = track.layer(1).first()->next;
    EXPECT_TRUE(firstLoaded->has(kSegmentStart));
    EXPECT_TRUE(firstLoaded->prev->has(kSegmentEnd));
}

TEST_F(TrackFilesTest, TellsTheMapLoaderEveryThousandRecordsFromTheFirst) {
    int notified = 0;
    files.hooks.notifyLoader = [&notified] { ++notified; };
    files.loadLayer(0, textTrack(2001, "long.wdt"));
    EXPECT_EQ(notified, 3);  // records 1, 1001 and 2001
}

TEST_F(TrackFilesTest, ShowsWhatItIsDoingOnTheStatusLine) {
    std::vector<std::u16string> shown;
    files.hooks.showStatus = [&shown](std::u16string_view text) { shown.emplace_back(text); };
    files.loadLayer(3, golden("points-v1.trc"));
    files.loadLayer(0, golden("points-v1.trc"));
    files.writeLayer(3, inHome("three"), true);
    files.writeLayer(0, inHome("zero"), true);
    const std::vector<std::u16string> expected = {
        u"loading track 3...", u"", u"Loading track...", u"",
        u"Saving layer 3...",  u"", u"Saving track...",  u""};
    EXPECT_EQ(shown, expected);
}

TEST_F(TrackFilesTest, ColourOverrideRecoloursEveryLoadedPoint) {
    files.loadLayer(1, golden("points-trc5.wdt"), 0x0207);
    for (const TrackPoint* p = track.layer(1).first(); p; p = p->next) EXPECT_EQ(p->colour, 0x0207);
}

// Binary files carry the smoothed values; text files get them recomputed, but only in
// the main layer.
TEST_F(TrackFilesTest, SmoothsOnlyTheMainLayerLoadedFromText) {
    files.loadLayer(0, golden("points-v1.trc"));
    EXPECT_FLOAT_EQ(track.main().first()->next->climbSpeed, -1.5f);
    EXPECT_FLOAT_EQ(track.main().first()->smoothAltitude, 1149.5f);
    track.clearLayer(0);

    files.loadLayer(0, textTrack(3, "three.wdt"));
    EXPECT_FLOAT_EQ(track.main().first()->smoothAltitude, 100.0f);
    files.loadLayer(1, textTrack(3, "three.wdt"));
    EXPECT_FLOAT_EQ(track.layer(1).first()->smoothAltitude, 0.0f);
}

TEST_F(TrackFilesTest, LoadingThinsToTheLayerLimit) {
    track.settings.maxLayerPointsIndex = 0;  // 1000 points
    files.loadLayer(1, textTrack(1200, "long.wdt"));
    EXPECT_EQ(track.layer(1).count(), 1000);
}

TEST_F(TrackFilesTest, SkipsDamagedRecordsAndGoesOn) {
    const LayerLoad load = files.loadLayer(1, golden("damaged.trc"));
    EXPECT_EQ(load.added, 3);
    EXPECT_FALSE(load.whole());
    Track expected;
    TrackFiles expectedFiles(expected, folders, busy, journal);
    expectedFiles.loadLayer(1, golden("points-v1.trc"));
    expected.layer(1).erase(expected.layer(1).first()->next);
    EXPECT_EQ(storedValues(track.layer(1)), storedValues(expected.layer(1)));
    EXPECT_TRUE(boxes.shown().empty());
}

// One damaged record among readable ones costs that record only: the file loads like
// the same file without it, and says that it did not load whole.
TEST_F(TrackFilesTest, ReadersPickUpAgainAfterADamagedRecord) {
    struct Case {
        const char* legend;
        const char* file;  // in malformed/
        int added;         // 3: all but P2
        bool whole;        // nothing at all was lost
    };
    const Case cases[] = {
        {"binary: P2's length broken, nothing says where P3 starts", "length-broken.trc", 3, false},
        {"binary: a byte of P2 lost, the lengths after it are off", "byte-lost.trc", 3, false},
        {"binary: P2 at 135 degrees north", "lat-off-globe.trc", 3, false},
        {"binary: P2's altitude is no number", "nan-altitude.trc", 3, false},
        {"text: a digit of P2's latitude broken", "digit-broken.wdt", 3, false},
        {"text: P2 at 216 degrees east", "lon-off-globe.wdt", 3, false},
        {"text: P2 weighs -5 fixes", "negative-weight.wdt", 3, false},
        {"text: P2's time is infinite", "infinite-time.wdt", 3, false},
        {"text: a lost newline joins P1 and P2, both whole", "newline-lost.wdt", 4, true},
        {"text: the first byte became the binary marker", "marked-text.wdt", 4, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.legend);
        const bool binary = std::string_view(c.file).ends_with(".trc");
        const bool allFour = c.added == 4;
        const std::string intact = readFile(golden(binary ? "points-v1.trc" : "points-trc5.wdt"));
        std::string withoutP2 = intact;
        if (binary) {
            const size_t record = (intact.size() - 1) / 4;
            withoutP2.erase(1 + record, record);
        } else {
            const size_t second = intact.find('\n') + 1;
            withoutP2.erase(second, intact.find('\n', second) + 1 - second);
        }
        writeFile(inHome("expected"), allFour ? intact : withoutP2);
        Track expected;
        TrackFiles expectedFiles(expected, folders, busy, journal);
        expectedFiles.loadLayer(0, inHome("expected"));

        track.clearLayer(0);
        const LayerLoad load = files.loadLayer(0, golden(std::string("malformed/") + c.file));
        EXPECT_TRUE(load.opened);
        EXPECT_EQ(load.whole(), c.whole);
        EXPECT_EQ(load.added, c.added);
        EXPECT_EQ(storedValues(track.main()), storedValues(expected.main()));
    }
    EXPECT_TRUE(boxes.shown().empty());
}

TEST_F(TrackFilesTest, AnUnreadableFileLoadsNothingAndSaysNothing) {
    appendStored(track.layer(1), 0.0);
    const LayerLoad missing = files.loadLayer(1, inHome("missing.trc"));
    EXPECT_FALSE(missing.opened);
    EXPECT_EQ(missing.failure, "No such file or directory");
    const LayerLoad folder = files.loadLayer(1, home.path().string());
    EXPECT_FALSE(folder.opened);
    EXPECT_EQ(folder.failure, "is a folder");
    EXPECT_EQ(track.layer(1).count(), 1);
    EXPECT_FALSE(track.layer(1).first()->has(kSegmentEnd));
    EXPECT_TRUE(boxes.shown().empty());
}

TEST_F(TrackFilesTest, AFailedWriteKeepsTheOldFileAndSaysSo) {
    const std::string target = inHome("kept.wdt");
    writeFile(target, "old content\n");
    files.loadLayer(1, golden("points-trc5.wdt"));
    EXPECT_FALSE(files.writeLayer(1, inHome("no/such/folder/x.wdt"), false));
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].text, u"Unable to open file!");
    EXPECT_EQ(boxes.shown()[0].title, u"Error!");
    EXPECT_EQ(readFile(target), "old content\n");
    EXPECT_EQ(track.layer(1).count(), 4);
}

TEST_F(TrackFilesTest, StoringAnEmptyLayerLeavesAnEmptyFile) {
    writeFile(folders.layerFile(2), "something stale");
    ASSERT_TRUE(files.storeLayer(2));
    EXPECT_EQ(fs::file_size(folders.layerFile(2)), 0u);
}

TEST_F(TrackFilesTest, StoresLayersBinaryUnlessTheOldFormatIsChosen) {
    files.loadLayer(1, golden("points-v1.trc"));
    ASSERT_TRUE(files.storeLayer(1));
    EXPECT_EQ(readFile(folders.layerFile(1)), readFile(golden("points-v1.trc")));
    files.oldSavingFormat = true;
    ASSERT_TRUE(files.storeLayer(1));
    EXPECT_EQ(readFile(folders.layerFile(1)), readFile(golden("points-trc5.wdt")));
}

TEST_F(TrackFilesTest, StoringTheMainLayerEmptiesTheJournal) {
    journal.append(Fix{45.0, 7.0, 1.0f, 2.0f, 3, 4.0f, 8000.0});
    files.loadLayer(0, golden("points-v1.trc"));
    ASSERT_TRUE(files.storeLayer(0));
    EXPECT_EQ(journal.recordCount(), 0u);
    EXPECT_FALSE(journal.asideExists());
    EXPECT_FALSE(fs::exists(files.stagedMainFile()));
    EXPECT_EQ(readFile(folders.layerFile(0)), readFile(golden("points-v1.trc")));
}

TEST_F(TrackFilesTest, AFailedStoreKeepsTheJournal) {
    journal.append(Fix{45.0, 7.0, 1.0f, 2.0f, 3, 4.0f, 8000.0});
    TrackFolders gone = TrackFolders::inDataFolder(inHome("missing"));
    gone.journal = folders.journal;
    TrackFiles elsewhere(track, gone, busy, journal);
    files.loadLayer(0, golden("points-v1.trc"));
    EXPECT_FALSE(elsewhere.storeLayer(0));
    EXPECT_EQ(journal.recordCount(), 1u);
    EXPECT_FALSE(journal.asideExists());
}

// The states a kill can leave a store of layer 0 in, and what start-up makes of them.
TEST_F(TrackFilesTest, FinishesOrDropsAStoreThatAKillInterrupted) {
    struct Case {
        const char* legend;
        bool staged;
        bool aside;
        std::string layerFile;  // after start-up
        size_t journalRecords;
    };
    const Case cases[] = {
        {"killed while writing: the old file and the journal", true, false, "old", 1},
        {"killed after the commit: the new file, no journal", true, true, "new", 0},
        {"killed after the rename: the journal set aside is dropped", false, true, "old", 0},
        {"nothing interrupted", false, false, "old", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.legend);
        writeFile(folders.layerFile(0), "old");
        journal.clear();
        journal.append(Fix{});
        if (c.staged) writeFile(files.stagedMainFile(), "new");
        if (c.aside) {
            ASSERT_TRUE(journal.setAside());
        }
        files.finishInterruptedStore();
        EXPECT_EQ(readFile(folders.layerFile(0)), c.layerFile);
        EXPECT_EQ(journal.recordCount(), c.journalRecords);
        EXPECT_FALSE(fs::exists(files.stagedMainFile()));
        EXPECT_FALSE(journal.asideExists());
    }
}

TEST_F(TrackFilesTest, NoFixIsHandedOverWhileAFileIsWritten) {
    bool busyWhileWriting = false;
    files.hooks.showStatus = [this, &busyWhileWriting](std::u16string_view text) {
        if (!text.empty()) busyWhileWriting = busy.busy();
    };
    files.storeLayer(0);
    EXPECT_TRUE(busyWhileWriting);
    EXPECT_FALSE(busy.busy());
    FileBusy::Recording recording(busy);
    EXPECT_TRUE(recording.admitted());
}

}  // namespace
}  // namespace wendra::test
