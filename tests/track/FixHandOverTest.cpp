// The fix hand-over, step by step: what reaches the parser, the journal, the main
// layer and the shell for each chunk, and the questions it asks about the receiver.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <thread>

#include "TrackFilesFixture.h"
#include "gps/NmeaTestSentences.h"
#include "platform/TraceLog.h"
#include "records/DayNumber.h"
#include "track/FixHandOver.h"
#include "track/TrackStartup.h"

namespace wendra::test {
namespace {

namespace fs = std::filesystem;
using platform::Answer;

class FakeListener final : public HandOverListener {
public:
    void requestRepaint() override { ++repaints; }
    void positionUpdated(const Fix& fix) override { positions.push_back(fix); }
    void settingsChanged() override { ++settingsChanges; }
    void fixJournaled(const Fix& fix) override {
        journaled.push_back(fix);
        if (onJournaled) onJournaled();
    }
    void showStatus(std::u16string_view text) override { statuses.emplace_back(text); }
    int repaints = 0;
    std::vector<std::u16string> statuses;
    int settingsChanges = 0;
    std::vector<Fix> positions;
    std::vector<Fix> journaled;
    std::function<void()> onJournaled;
};

// A GGA at `north` thousandths of a minute north of 48°07'.
std::string gga(int north, const char* time = "120000") {
    char body[128];
    std::snprintf(body, sizeof body, "GPGGA,%s,4807.%03d,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,",
                  time, north);
    return nmea(body);
}

class FixHandOverTest : public TrackFilesTestBase {
protected:
    FixHandOverTest()
        : statistics(track.settings.climbWindow),
          handOver({parser, serial, files, statistics, state, listener}) {
        serial.options = 0;
        serial.receiverRateIndex = 0;  // 4800
    }

    // One chunk, one second after the previous.
    void feed(const std::string& chunk) {
        clock.advanceMilliseconds(1000);
        handOver.handle(chunk);
    }
    std::vector<std::u16string> questions() const {
        std::vector<std::u16string> texts;
        for (const platform::Message& m : boxes.shown()) texts.push_back(m.text);
        return texts;
    }

    NmeaParser parser;
    SerialSettings serial;
    TrackStatistics statistics;
    HandOverState state;
    FakeListener listener;
    FixHandOver handOver;
};

TEST_F(FixHandOverTest, RecordsANewFixJournalFirst) {
    listener.onJournaled = [this] { EXPECT_TRUE(track.main().empty()); };
    feed(gga(38));
    ASSERT_EQ(journal.readAll(), std::vector<Fix>{parser.fix()});
    EXPECT_EQ(listener.journaled, std::vector<Fix>{parser.fix()});
    EXPECT_EQ(listener.positions, std::vector<Fix>{parser.fix()});
    EXPECT_EQ(state.position, PositionMark::Shown);
    ASSERT_EQ(track.main().count(), 1);
    EXPECT_DOUBLE_EQ(track.main().last()->lat * 180.0, parser.fix().latitude);
    EXPECT_EQ(parser.flags() & ParserFlags::kNewFix, 0);
    EXPECT_DOUBLE_EQ(state.lastFixTime, currentDayNumber());
    EXPECT_EQ(statistics.live().fix, parser.fix());
}

TEST_F(FixHandOverTest, CopiesTheLiveClimbSpeedIntoTheLastPoint) {
    for (int i = 0; i < 40; ++i) {
        char body[128];
        std::snprintf(body, sizeof body,
                      "GPGGA,1200%02d,4807.%03d,N,01131.000,E,1,08,0.9,%d.0,M,46.9,M,,", i,
                      100 + 10 * i, 500 + 2 * i);
        feed(nmea(body));
    }
    EXPECT_GT(statistics.liveClimbSpeed(), 0.0f);
    EXPECT_FLOAT_EQ(track.main().last()->climbSpeed, statistics.liveClimbSpeed());
}

TEST_F(FixHandOverTest, WithRecordingOffTheFixIsShownButNotKept) {
    track.settings.recordTrack = false;
    feed(gga(38));
    EXPECT_EQ(listener.positions.size(), 1u);
    EXPECT_EQ(journal.recordCount(), 0u);
    EXPECT_TRUE(track.main().empty());
}

TEST_F(FixHandOverTest, DropsChunksWhileATrackFileIsBusy) {
    {
        FileBusy::Scope busyFile(busy);
        feed(gga(38));
    }
    EXPECT_EQ(parser.sentenceCount(), 0);
    EXPECT_EQ(journal.recordCount(), 0u);
    feed(gga(38));
    EXPECT_EQ(journal.recordCount(), 1u);
}

TEST_F(FixHandOverTest, LogsTheRawChunksWhenAsked) {
    feed(gga(1));
    EXPECT_FALSE(fs::exists(folders.portLogFile()));
    serial.options |= SerialOptions::kLogPort;
    feed("$GPGGA,12");
    feed("0001,junk\r\n");
    EXPECT_EQ(readFile(folders.portLogFile()), "$GPGGA,120001,junk\r\n");
}

TEST_F(FixHandOverTest, MarksNoFixAndKeepsTheLastFixTime) {
    feed(gga(38));
    const double fixTime = state.lastFixTime;
    feed(nmea("GPGGA,120001,4807,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,"));
    EXPECT_EQ(state.position, PositionMark::NoFix);
    EXPECT_DOUBLE_EQ(state.lastFixTime, fixTime);
    EXPECT_EQ(track.main().count(), 1);
}

// The break falls in the silence: between the last point before it and the first after.
TEST_F(FixHandOverTest, ASilenceOfOverAMinuteEndsTheSegmentBeforeTheNextFix) {
    feed(gga(10));
    feed(gga(20));
    clock.advanceMilliseconds(61000);
    feed(gga(30));
    const TrackPoint* before = track.main().last()->prev;
    EXPECT_TRUE(before->has(kSegmentEnd));
    EXPECT_TRUE(track.main().last()->has(kSegmentStart));
    EXPECT_FALSE(track.main().last()->has(kSegmentEnd));
}

TEST_F(FixHandOverTest, TheLastSignalTimeFollowsSentencesFromAReceiver) {
    feed(gga(10));
    const double heard = state.lastSignalTime;
    EXPECT_DOUBLE_EQ(heard, currentDayNumber());
    feed("$XXABC,1,2*00\r\nnoise\r\n");
    EXPECT_DOUBLE_EQ(state.lastSignalTime, heard);
    feed(nmea("GPGSA,A,3,01,02,,,,,,,,,,,1.6,1.0,1.3"));
    EXPECT_DOUBLE_EQ(state.lastSignalTime, currentDayNumber());
}

TEST_F(FixHandOverTest, AChangedValueRestoresReconnectionsAndRepaintsUnlessDragging) {
    state.reconnectAllowance = 1;
    feed(gga(10));
    EXPECT_EQ(state.reconnectAllowance, HandOverState::kReconnectAllowance);
    EXPECT_EQ(listener.repaints, 1);
    state.quickDraw = true;
    feed(gga(20));
    EXPECT_EQ(listener.repaints, 1);
    state.quickDraw = false;
    feed("$GPXYZ,1*00\r\n");
    EXPECT_EQ(listener.repaints, 1);  // nothing changed
}

TEST_F(FixHandOverTest, AsksOnceAboutARateTheReceiverAnnounces) {
    struct Case {
        const char* legend;
        const char* announced;
        Answer answer;
        int32_t rateIndex;
    };
    const Case cases[] = {
        {"yes: the announced rate", "9600", Answer::Yes, 1},
        {"no: the rate stays", "9600", Answer::No, 0},
        {"yes to a rate not in the table: the rate stays", "1200", Answer::Yes, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.legend);
        NmeaParser freshParser;
        SerialSettings port;
        port.receiverRateIndex = 0;
        ScriptedMessageBoxes answers;
        answers.answer(c.answer);
        FixHandOver fresh({freshParser, port, files, statistics, state, listener});
        const std::string text = nmea(std::string("PSRFTXT,Baud rate,") + c.announced);
        fresh.handle(text);
        fresh.handle(text);
        ASSERT_EQ(answers.shown().size(), 1u);
        EXPECT_EQ(answers.shown()[0].text,
                  u"The GPS configuration seems to be wrong. Do you want to fix it?");
        EXPECT_EQ(answers.shown()[0].title, u"Confirmation!");
        EXPECT_EQ(port.receiverRateIndex, c.rateIndex);
        EXPECT_TRUE(port.has(SerialOptions::kRateAsked));
    }
    // The announced rate being the receiver's own asks nothing.
    feed(nmea("PSRFTXT,Baud rate,4800"));
    EXPECT_TRUE(boxes.shown().empty());
}

TEST_F(FixHandOverTest, OffersTheOtherSatelliteSystemsOnceWhenTheyAloneHavePositions) {
    const std::string gn = nmea("GNGGA,120000,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,");
    boxes.answer(Answer::Yes);
    feed(gn);
    EXPECT_EQ(
        questions(),
        std::vector<std::u16string>{
            u"The GPS sends the positions of several satellite systems. Do you want to use them?"});
    EXPECT_EQ(boxes.shown()[0].title, u"Confirmation!");
    EXPECT_TRUE(parser.flags() & ParserFlags::kAllSystems);
    EXPECT_TRUE(serial.has(SerialOptions::kAllSystemsAsked));
    EXPECT_EQ(listener.settingsChanges, 1);
    EXPECT_TRUE(track.main().empty());  // the asking chunk itself was not decoded
    feed(gn);
    EXPECT_EQ(track.main().count(), 1);
    EXPECT_EQ(boxes.shown().size(), 1u);
}

TEST_F(FixHandOverTest, DoesNotOfferTheOtherSystemsWhenGpsPositionsCome) {
    feed(gga(10) + nmea("GNGGA,120000,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,"));
    EXPECT_TRUE(boxes.shown().empty());
    SerialSettings asked;
    asked.options = SerialOptions::kAllSystemsAsked;
    NmeaParser freshParser;
    FixHandOver fresh({freshParser, asked, files, statistics, state, listener});
    fresh.handle(nmea("GNGGA,120000,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,"));
    EXPECT_TRUE(boxes.shown().empty());
}

// Delete mode Automatic: the first fix after the GPS comes back, over two hours after
// the last point, starts a new track, unless the track came back from the journal. A
// fix lost for hours with the GPS on is the same trip going on.
TEST_F(FixHandOverTest, ALongGapStartsANewTrackInAutomaticMode) {
    const std::string noFix = nmea("GPGGA,120001,4807,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,");
    enum class Before {
        SwitchedOn,  // the GPS was switched off and on again (the reader's mark)
        FixLost,     // the receiver went on talking without a fix
        StillShown,  // nothing in between
        ColdStart,   // a fresh start: sentences without a fix before the first one
    };
    struct Case {
        const char* legend;
        DeleteMode mode;
        Before before;
        bool recoveryPending;
        double hoursLater;
        int points;  // afterwards
    };
    const Case cases[] = {
        {"switched on three hours later: a new track", DeleteMode::Automatic, Before::SwitchedOn,
         false, 3, 1},
        {"a cold receiver at start, three hours later: a new track", DeleteMode::Automatic,
         Before::ColdStart, false, 3, 1},
        {"switched on one hour later: the track goes on", DeleteMode::Automatic, Before::SwitchedOn,
         false, 1, 2},
        {"three hours without a fix, GPS on: the track goes on", DeleteMode::Automatic,
         Before::FixLost, false, 3, 2},
        {"the position was still shown: the track goes on", DeleteMode::Automatic,
         Before::StillShown, false, 3, 2},
        {"recovered at start-up: the track goes on", DeleteMode::Automatic, Before::SwitchedOn,
         true, 3, 2},
        {"ask mode: the track goes on", DeleteMode::Ask, Before::SwitchedOn, false, 3, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.legend);
        track.clearLayer(0);
        track.settings.deleteMode = c.mode;
        state.recoveryPending = c.recoveryPending;
        state.position = PositionMark::Shown;
        feed(gga(10));
        if (c.before == Before::SwitchedOn) state.position = PositionMark::NotShown;
        if (c.before == Before::ColdStart) {
            state.position = PositionMark::NotShown;
            feed(noFix);
            EXPECT_EQ(state.position, PositionMark::NotShown) << "not shown is not a lost fix";
        }
        clock.advanceMilliseconds(static_cast<long long>(c.hoursLater * 3600000));
        if (c.before == Before::FixLost) {
            feed(noFix);
            EXPECT_EQ(state.position, PositionMark::NoFix);
        }
        feed(gga(900));
        EXPECT_EQ(track.main().count(), c.points);
        if (c.points == 1) {
            EXPECT_EQ(fs::file_size(folders.layerFile(0)), 0u);
        }
    }
}

// A journal that cannot be written is said at once, in the status text and the trace
// log, and once only; the fixes are recorded all the same, and the shut-down stores
// them in the layer file.
TEST_F(FixHandOverTest, AJournalThatCannotBeWrittenIsReportedAndTheTrackStillStored) {
    std::ofstream(folders.journal) << "a plain file where the folder should be";
    platform::traceLog().start(home.path());
    for (int i = 0; i < 5; ++i) feed(gga(100 * i));
    platform::traceLog().stop();
    EXPECT_EQ(listener.statuses,
              std::vector<std::u16string>{std::u16string(FixHandOver::kJournalFailedText)});
    const std::string log = readFile(home.path() / "TraceLog.txt");
    EXPECT_NE(log.find("Journal not written: " + folders.journalFile()), std::string::npos) << log;
    EXPECT_TRUE(listener.journaled.empty());
    ASSERT_EQ(track.main().count(), 5);

    EXPECT_TRUE(shutdownSave(files));
    Track reloaded;
    TrackFiles reloadedFiles(reloaded, folders, busy, journal);
    EXPECT_EQ(reloadedFiles.loadLayer(0, folders.layerFile(0)).added, 5);
    EXPECT_EQ(storedValues(reloaded.main()), storedValues(track.main()));
}

// The reader records while the window thread stores layer 0 again and again: whatever
// the interleaving, the stored file and the journal together still make the track.
TEST_F(FixHandOverTest, StoresDuringRecordingKeepFileAndJournalWhole) {
    std::atomic<bool> done{false};
    std::thread reader([this, &done] {
        for (int i = 0; i < 300; ++i) {
            feed(gga(10 * i % 1000));
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        done = true;
    });
    int stores = 0;
    while (!done) {
        files.storeLayer(0);
        ++stores;
        std::this_thread::sleep_for(std::chrono::milliseconds(3));
    }
    reader.join();
    EXPECT_GT(stores, 1);
    EXPECT_GT(track.main().count(), 10);

    Track restored;
    FixJournal sameJournal(folders.journalFile());
    TrackFiles restoredFiles(restored, folders, busy, sameJournal);
    boxes.answer(Answer::Yes);
    boxes.answer(Answer::Yes);
    startupLoad(restoredFiles, std::chrono::milliseconds(0));
    EXPECT_EQ(storedValues(restored.main()), storedValues(track.main()));
}

}  // namespace
}  // namespace wendra::test
