// The point records byte for byte against files written by hand from the record
// layouts (tests/data/track/make-golden.py), and the conversions of the older kinds.

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "TrackFilesFixture.h"
#include "records/BinaryRecord.h"
#include "track/TrackRecords.h"

namespace wendra::test {
namespace {

class TrackRecordsTest : public TrackFilesTestBase {};

// Loads a golden file into a display layer and writes it back in the other form.
TEST_F(TrackRecordsTest, RewritesEveryFormByteForByte) {
    struct Case {
        const char* legend;
        const char* input;
        bool binary;
        const char* expected;
    };
    const Case cases[] = {
        {"text stays text", "points-trc5.wdt", false, "points-trc5.wdt"},
        {"version 1 stays version 1, smoothed values and climb kept", "points-v1.trc", true,
         "points-v1.trc"},
        {"version 0 is written as version 1 without climb speed", "points-v0.trc", true,
         "points-v0-as-v1.trc"},
        {"text to binary: no smoothed values to carry", "points-trc5.wdt", true,
         "points-text-as-v1.trc"},
        {"binary to text drops the smoothed values", "points-v1.trc", false, "points-trc5.wdt"},
        {"older kinds come back as Trc5 with their conversions", "old-kinds.wdt", false,
         "old-kinds-as-trc5.wdt"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.legend);
        track.clearLayer(1);
        files.loadLayer(1, golden(c.input));
        const std::string out = inHome("out");
        ASSERT_TRUE(files.writeLayer(1, out, c.binary));
        EXPECT_EQ(readFile(out), readFile(golden(c.expected)));
    }
    EXPECT_TRUE(boxes.shown().empty());
}

TEST_F(TrackRecordsTest, OlderKindsConvertAsTheirLayoutSays) {
    const std::string lat = "0.333333333333";
    const double cosLat = std::cos(0.333333333333 * kPi);
    struct Case {
        const char* legend;
        std::string line;
        double lon;
        float signal;
        int timeZone;  // kNoValue: the device's
    };
    const Case cases[] = {
        {"Trc divides the first field by cos(latitude) and converts the signal",
         "Trc|0.05|" + lat + "|1|2|3|230.0|1|0|0|5.5|", 0.05 / cosLat, 41.0f, kNoValue},
        {"Trc2 converts the signal only", "Trc2|0.05|" + lat + "|1|2|3|230.0|1|0|0|5.5|", 0.05,
         41.0f, kNoValue},
        {"Trc3 takes the signal as it is", "Trc3|0.05|" + lat + "|1|2|3|60.0|1|0|0|5.5|", 0.05,
         60.0f, kNoValue},
        {"Trc4 reads and ignores its zone", "Trc4|0.05|" + lat + "|1|2|3|60.0|1|0|0|5.5|7|", 0.05,
         60.0f, kNoValue},
        {"Trc5 keeps its zone", "Trc5|0.05|" + lat + "|1|2|3|60.0|1|0|0|5.5|7|", 0.05, 60.0f, 7},
        {"the prefix is optional", "RIRUvo|Trace|Trc5|0.05|" + lat + "|1|2|3|60.0|1|0|0|5.5|7|",
         0.05, 60.0f, 7},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.legend);
        const std::optional<PointRecord> record = decodeTextPointRecord(c.line);
        ASSERT_TRUE(record);
        EXPECT_DOUBLE_EQ(record->values.lon, c.lon);
        EXPECT_FLOAT_EQ(record->values.signal, c.signal);
        EXPECT_EQ(record->values.timeZone, c.timeZone);
        EXPECT_DOUBLE_EQ(record->values.time, 5.5);
        EXPECT_TRUE(record->values.textRecord);
        EXPECT_FALSE(record->hasSmoothed);
    }
}

TEST_F(TrackRecordsTest, RefusesRecordsThatDoNotParseWhole) {
    const char* const lines[] = {
        "Trc5|0.1|0.2|1|2|3|4|1|0|0|5.5|",  // the zone is missing
        "Trc6|0.1|0.2|1|2|3|4|1|0|0|5.5|7|", "GPSTrace|0.1|0.2|1|2|3|", "RIRUvo|Trace|", "", "Trc5",
    };
    for (const char* line : lines) EXPECT_FALSE(decodeTextPointRecord(line)) << line;
}

TEST_F(TrackRecordsTest, AcceptsOnlyWholePointPayloadsOfKnownVersions) {
    track.clearLayer(1);
    files.loadLayer(1, golden("points-v1.trc"));
    BinaryRecordWriter writer;
    buildBinaryPointRecord(writer, *track.layer(1).first());
    const std::vector<uint8_t> good(writer.payload().begin(), writer.payload().end());
    ASSERT_EQ(good.size(), 74u);
    ASSERT_TRUE(decodeBinaryPointRecord(good));

    auto changed = [&good](size_t at, uint8_t value) {
        std::vector<uint8_t> bytes = good;
        bytes[at] = value;
        return bytes;
    };
    std::vector<uint8_t> longer = good;
    longer.push_back(0);
    const std::vector<uint8_t> shorter(good.begin(), good.end() - 1);
    const std::vector<uint8_t> versionZeroOfVersionOneLength = changed(1, 0);
    EXPECT_FALSE(decodeBinaryPointRecord(changed(0, 3))) << "another kind";
    EXPECT_FALSE(decodeBinaryPointRecord(changed(1, 2))) << "a later version";
    EXPECT_FALSE(decodeBinaryPointRecord(longer)) << "bytes left over";
    EXPECT_FALSE(decodeBinaryPointRecord(shorter)) << "a field cut short";
    EXPECT_FALSE(decodeBinaryPointRecord(versionZeroOfVersionOneLength)) << "version 0 is 70 bytes";
    EXPECT_FALSE(decodeBinaryPointRecord(std::span<const uint8_t>())) << "nothing";
}

}  // namespace
}  // namespace wendra::test
