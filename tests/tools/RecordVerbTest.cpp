// wendra-tool record, restore and track, end to end on real files.

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "app/ConfigurationStore.h"
#include "app/DataFiles.h"
#include "gps/Fix.h"
#include "platform/Clock.h"
#include "records/DayNumber.h"
#include "support/TestPaths.h"

namespace wendra::test {
namespace {

namespace fs = std::filesystem;

std::string firstLines(const fs::path& path, int count) {
    std::stringstream in(readFile(path));
    std::string out, line;
    for (int i = 0; i < count && std::getline(in, line); ++i) out += line + "\n";
    return out;
}

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::stringstream in(text);
    std::string line;
    while (std::getline(in, line)) lines.push_back(line);
    return lines;
}

double numberAfter(const std::string& json, const std::string& key) {
    const size_t at = json.find("\"" + key + "\":");
    if (at == std::string::npos) return -1.0;
    return std::stod(json.substr(at + key.size() + 3));
}

Fix fixFromLine(const std::string& line) {
    Fix fix;
    fix.latitude = numberAfter(line, "lat");
    fix.longitude = numberAfter(line, "lon");
    fix.speed = static_cast<float>(numberAfter(line, "speed"));
    fix.altitude = static_cast<float>(numberAfter(line, "alt"));
    fix.course = static_cast<int32_t>(numberAfter(line, "course"));
    fix.signal = static_cast<float>(numberAfter(line, "signal"));
    fix.time = numberAfter(line, "time");
    return fix;
}

class RecordVerbTest : public ::testing::Test {
protected:
    RecordVerbTest() {
        // The first ten minutes of the demo walk: 600 cycles of seven sentences.
        writeFile(dir / "walk.nmea",
                  firstLines(fs::path(WENDRA_SOURCE_DIR) / "data/demo.nmea", 4200));
    }
    std::string home(const std::string& name) const { return (dir / name).string(); }
    TempDir dir;
};

TEST_F(RecordVerbTest, RecordsALogAndLeavesTheFilesOfAShutDown) {
    const ToolResult r = runTool({"record", "--home", home("h"), (dir / "walk.nmea").string()});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_GT(numberAfter(r.out, "fixes"), 1000);
    const int points = static_cast<int>(numberAfter(r.out, "points"));
    EXPECT_GT(points, 100);
    EXPECT_EQ(readFile(home("h") + "/Wendra0.trc"), readFile(home("h") + "/Wendra.bak"));
    EXPECT_EQ(fs::file_size(home("h") + "/Wendra1.trc"), 0u);
    EXPECT_FALSE(fs::exists(home("h") + "/journal/WendraTrc.raw"));

    const ToolResult dump = runTool({"track", "dump", home("h") + "/Wendra0.trc"});
    ASSERT_EQ(dump.status, 0) << dump.err;
    const std::vector<std::string> lines = linesOf(dump.out);
    ASSERT_EQ(static_cast<int>(lines.size()), points);
    // The fixes keep the receiver's times: the log starts 2024-06-15 08:00:00 UTC.
    const double start = dayNumberFromCivil({2024, 6, 15, 8, 0, 0, 0}) +
                         platform::systemClock().utcOffsetSeconds() / 86400.0;
    EXPECT_NEAR(numberAfter(lines.front(), "time"), start, 1e-9);
    EXPECT_NEAR(numberAfter(lines.back(), "time"), start + 599.0 / 86400.0, 2.0 / 86400.0);
}

// The log's fixes fed back from a journal take the same live path: the same file.
// The data folder's configuration rules the recording as it would in the program: here
// a main layer held to 1000 points (the whole demo hour makes about 3000), stored as
// text lines under "Old saving format".
TEST_F(RecordVerbTest, FollowsTheTrackSettingsOfTheConfigurationFile) {
    Configuration config;
    config.track.maxPointsIndex = 0;
    config.global.options |= ProgramOptions::kOldSavingFormat;
    ConfigurationStore store(config);
    NoStatusBanner banner;
    fs::create_directories(home("limited"));
    DataFiles files(home("limited"), banner);
    files.attach(DataFile::Configuration, store);
    ASSERT_TRUE(files.save(DataFile::Configuration));
    const std::string demo = (fs::path(WENDRA_SOURCE_DIR) / "data/demo.nmea").string();

    const ToolResult limited = runTool({"record", "--home", home("limited"), demo});
    ASSERT_EQ(limited.status, 0) << limited.err;
    EXPECT_LE(numberAfter(limited.out, "points"), kPointCountTable[0]);
    EXPECT_TRUE(readFile(home("limited") + "/Wendra0.trc").starts_with("RIRUvo|Trace|Trc5|"));
    const ToolResult free = runTool({"record", "--home", home("free"), demo});
    ASSERT_EQ(free.status, 0) << free.err;
    EXPECT_GT(numberAfter(free.out, "points"), 2 * kPointCountTable[0]);
    EXPECT_EQ(readFile(home("free") + "/Wendra0.trc").front(), '\xFF') << "the binary form";
}

TEST_F(RecordVerbTest, AJournalOfTheSameFixesRecordsTheSameTrack) {
    const ToolResult live =
        runTool({"record", "--home", home("live"), "--print-fixes", (dir / "walk.nmea").string()});
    ASSERT_EQ(live.status, 0) << live.err;
    std::string journal;
    for (const std::string& line : linesOf(live.out)) {
        if (line.find("\"lat\"") == std::string::npos) continue;
        const FixRecord record = encodeFix(fixFromLine(line));
        journal.append(record.begin(), record.end());
    }
    writeFile(dir / "fixes.raw", journal);
    const ToolResult replayed =
        runTool({"record", "--home", home("replayed"), "--journal", (dir / "fixes.raw").string()});
    ASSERT_EQ(replayed.status, 0) << replayed.err;
    EXPECT_EQ(linesOf(replayed.out).back(), linesOf(live.out).back());
    EXPECT_EQ(readFile(home("replayed") + "/Wendra0.trc"), readFile(home("live") + "/Wendra0.trc"));
}

TEST_F(RecordVerbTest, RefusesToRecordOverAJournalLeftBehind) {
    fs::create_directories(home("h") + "/journal");
    writeFile(home("h") + "/journal/WendraTrc.raw", std::string(80, '\0'));
    const ToolResult r = runTool({"record", "--home", home("h"), (dir / "walk.nmea").string()});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("holds 2 fixes"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("restore"), std::string::npos) << r.err;
    EXPECT_EQ(fs::file_size(home("h") + "/journal/WendraTrc.raw"), 80u);
}

TEST_F(RecordVerbTest, RestoreAnsweredNoStartsAnEmptyTrack) {
    fs::create_directories(home("h") + "/journal");
    const FixRecord record = encodeFix(Fix{46.7, 7.8, 4.0f, 600.0f, 10, 40.0f, 8663.4});
    writeFile(home("h") + "/journal/WendraTrc.raw", std::string(record.begin(), record.end()));
    const ToolResult r = runTool({"restore", "--home", home("h"), "--answer", "no"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "{\"recoveryPending\":true,\"restored\":false,\"points\":0}\n");
    EXPECT_NE(r.err.find("Would you like to restore the previous track? -> no"), std::string::npos);
    EXPECT_EQ(fs::file_size(home("h") + "/Wendra0.trc"), 0u);
}

TEST_F(RecordVerbTest, AReceiverOfSeveralSystemsRecordsOnlyWhenAllowed) {
    const std::string log = (sharedData() / "nmea" / "nl2008u.log").string();
    const ToolResult no = runTool({"record", "--home", home("no"), log});
    ASSERT_EQ(no.status, 0) << no.err;
    EXPECT_EQ(numberAfter(no.out, "fixes"), 0);
    EXPECT_NE(no.err.find("several satellite systems"), std::string::npos) << no.err;
    const ToolResult yes = runTool({"record", "--home", home("yes"), "--answer", "yes", log});
    ASSERT_EQ(yes.status, 0) << yes.err;
    EXPECT_GT(numberAfter(yes.out, "fixes"), 0);
}

TEST_F(RecordVerbTest, ConvertsAndDumpsTrackFiles) {
    const std::string text = (testData() / "track" / "points-trc5.wdt").string();
    const ToolResult convert = runTool({"track", "convert", text, home("out.trc")});
    ASSERT_EQ(convert.status, 0) << convert.err;
    EXPECT_EQ(convert.out, "{\"records\":4,\"skipped\":0,\"points\":4}\n");
    const ToolResult back =
        runTool({"track", "convert", "--text", home("out.trc"), home("back.wdt")});
    ASSERT_EQ(back.status, 0) << back.err;
    EXPECT_EQ(readFile(home("back.wdt")), readFile(text));

    const ToolResult dump =
        runTool({"track", "dump", (testData() / "track" / "points-v1.trc").string()});
    ASSERT_EQ(dump.status, 0) << dump.err;
    const std::vector<std::string> lines = linesOf(dump.out);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[1],
              "{\"kind\":\"binary 1\",\"lon\":0.043305444444,\"lat\":0.259416666667,"
              "\"speed\":4.56,\"altitude\":1149.1,\"heading\":249,\"signal\":49.7,\"weight\":1,"
              "\"flags\":2,\"colour\":3,\"time\":8663.333345,\"timeZone\":0,"
              "\"smoothAltitude\":1149.25,\"smoothSpeed\":4.5,\"smoothSignal\":49.75,"
              "\"climbSpeed\":-1.5}");
}

// The binary form carries the smoothed values, which the statistics climb by: a
// converted text track must measure as the text does.
TEST_F(RecordVerbTest, ConvertingTextToBinaryKeepsTheClimb) {
    std::string text;
    for (int i = 0; i < 12; ++i) {
        char line[160];
        std::snprintf(line, sizeof line,
                      "RIRUvo|Trace|Trc5|%.12f|%.12f|3.60|%.2f|0|40.0|1|0|0|%0.6f|0|\n",
                      7.0 / 180.0, 0.25 + 10.0 * i / 20037508.342789244, 500.0 + 5.0 * i,
                      8000.0 + i * 0.000125);
        text += line;
    }
    writeFile(home("climb.wdt"), text);
    ASSERT_EQ(runTool({"track", "convert", home("climb.wdt"), home("climb.trc")}).status, 0);
    const ToolResult fromText = runTool({"stats", home("climb.wdt")});
    const ToolResult fromBinary = runTool({"stats", home("climb.trc")});
    ASSERT_EQ(fromBinary.status, 0) << fromBinary.err;
    // The track's rows, not the machine's free memory below them.
    const auto trackRows = [](const std::string& out) { return out.substr(0, out.find("Memory")); };
    EXPECT_EQ(trackRows(fromBinary.out), trackRows(fromText.out));
    EXPECT_EQ(fromBinary.out.find("-Positive:\t0m\n"), std::string::npos) << fromBinary.out;
}

// A convert that cannot be done says so in one line and leaves OUT as it was.
TEST_F(RecordVerbTest, AFailedConvertLeavesOutAlone) {
    struct Case {
        const char* legend;
        std::string in;
        std::string out;
        const char* message;
    };
    writeFile(home("garbage"), std::string(200, '\x7f'));
    const std::string points = (testData() / "track" / "points-v1.trc").string();
    const Case cases[] = {
        {"missing IN", home("none.trc"), home("kept"), "No such file or directory"},
        {"IN is a folder", dir.path().string(), home("kept"), "is a folder"},
        {"IN holds no track point", home("garbage"), home("kept"), "no readable track point"},
        {"OUT cannot be written", points, home("no/such/folder/out"), "cannot write"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.legend);
        writeFile(home("kept"), "precious");
        const ToolResult r = runTool({"track", "convert", c.in, c.out});
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(linesOf(r.err).size(), 1u) << r.err;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
        EXPECT_EQ(readFile(home("kept")), "precious");
    }
}

TEST_F(RecordVerbTest, BadInputFailsWithAMessage) {
    struct Case {
        const char* legend;
        std::vector<std::string> args;
        const char* message;
    };
    const Case cases[] = {
        {"no home", {"record", "x.nmea"}, "--home"},
        {"log and journal", {"record", "--home", "h", "--journal", "j", "x.nmea"}, "either"},
        {"bad speed", {"record", "--home", "h", "--speed", "0", "x"}, "--speed"},
        {"missing log", {"record", "--home", home("h"), home("none.nmea")}, "cannot read"},
        {"bad answer", {"restore", "--home", "h", "--answer", "maybe"}, "--answer"},
        {"unreadable track", {"track", "dump", home("none.trc")}, "cannot read"},
        {"dump a folder", {"track", "dump", "."}, "cannot read \".\": is a folder"},
        {"stats of a folder", {"stats", "."}, "cannot read \".\": is a folder"},
        {"convert without out", {"track", "convert", "in"}, "IN and OUT"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.legend);
        const ToolResult r = runTool(c.args);
        EXPECT_EQ(r.status, 1);
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
    }
}

}  // namespace
}  // namespace wendra::test
