#include "records/BinaryRecord.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "support/TestPaths.h"

namespace wendra {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes toBytes(std::span<const uint8_t> span) {
    return Bytes(span.begin(), span.end());
}

// The track point layout written today: kind 2, version 1, then fourteen fields.
constexpr const char* kTrackPointTypes = "FFffdfdddFdffff";

void packTrackPoint(BinaryRecordWriter& writer, double lon) {
    writer.putByte(2);
    writer.putByte(1);
    ASSERT_TRUE(writer.pack(
        kTrackPointTypes, {lon, 0.25, 12.5f, 540.0f, int32_t{270}, 31.0f, int32_t{1}, int32_t{0x40},
                           int32_t{3}, 1234.5, int32_t{2}, 539.5f, 12.0f, 30.0f, -0.5f}));
}

TEST(BinaryRecord, FieldsAreLittleEndianWithCountedStrings) {
    BinaryRecordWriter writer;
    writer.putByte(1);
    writer.putDouble(1.0);
    writer.putFloat(-2.5f);
    writer.putInt32(-2);
    writer.putString("ab");
    writer.putWide(u"\u00e9\u20ac");
    const Bytes payload = {0x01,                                            // byte
                           0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xF0, 0x3F,  // 1.0
                           0x00, 0x00, 0x20, 0xC0,                          // -2.5f
                           0xFE, 0xFF, 0xFF, 0xFF,                          // -2
                           0x02, 0x00, 'a',  'b',                           // "ab"
                           0x02, 0x00, 0xE9, 0xAC};                         // narrowed
    EXPECT_EQ(toBytes(writer.payload()), payload);
    Bytes framed = {static_cast<uint8_t>(payload.size()), 0x00};
    framed.insert(framed.end(), payload.begin(), payload.end());
    EXPECT_EQ(toBytes(writer.framed()), framed);
}

TEST(BinaryRecord, TrackPointRoundTripsExactly) {
    BinaryRecordWriter writer;
    packTrackPoint(writer, -0.123456789012345);
    const Bytes payload = toBytes(writer.payload());
    BinaryRecordReader reader(payload);
    uint8_t kind = 0, version = 0;
    double lon = 0, lat = 0, time = 0;
    float speed = 0, alt = 0, signal = 0, smoothAlt = 0, smoothSpeed = 0, smoothSignal = 0,
          climb = 0;
    int32_t heading = 0, weight = 0, flags = 0, colour = 0, zone = 0;
    ASSERT_TRUE(reader.getByte(kind) && reader.getByte(version));
    ASSERT_TRUE(reader.unpack(
        kTrackPointTypes, {&lon, &lat, &speed, &alt, &heading, &signal, &weight, &flags, &colour,
                           &time, &zone, &smoothAlt, &smoothSpeed, &smoothSignal, &climb}));
    EXPECT_TRUE(reader.atEnd());
    EXPECT_EQ(kind, 2);
    EXPECT_EQ(version, 1);
    EXPECT_EQ(lon, -0.123456789012345);
    EXPECT_EQ(lat, 0.25);
    EXPECT_EQ(speed, 12.5f);
    EXPECT_EQ(heading, 270);
    EXPECT_EQ(flags, 0x40);
    EXPECT_EQ(time, 1234.5);
    EXPECT_EQ(zone, 2);
    EXPECT_EQ(smoothAlt, 539.5f);
    EXPECT_EQ(climb, -0.5f);
}

TEST(BinaryRecord, UnusualNumbersKeepTheirBits) {
    const double doubles[] = {-0.0, std::numeric_limits<double>::infinity(),
                              std::numeric_limits<double>::denorm_min(), 999999.0,
                              std::numeric_limits<double>::quiet_NaN()};
    const int32_t ints[] = {std::numeric_limits<int32_t>::min(), -999999, 0x7FFFFFFF};
    BinaryRecordWriter writer;
    for (double d : doubles) writer.putDouble(d);
    for (int32_t i : ints) writer.putInt32(i);
    writer.putFloat(-0.0f);
    const Bytes payload = toBytes(writer.payload());
    BinaryRecordReader reader(payload);
    for (double expected : doubles) {
        double got = 1;
        ASSERT_TRUE(reader.getDouble(got));
        EXPECT_EQ(std::memcmp(&got, &expected, sizeof got), 0) << expected;
    }
    for (int32_t expected : ints) {
        int32_t got = 0;
        ASSERT_TRUE(reader.getInt32(got));
        EXPECT_EQ(got, expected);
    }
    float negativeZero = 1;
    ASSERT_TRUE(reader.getFloat(negativeZero));
    EXPECT_TRUE(std::signbit(negativeZero));
    EXPECT_TRUE(reader.atEnd());
}

TEST(BinaryRecord, PointRecordStringsRoundTripWithTheSplitterLimits) {
    const std::u16string name(600, u'n');
    const std::u16string comment = u"line\\nwith \u00e9" + std::u16string(5000, u'c');
    BinaryRecordWriter writer;
    ASSERT_TRUE(writer.pack(
        "wFFddwwwdxddf", {std::u16string_view(name), 46.947982, 7.447447, int32_t{0xC}, int32_t{12},
                          std::u16string_view(u"Gr\u00fcppe"), std::u16string_view(u""),
                          std::u16string_view(u"Flag"), int32_t{17}, std::u16string_view(comment),
                          int32_t{99}, int32_t{45}, 12.5f}));
    const Bytes payload = toBytes(writer.payload());
    std::u16string gotName = u"junk", group, alert = u"junk", icon, gotComment;
    double lat = 0, lon = 0;
    int32_t flags = 0, colour = 0, number = 0, id = 0, course = 0;
    float speed = 0;
    BinaryRecordReader reader(payload);
    ASSERT_TRUE(
        reader.unpack("wFFddwwwdxddf", {&gotName, &lat, &lon, &flags, &colour, &group, &alert,
                                        &icon, &number, &gotComment, &id, &course, &speed}));
    EXPECT_TRUE(reader.atEnd()) << "the whole string is consumed, only its start kept";
    EXPECT_EQ(gotName, name.substr(0, 511));
    EXPECT_EQ(group, u"Gr\u00fcppe");
    EXPECT_EQ(alert, u"");
    EXPECT_EQ(icon, u"Flag");
    EXPECT_EQ(gotComment, comment.substr(0, 4095));
    EXPECT_EQ(lat, 46.947982);
    EXPECT_EQ(speed, 12.5f);
}

TEST(BinaryRecord, EveryTruncationFailsWithoutReadingPastTheEnd) {
    BinaryRecordWriter writer;
    ASSERT_TRUE(writer.pack(
        "dsFfw", {int32_t{7}, std::string_view("abc"), 2.0, 3.0f, std::u16string_view(u"xyz")}));
    const Bytes whole = toBytes(writer.payload());
    for (size_t size = 0; size < whole.size(); ++size) {
        // An exact-size heap copy, so a read past its end is caught by the sanitizer.
        const auto cut = std::make_unique<uint8_t[]>(size + 1);
        std::memcpy(cut.get(), whole.data(), size);
        BinaryRecordReader reader(std::span<const uint8_t>(cut.get(), size));
        int32_t d = 0;
        std::string s;
        double F = 0;
        float f = 0;
        std::u16string w;
        EXPECT_FALSE(reader.unpack("dsFfw", {&d, &s, &F, &f, &w})) << "size " << size;
    }
    BinaryRecordReader reader(whole);
    EXPECT_TRUE(reader.unpack("dsFfw", {}));
    EXPECT_TRUE(reader.atEnd());
}

TEST(BinaryRecord, StringClaimingMoreThanThePayloadFails) {
    const Bytes payload = {0x05, 0x00, 'a', 'b'};
    BinaryRecordReader reader(payload);
    std::string text = "kept";
    EXPECT_FALSE(reader.getString(text, 511));
    EXPECT_EQ(text, "kept");
    EXPECT_EQ(reader.remaining(), payload.size()) << "a failed field consumes nothing";
}

TEST(BinaryRecord, LettersAndInputsMustFit) {
    struct Case {
        const char* legend;
        const char* types;
        std::vector<PackInput> inputs;
        bool packs;
    } cases[] = {
        {"int for d, X and C", "dXC", {int32_t{1}, int32_t{2}, int32_t{3}}, true},
        {"double where a float belongs", "f", {1.0}, false},
        {"wide text where bytes belong", "s", {std::u16string_view(u"a")}, false},
        {"letter without a binary form", "?", {int32_t{1}}, false},
        {"missing input", "dd", {int32_t{1}}, false},
        {"no letters", "", {}, true},
    };
    for (const Case& c : cases) {
        BinaryRecordWriter writer;
        bool packed = true;
        if (c.inputs.size() == 3) {
            packed = writer.pack(c.types, {c.inputs[0], c.inputs[1], c.inputs[2]});
        } else if (c.inputs.size() == 1) {
            packed = writer.pack(c.types, {c.inputs[0]});
        } else {
            packed = writer.pack(c.types, {});
        }
        EXPECT_EQ(packed, c.packs) << c.legend;
    }
}

TEST(BinaryRecord, UnpackHandlesOddOutputs) {
    BinaryRecordWriter writer;
    ASSERT_TRUE(writer.pack("dd", {int32_t{5}, int32_t{6}}));
    const Bytes payload = toBytes(writer.payload());
    {
        float wrongType = 9.0f;
        int32_t second = 0;
        BinaryRecordReader reader(payload);
        EXPECT_TRUE(reader.unpack("dd", {&wrongType, &second}));
        EXPECT_EQ(wrongType, 9.0f) << "an output of the wrong type is left alone";
        EXPECT_EQ(second, 6) << "but its field is still consumed";
    }
    {
        int32_t value = 3;
        BinaryRecordReader reader(payload);
        EXPECT_FALSE(reader.unpack("?d", {&value}));
    }
    {
        int32_t first = 0;
        BinaryRecordReader reader(payload);
        EXPECT_TRUE(reader.unpack("dd", {&first}));
        EXPECT_EQ(first, 5);
        EXPECT_TRUE(reader.atEnd());
    }
}

TEST(BinaryRecord, FileOfRecordsRoundTrips) {
    const test::TempDir dir;
    const std::string path = (dir / "Wendra0.trc").string();
    const int kPoints = 3000;  // several buffers' worth
    {
        RecordFile file;
        ASSERT_TRUE(file.open(path, RecordFileMode::WriteBinary));
        BinaryRecordWriter writer;
        for (int i = 0; i < kPoints; ++i) {
            writer.clear();
            packTrackPoint(writer, i / 1000.0);
            ASSERT_TRUE(writeBinaryRecord(file, writer));
        }
        ASSERT_TRUE(file.close());
    }
    const std::string bytes = test::readFile(path);
    ASSERT_EQ(bytes.size(), 1 + kPoints * (2 + 74u));
    EXPECT_EQ(bytes.substr(0, 5), std::string("\xff\x4a\x00\x02\x01", 5));
    RecordFile file;
    ASSERT_TRUE(file.open(path, RecordFileMode::Read));
    EXPECT_TRUE(file.isBinary());
    std::vector<uint8_t> payload;
    int count = 0;
    while (readBinaryRecord(file, payload)) {
        BinaryRecordReader reader(payload);
        uint8_t kind = 0, version = 0;
        double lon = -1;
        ASSERT_TRUE(reader.getByte(kind) && reader.getByte(version) && reader.getDouble(lon));
        EXPECT_EQ(lon, count / 1000.0);
        ++count;
    }
    EXPECT_EQ(count, kPoints);
}

TEST(BinaryRecord, ReadsATrackFilePackedByAnotherWriter) {
    // The seed file was packed independently: two version-1 points, one version-0
    // point, then a record cut short.
    RecordFile file;
    ASSERT_TRUE(
        file.open((test::testData() / "records" / "track.trc").string(), RecordFileMode::Read));
    EXPECT_TRUE(file.isBinary());
    std::vector<uint8_t> payload;
    std::vector<std::pair<int, double>> points;  // version, lon
    while (readBinaryRecord(file, payload)) {
        BinaryRecordReader reader(payload);
        uint8_t kind = 0, version = 0;
        double lon = 0, lat = 0, time = 0;
        float speed = 0, alt = 0, signal = 0, smoothAlt = 0, smoothSpeed = 0, smoothSignal = 0,
              climb = 0;
        int32_t heading = 0, weight = 0, flags = 0, colour = 0, zone = 0;
        ASSERT_TRUE(reader.getByte(kind) && reader.getByte(version));
        const std::string_view types = version == 1 ? kTrackPointTypes : "FFffdfdddFdfff";
        ASSERT_TRUE(reader.unpack(
            types, {&lon, &lat, &speed, &alt, &heading, &signal, &weight, &flags, &colour, &time,
                    &zone, &smoothAlt, &smoothSpeed, &smoothSignal, &climb}));
        EXPECT_TRUE(reader.atEnd());
        EXPECT_EQ(heading, 270);
        EXPECT_EQ(time, 1234.5);
        EXPECT_EQ(smoothAlt, 539.5f);
        EXPECT_EQ(climb, version == 1 ? -0.5f : 0.0f);
        points.emplace_back(version, lon);
    }
    EXPECT_EQ(points, (std::vector<std::pair<int, double>>{{1, 0.0413}, {1, 0.0414}, {0, 0.0415}}));
}

TEST(BinaryRecord, PartialRecordAtTheEndIsTheEnd) {
    struct Case {
        const char* legend;
        std::string tail;
    } cases[] = {
        {"nothing after", ""},
        {"half a length", std::string("\x05", 1)},
        {"length without payload", std::string("\x05\x00", 2)},
        {"payload shorter than its length", std::string("\x05\x00"
                                                        "abc",
                                                        5)},
        {"huge length", std::string("\xff\xff"
                                    "abc",
                                    5)},
    };
    for (const Case& c : cases) {
        const test::TempDir dir;
        test::writeFile(dir / "f", std::string("\xff\x02\x00\x02\x01", 5) + c.tail);
        RecordFile file;
        ASSERT_TRUE(file.open((dir / "f").string(), RecordFileMode::Read));
        std::vector<uint8_t> payload;
        ASSERT_TRUE(readBinaryRecord(file, payload)) << c.legend;
        EXPECT_EQ(payload, (Bytes{0x02, 0x01})) << c.legend;
        EXPECT_FALSE(readBinaryRecord(file, payload)) << c.legend;
    }
}

TEST(BinaryRecord, EmptyPayloadIsARecord) {
    const test::TempDir dir;
    test::writeFile(dir / "f", std::string("\x00\x00\x01\x00\x07", 5));
    RecordFile file;
    ASSERT_TRUE(file.open((dir / "f").string(), RecordFileMode::ReadBinary));
    std::vector<uint8_t> payload = {9};
    ASSERT_TRUE(readBinaryRecord(file, payload));
    EXPECT_TRUE(payload.empty());
    ASSERT_TRUE(readBinaryRecord(file, payload));
    EXPECT_EQ(payload, Bytes{7});
}

TEST(BinaryRecord, OverlongPayloadIsRefused) {
    const test::TempDir dir;
    RecordFile file;
    ASSERT_TRUE(file.open((dir / "f").string(), RecordFileMode::WriteBinary));
    BinaryRecordWriter writer;
    writer.putString(std::string(70000, 's'));  // cut to 65535 bytes plus its count
    EXPECT_EQ(writer.payloadSize(), 2 + 65535u);
    EXPECT_TRUE(writer.framed().empty());
    EXPECT_FALSE(writeBinaryRecord(file, writer));
    writer.clear();
    writer.putString(std::string(65533, 's'));
    EXPECT_TRUE(writeBinaryRecord(file, writer)) << "the largest payload fits";
    EXPECT_TRUE(file.close());
    EXPECT_EQ(test::readFile(dir / "f").size(), 1 + 2 + 65535u);
}

TEST(BinaryRecord, RecordsNeedABinaryWriteMode) {
    const test::TempDir dir;
    RecordFile file;
    ASSERT_TRUE(file.open((dir / "f").string(), RecordFileMode::WriteText));
    BinaryRecordWriter writer;
    writer.putByte(1);
    EXPECT_FALSE(writeBinaryRecord(file, writer));
}

}  // namespace
}  // namespace wendra
