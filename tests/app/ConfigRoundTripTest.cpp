// Loading and saving the configuration: files written by this program, by a later
// version and by older ones, and damaged files, come back with nothing lost.

#include <filesystem>

#include "ConfigFixture.h"
#include "app/ConfigurationWriter.h"
#include "records/Text.h"

namespace wendra::test {
namespace {

struct GoldenCase {
    const char* name;
    const char* file;
    const char* legend;
};

class ConfigGoldenTest : public ConfigTest, public ::testing::WithParamInterface<GoldenCase> {};

TEST_P(ConfigGoldenTest, SavesExactlyWhatItLoaded) {
    const std::string original = golden(GetParam().file);
    ASSERT_TRUE(loadText(original));
    EXPECT_EQ(saved(), original) << GetParam().legend;
    EXPECT_TRUE(boxes.shown().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Goldens, ConfigGoldenTest,
    ::testing::Values(
        GoldenCase{"Full", "full.ini", "every kind, unbuilt kinds and unknown lines in place"},
        GoldenCase{"LaterVersion", "later-version.ini", "fields a later version added"},
        GoldenCase{"Defaults", "defaults.ini", "the defaults as the program writes them"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ConfigTest, ReadsTheFieldsOfEveryKindItOwns) {
    ASSERT_TRUE(loadText(golden("full.ini")));
    EXPECT_EQ(config.serial.portId, 3);
    EXPECT_EQ(config.serial.receiverRateIndex, 5);
    EXPECT_EQ(config.serial.options, 4097);
    EXPECT_EQ(config.status.viewWord, 554031298);
    EXPECT_FLOAT_EQ(config.status.manualScale, 1234567.25f);
    EXPECT_DOUBLE_EQ(config.status.centreLat, 0.256944444444);
    EXPECT_EQ(config.status.utmZone, 32);
    EXPECT_EQ(config.status.lastPointNumber, 17);
    EXPECT_TRUE(config.track.recordTrack);
    EXPECT_EQ(config.track.deleteMode, DeleteMode::Ask);
    EXPECT_EQ(config.track.maxPointsIndex, 4);
    EXPECT_DOUBLE_EQ(config.track.trailingLengthKm, 2.5);
    EXPECT_NEAR(config.track.minPointDistanceKm, 0.0025, 1e-12);
    EXPECT_EQ(config.track.climbWindow, 45);
    EXPECT_EQ(config.track.newPointColour, 5);
    ASSERT_EQ(config.alerts.size(), 3u);
    const Alert* climbing = config.alerts.find(u"Climbing");
    ASSERT_NE(climbing, nullptr);
    EXPECT_EQ(climbing->kind(), Alert::kAltitude);
    EXPECT_FLOAT_EQ(climbing->value, 1.2f) << "stored in metres, kept in km";
    EXPECT_EQ(config.nmea.flags, 1060);
    EXPECT_EQ(config.folder(Folder::BmpPath), u"/home/anna/Maps|with a bar");
    EXPECT_EQ(config.folder(Folder::TraceArchivePath), u"/home/anna/Tracks/Archive");
    EXPECT_EQ(config.folder(Folder::RecorderPath),
              widen("/home/anna/Dokumente/Aufnahmen f\xfcr Wendra"));
    EXPECT_EQ(config.keys.action(0, 17), 2);
    EXPECT_EQ(config.keys.action(4, 19), 45);
    EXPECT_TRUE(config.graph.axisByTime());
    EXPECT_EQ(config.graph.curves[3], 7);
    EXPECT_EQ(config.global.mapMemoryMb, 64);
    EXPECT_EQ(config.global.noFixSound, u"Son 3b");
    EXPECT_EQ(config.dashboards.cell(2, 2), Dashboards::kEmpty);
    const auto& cities = config.history.entries(AddressField::City);
    EXPECT_EQ(cities[1], widen("Z\xfcrich"));
    EXPECT_EQ(cities[2], u"Gen|ve");
}

TEST_F(ConfigTest, ReportsEachKindWithWhatWasDoneWithIt) {
    ASSERT_TRUE(loadText(golden("full.ini")));
    const auto& kinds = store.lastKinds();
    const auto find = [&](std::string_view kind) -> const KindCount* {
        for (const KindCount& known : kinds) {
            if (known.kind == kind) return &known;
        }
        return nullptr;
    };
    struct Expected {
        const char* kind;
        LineTreatment treatment;
        int count;
    };
    const Expected expected[] = {
        {"Version", LineTreatment::Unknown, 1},       {"Serial6", LineTreatment::Read, 1},
        {"RIRUvo|Alert", LineTreatment::Read, 3},     {"RIRUvo|Coord", LineTreatment::Unknown, 1},
        {"RIRUvo|TRK_COLOR", LineTreatment::Read, 1}, {"KeyD", LineTreatment::Read, 5},
        {"SatDsp", LineTreatment::Kept, 1},           {"Export3", LineTreatment::Kept, 1},
    };
    for (const Expected& want : expected) {
        const KindCount* got = find(want.kind);
        ASSERT_NE(got, nullptr) << want.kind;
        EXPECT_EQ(got->treatment, want.treatment) << want.kind;
        EXPECT_EQ(got->count, want.count) << want.kind;
    }
    EXPECT_EQ(kinds.front().kind, "Version") << "in the order first met";
}

TEST_F(ConfigTest, ReadsOlderKindsAndWritesTheirSuccessors) {
    ASSERT_TRUE(loadText(golden("older-kinds.ini")));
    EXPECT_EQ(config.global.options, 0x4004) << "Global3 predates the background option";
    EXPECT_EQ(config.global.mapMemoryMb, 0);
    EXPECT_EQ(config.status.viewWord, 1 << 24) << "navigation information line shows coordinates";
    const std::string text = saved();
    EXPECT_EQ(text.find("Global3"), std::string::npos);
    const size_t global = text.find("Global4|16388|0|0||\n");
    const size_t history = text.find("HStreet|");
    const size_t import = text.find("Import|2|TXT|\r\n");
    const size_t exported = text.find("Export2|1|GPX|\r\n");
    ASSERT_NE(global, std::string::npos);
    ASSERT_NE(import, std::string::npos) << "kept whole, line end and all";
    ASSERT_NE(exported, std::string::npos);
    EXPECT_LT(history, import) << "where Import1 goes";
    EXPECT_LT(import, exported) << "where Export3 goes";
    const size_t keys = text.find("KeyD|7|1|2|3|\r\n");
    ASSERT_NE(keys, std::string::npos) << "a set the reader refuses is kept";
    EXPECT_EQ(keys, exported + std::string_view("Export2|1|GPX|\r\n").size())
        << "after the line it followed";
}

TEST_F(ConfigTest, KeepsAnUnknownLineAfterTheRecordItFollowed) {
    struct Case {
        const char* legend;
        const char* after;   // the line the unknown one follows in the input
        const char* before;  // the line that must come after it on saving
    };
    const Case cases[] = {
        {"between two key sets", "KeyD|1|", "KeyD|2|"},
        {"between two folders", "ExportPath|", "NavigatePath|"},
        {"between the map view and the parser", "RIRUvo|Alert|", "NMEA2|"},
        {"between two dashboards", "Dash3|3|", "Dash3|4|"},
    };
    const std::string defaults = golden("defaults.ini");
    for (const Case& c : cases) {
        std::string input = defaults;
        const size_t line = input.find(c.after);
        ASSERT_NE(line, std::string::npos) << c.legend;
        input.insert(input.find('\n', line) + 1, "Mystery|42|\n");
        ASSERT_TRUE(loadText(input)) << c.legend;
        EXPECT_EQ(saved(), input) << c.legend;
    }
}

TEST_F(ConfigTest, KeepsALineLongerThanTheReadingBufferWhole) {
    const std::string longLine = "Panorama|" + std::string(20000, 'x') + "|";
    const std::string input = golden("defaults.ini") + longLine + "\n";
    ASSERT_TRUE(loadText(input));
    EXPECT_EQ(saved(), input);
}

TEST_F(ConfigTest, ReadsAHandheldFileWithCarriageReturns) {
    ASSERT_TRUE(loadText("TracePath|\\Storage Card\\Tracks|\r\nKeyD|2|1|2|3|\r\n"));
    EXPECT_EQ(config.folder(Folder::TracePath), u"\\Storage Card\\Tracks");
    EXPECT_EQ(config.keys.action(2, 2), 3);
    EXPECT_EQ(config.keys.action(2, 3), 0) << "missing fields take the codec's default";
}

// Whatever a file holds, what this program writes reads back to the same text.
TEST_F(ConfigTest, SavingWhatItSavedChangesNothing) {
    for (const auto& entry : std::filesystem::directory_iterator(testData() / "config")) {
        ASSERT_TRUE(loadText(readFile(entry.path())));
        const std::string first = saved();
        ASSERT_TRUE(files.load(DataFile::Configuration));
        EXPECT_EQ(saved(), first) << entry.path().filename();
    }
}

TEST_F(ConfigTest, LoadingAgainForgetsWhatTheLastFileHeld) {
    ASSERT_TRUE(loadText(golden("full.ini")));
    ASSERT_TRUE(loadText("Graph2|2|3|3|3|3|\n"));
    EXPECT_EQ(configurationText(config).find("Sharing9"), std::string::npos);
    EXPECT_EQ(config.folder(Folder::TracePath), u"");
    EXPECT_EQ(config.alerts.size(), 1u);
}

}  // namespace
}  // namespace wendra::test
