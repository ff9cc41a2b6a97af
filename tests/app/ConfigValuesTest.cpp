// What the configuration's readers keep of damaged values, and the configuration and
// track files under a decimal-comma locale.

#include <cmath>
#include <functional>

#include "ConfigFixture.h"
#include "support/DecimalComma.h"
#include "track/PointValues.h"
#include "track/TrackPoint.h"
#include "track/TrackRecords.h"

namespace wendra::test {
namespace {

// Each line holds values no writer produces; every such value keeps the field's default
// and nothing of it is saved back.
TEST_F(ConfigTest, ValuesOutOfRangeKeepTheirDefaults) {
    struct Case {
        const char* legend;
        const char* line;
        std::function<void(const Configuration&)> check;
    };
    const Case cases[] = {
        {"an infinite correction", "NMEA2|4|1e309|\n",
         [](const Configuration& c) {
             EXPECT_EQ(c.nmea.flags, 4);
             EXPECT_EQ(c.nmea.correction, 48.0f);
         }},
        {"a correction no geoid has", "NMEA2|12|-5000.0|\n",
         [](const Configuration& c) { EXPECT_EQ(c.nmea.correction, 48.0f); }},
        {"a flags word with every bit", "NMEA2|-1|46.9|\n",
         [](const Configuration& c) {
             EXPECT_EQ(c.nmea.flags, ParserFlags::kInitial) << "\"Update time\" stays off";
             EXPECT_FLOAT_EQ(c.nmea.correction, 46.9f);
         }},
        {"a flags word with an unknown bit", "NMEA2|2084|46.9|\n",
         [](const Configuration& c) { EXPECT_EQ(c.nmea.flags, ParserFlags::kInitial); }},
        {"no such port or reading rate", "Serial6|25|-1|9|4096|\n",
         [](const Configuration& c) {
             EXPECT_EQ(c.serial.portId, 0);
             EXPECT_EQ(c.serial.readingRateIndex, 0);
             EXPECT_EQ(c.serial.receiverRateIndex, 6) << "clamped, as the handheld did";
             EXPECT_EQ(c.serial.options, 4096);
         }},
        {"negative map memory", "Global4|16388|-64|0||\n",
         [](const Configuration& c) { EXPECT_EQ(c.global.mapMemoryMb, 0); }},
        {"a map view off the earth",
         "RIRUvo|Status7|1|0|9|-1|0|-2.00|-5.0|1.5|nan|0|61|-3|inf|-7|\n",
         [](const Configuration& c) {
             const Status7Record d;
             EXPECT_EQ(c.track.maxPointsIndex, d.maxPointsIndex);
             EXPECT_EQ(c.track.maxLayerPointsIndex, d.maxLayerPointsIndex);
             EXPECT_EQ(c.track.trailingLengthKm, 1.0);
             EXPECT_EQ(c.status.manualScale, d.manualScale);
             EXPECT_EQ(c.status.centreLon, 0.0);
             EXPECT_EQ(c.status.centreLat, 0.0);
             EXPECT_EQ(c.status.utmZone, 31);
             EXPECT_EQ(c.status.lastPointNumber, 0);
             EXPECT_NEAR(c.track.minPointDistanceKm, 0.001, 1e-12);
             EXPECT_EQ(c.track.climbWindow, 30);
         }},
        {"a southern zone and the edge of the map",
         "RIRUvo|Status7|1|0|8|0|0|3.00|2.0|-1.0|0.5|0|-60|4|",
         [](const Configuration& c) {
             EXPECT_EQ(c.track.maxPointsIndex, 8);
             EXPECT_EQ(c.status.centreLon, -1.0);
             EXPECT_EQ(c.status.centreLat, 0.5);
             EXPECT_EQ(c.status.utmZone, -60);
             EXPECT_EQ(c.status.lastPointNumber, 4);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.legend);
        ASSERT_TRUE(loadText(c.line));
        c.check(config);
        const std::string text = saved();
        EXPECT_EQ(text.find("inf"), std::string::npos);
        EXPECT_EQ(text.find("nan"), std::string::npos);
    }
}

using FilesUnderDecimalComma = DecimalCommaTest;

TEST_F(FilesUnderDecimalComma, TheConfigurationSavesWhatItLoaded) {
    for (const char* name : {"full.ini", "defaults.ini", "later-version.ini"}) {
        SCOPED_TRACE(name);
        TempDir home;
        RecordingBanner banner;
        Configuration config;
        ConfigurationStore store(config);
        DataFiles files(home.path().string(), banner);
        files.attach(DataFile::Configuration, store);
        const std::string original = readFile(testData() / "config" / name);
        writeFile(files.path(DataFile::Configuration), original);
        ASSERT_TRUE(files.load(DataFile::Configuration));
        ASSERT_TRUE(files.save(DataFile::Configuration));
        EXPECT_EQ(readFile(files.path(DataFile::Configuration)), original);
    }
}

TEST_F(FilesUnderDecimalComma, TheCorrectionKeepsItsDecimals) {
    Configuration config;
    ASSERT_TRUE(config.nmea.load("NMEA2|12|46.9|\n"));
    EXPECT_FLOAT_EQ(config.nmea.correction, 46.9f);
    EXPECT_EQ(config.nmea.record(), "NMEA2|12|46.9|\n");
}

TEST_F(FilesUnderDecimalComma, ATrackPointKeepsItsDecimals) {
    PointValues values;
    values.lat = 48.1173 / 180.0;
    values.lon = 11.516667 / 180.0;
    values.speed = 41.48f;
    values.altitude = 545.4f;
    values.signal = 38.5f;
    values.time = 8633.5;
    TrackPoint point;
    setPointValues(point, values, 0.001);
    std::string line;
    appendTextPointRecord(line, point);
    EXPECT_EQ(line.find(','), std::string::npos) << line;
    const std::optional<PointRecord> back = decodeTextPointRecord(line);
    ASSERT_TRUE(back.has_value()) << line;
    EXPECT_NEAR(back->values.lat, values.lat, 1e-12);
    EXPECT_NEAR(back->values.altitude, 545.4f, 0.01f);
    EXPECT_NEAR(back->values.time, 8633.5, 1e-6);
}

}  // namespace
}  // namespace wendra::test
