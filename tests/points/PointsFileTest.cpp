#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "points/PointRecords.h"
#include "points/PointsFile.h"
#include "support/ScriptedMessageBoxes.h"
#include "support/TestPaths.h"

namespace wendra::points {
namespace {

GpsPoint named(const std::u16string& name, uint32_t extraFlags = 0) {
    GpsPoint p;
    p.name = name;
    p.setPosition(46.0, 7.0);
    p.flags |= extraFlags;
    return p;
}

std::vector<std::u16string> namesOf(const PointStore& store) {
    std::vector<std::u16string> names;
    for (size_t i = 0; i < store.size(); ++i) names.push_back(store.at(i).name);
    return names;
}

class PointsFileTest : public ::testing::Test {
protected:
    test::TempDir dir;
    std::string path = (dir / "Wendra.wdp").string();
    test::ScriptedMessageBoxes boxes;
};

// Only the points that belong in the file are written, in list order, in both forms.
TEST_F(PointsFileTest, SavesThePointsThatBelongAndLoadsThemBack) {
    PointStore store;
    store.addPoint(named(u"first"));
    store.addPoint(named(u"temporary", kTemporaryRoutePoint));
    store.addPoint(named(u"route", kRouteOwned));
    GpsPoint invalid = named(u"invalid");
    invalid.setPosition(100.0, 0.0);
    store.addPoint(invalid);
    GpsPoint shared;
    shared.name = u"shared";
    shared.flags = kShared;
    store.addPoint(shared);
    store.addPoint(named(u"gps"));
    store.setGpsPositionObject(&store.at(5));
    store.addPoint(named(u"last", kNavigationTarget));
    for (const bool text : {true, false}) {
        SCOPED_TRACE(text ? "text" : "packed");
        store.setChanged(true);
        ASSERT_TRUE(savePointsFile(path, store, text));
        EXPECT_FALSE(store.changed());
        const std::string bytes = test::readFile(path);
        EXPECT_EQ(static_cast<unsigned char>(bytes.at(0)) == 0xFF, !text);
        PointStore loaded;
        const PointsLoad load = loadPointsFile(path, loaded);
        EXPECT_TRUE(load.opened);
        EXPECT_EQ(load.skipped, 0u);
        EXPECT_EQ(namesOf(loaded), (std::vector<std::u16string>{u"first", u"shared", u"last"}));
        EXPECT_FALSE(loaded.at(2).flags & kNavigationTarget);
    }
    EXPECT_TRUE(boxes.shown().empty());
}

TEST_F(PointsFileTest, AFailedSaveKeepsTheOldFileAndSays) {
    PointStore store;
    store.addPoint(named(u"kept"));
    ASSERT_TRUE(savePointsFile(path, store, true));
    const std::string before = test::readFile(path);
    store.addPoint(named(u"new"));
    store.setChanged(true);
    // A folder where the file should be cannot be replaced by a file.
    const std::string blocked = (dir / "blocked").string();
    std::filesystem::create_directory(blocked);
    EXPECT_FALSE(savePointsFile(blocked, store, false));
    EXPECT_FALSE(savePointsFile((dir / "missing" / "Wendra.wdp").string(), store, true));
    EXPECT_TRUE(store.changed());
    EXPECT_TRUE(std::filesystem::is_directory(blocked));
    EXPECT_EQ(test::readFile(path), before);
    const auto shown = boxes.shown();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].text, u"Unable to save config!");
    EXPECT_EQ(shown[0].title, u"Error!");
}

TEST_F(PointsFileTest, SkipsOtherKindsAndReportsProgress) {
    std::string text = "\nRIRUvo|NavPoint|GPSCoord|1|n|1|1|1|12|\nGarbage|\n";
    for (int i = 0; i < 2500; ++i) text += "GPSCoord|1|p|1.0|2.0|1|12|0||0||0||0|0||0|0|0.0|\r\n";
    test::writeFile(path, text);
    PointStore store;
    std::vector<size_t> calls;
    const PointsLoad load = loadPointsFile(path, store, [&](size_t n) { calls.push_back(n); });
    EXPECT_EQ(load.points, 2500u);
    EXPECT_EQ(load.skipped, 3u);
    EXPECT_EQ(calls, (std::vector<size_t>{1000, 2000}));
    EXPECT_EQ(store.size(), 2500u);

    PointStore none;
    EXPECT_FALSE(loadPointsFile((dir / "absent.wdp").string(), none).opened);
}

TEST(OlderConfiguration, TakesThePointsOfCoordRecords) {
    PointStore store;
    EXPECT_TRUE(readOlderConfigurationPoint(
        "RIRUvo|Coord|GPSCoord|3|Old|45.5|6.5|1|12|0||0||0||0|0||0|0|0.0|\n", store));
    EXPECT_FALSE(readOlderConfigurationPoint("RIRUvo|Coord|SharedPos|1|s|", store));
    EXPECT_FALSE(readOlderConfigurationPoint("RIRUvo|Status7|1|", store));
    EXPECT_FALSE(readOlderConfigurationPoint("GPSCoord|3|Old|45.5|6.5|", store));
    ASSERT_EQ(store.size(), 1u);
    EXPECT_EQ(store.at(0).name, u"Old");
    EXPECT_DOUBLE_EQ(store.at(0).longitude, 6.5);
}

// Inputs that once troubled the reader: each must load without harm.
TEST(PointsFileMalformed, LoadsEveryKeptInput) {
    const auto folder = test::testData() / "points" / "malformed";
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        SCOPED_TRACE(entry.path().string());
        PointStore store;
        EXPECT_TRUE(loadPointsFile(entry.path().string(), store).opened);
        for (size_t i = 0; i < store.size(); ++i) {
            EXPECT_LE(store.at(i).name.size(), kNameMax);
            EXPECT_LE(store.at(i).comment.size(), kCommentMax);
        }
        ++files;
    }
    EXPECT_GT(files, 0);
}

}  // namespace
}  // namespace wendra::points
