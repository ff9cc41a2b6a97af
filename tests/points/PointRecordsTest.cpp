#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "points/PointRecords.h"
#include "support/DecimalComma.h"

namespace wendra::points {
namespace {

GpsPoint samplePoint() {
    GpsPoint p;
    p.name = u"Col du Pillon";
    p.group = u"Passes";
    p.setPosition(46.35512345, 7.21098765);
    p.flags |= statusBits(PointStatus::Displayed) | kIfSpeed;
    p.colour = 5;
    p.alertName = u"Alert 400m";
    p.iconName = u"Flag";
    p.number = 42;
    p.comment = u"first\r\nsecond";
    p.identifier = 1234;
    p.course = 270;
    p.speed = 12.34f;
    return p;
}

// A shared position holds no stored place: it comes back not live at 0/0.
GpsPoint newSharedLike() {
    GpsPoint p = samplePoint();
    p.setPosition(0.0, 0.0);
    p.flags = kShared | kNotLive | statusBits(PointStatus::Displayed) | kIfSpeed;
    p.shareId = u"walker";
    p.shareKey = u"secret";
    return p;
}

void expectSameStored(const GpsPoint& a, const GpsPoint& b) {
    EXPECT_EQ(a.name, b.name);
    EXPECT_EQ(a.group, b.group);
    EXPECT_NEAR(a.latitude, b.latitude, 1e-8);
    EXPECT_NEAR(a.longitude, b.longitude, 1e-8);
    EXPECT_EQ(a.flags, b.flags);
    EXPECT_EQ(a.colour, b.colour);
    EXPECT_EQ(a.alertName, b.alertName);
    EXPECT_EQ(a.iconName, b.iconName);
    EXPECT_EQ(a.number, b.number);
    EXPECT_EQ(a.comment, b.comment);
    EXPECT_EQ(a.identifier, b.identifier);
    EXPECT_EQ(a.course, b.course);
    EXPECT_EQ(a.shareId, b.shareId);
    EXPECT_EQ(a.shareKey, b.shareKey);
}

TEST(PointRecords, WritesTheLineOfAUserPoint) {
    const GpsPoint p = samplePoint();
    EXPECT_EQ(pointRecordLine(p),
              "GPSCoord|13|Col du Pillon|46.35512345|7.21098765|16397|5|6|Passes|10|Alert 400m|"
              "4|Flag|42|13|first\\nsecond|1234|270|12.3|\n");
}

// Every field survives a write and a read, in both forms, for both kinds.
TEST(PointRecords, RoundTripsBothKindsInBothForms) {
    for (const GpsPoint& original : {samplePoint(), newSharedLike()}) {
        GpsPoint fromText;
        ASSERT_TRUE(readPointRecord(pointRecordLine(original), fromText));
        expectSameStored(original, fromText);
        EXPECT_FLOAT_EQ(fromText.speed, 12.3f);  // one decimal in text

        BinaryRecordWriter packed;
        buildPackedPointRecord(packed, original);
        GpsPoint fromPacked;
        ASSERT_TRUE(readPackedPointRecord(packed.payload(), fromPacked));
        expectSameStored(original, fromPacked);
        EXPECT_FLOAT_EQ(fromPacked.speed, original.speed);
    }
}

struct ReadCase {
    const char* legend;
    std::string line;
    bool accepted;
    void (*check)(const GpsPoint&);
};

TEST(PointRecords, ReadsLinesAsTheFileMayHoldThem) {
    const std::vector<ReadCase> cases = {
        {"identifier 0 keeps the point's own", "GPSCoord|1|a|1.0|2.0|1|12|0||0||0||0|0||0|0|0.0|",
         true, [](const GpsPoint& p) { EXPECT_EQ(p.identifier, 777); }},
        {"transient bits are dropped, the valid bit comes from the position",
         "GPSCoord|1|a|1.0|2.0|5120|12|0||0||0||0|0||9|0|0.0|", true,
         [](const GpsPoint& p) { EXPECT_EQ(p.flags, kPositionValid); }},
        {"a position off the globe makes the point invalid",
         "GPSCoord|1|a|95.0|2.0|1|12|0||0||0||0|0||9|0|0.0|", true,
         [](const GpsPoint& p) { EXPECT_FALSE(p.positionValid()); }},
        {"a line ending early keeps the codec defaults", "GPSCoord|1|a|1.5|", true,
         [](const GpsPoint& p) {
             EXPECT_EQ(p.name, u"a");
             EXPECT_DOUBLE_EQ(p.latitude, 1.5);
             EXPECT_EQ(p.colour, 0);
         }},
        {"a long name is cut to 63", "GPSCoord|70|" + std::string(70, 'n') + "|1|2|1|12|", true,
         [](const GpsPoint& p) { EXPECT_EQ(p.name.size(), kNameMax); }},
        {"a shared position drops its rejected and live bits",
         "SharedPos|1|s|2|id|3|key|98307|12|0||0||0||0|0||5|0|0.0|", true,
         [](const GpsPoint& p) {
             EXPECT_EQ(p.flags, kShared | kNotLive);
             EXPECT_EQ(p.shareId, u"id");
             EXPECT_EQ(p.shareKey, u"key");
         }},
        {"a shared key longer than 16 is cut",
         "SharedPos|1|s|2|id|20|" + std::string(20, 'k') + "|32768|", true,
         [](const GpsPoint& p) { EXPECT_EQ(p.shareKey.size(), kShareKeyMax); }},
        {"another kind is not a point", "GPSBmp4|1|a|", false,
         [](const GpsPoint& p) { EXPECT_EQ(p.name, u"keep"); }},
        {"a prefix without its bar is not a point", "GPSCoordX|1|a|", false,
         [](const GpsPoint& p) { EXPECT_EQ(p.name, u"keep"); }},
    };
    for (const ReadCase& c : cases) {
        SCOPED_TRACE(c.legend);
        GpsPoint p;
        p.name = u"keep";
        p.identifier = 777;
        EXPECT_EQ(readPointRecord(c.line, p), c.accepted);
        c.check(p);
    }
}

TEST(PointRecords, CommentsKeepTheirLineBreaksAndLimit) {
    EXPECT_EQ(commentForRecord(u"a\nb"), u"a\\nb");
    EXPECT_EQ(commentForRecord(u"a\r\nb\tc"), u"a\\nbc");
    EXPECT_EQ(commentFromRecord(u"a\\nb"), u"a\r\nb");
    // The limit never splits an escaped line break.
    const std::u16string nearFull(4092, u'x');
    EXPECT_EQ(commentForRecord(nearFull + u"\nz"), nearFull);
    EXPECT_EQ(commentForRecord(std::u16string(5000, u'y')).size(), 4093u);
}

TEST(PointRecords, ReadsTheOlderPackedLayoutWithoutAlertConditions) {
    BinaryRecordWriter older;
    older.putByte(kPackedPointKind);
    older.putByte(kPackedPointOlder);
    ASSERT_TRUE(older.pack("wFFddwwwdxd",
                           {std::u16string_view(u"old"), 45.0, 6.0, int32_t{1}, int32_t{3},
                            std::u16string_view(u"g"), std::u16string_view(), std::u16string_view(),
                            int32_t{7}, std::u16string_view(u"c"), int32_t{9}}));
    GpsPoint p;
    p.course = 5;
    ASSERT_TRUE(readPackedPointRecord(older.payload(), p));
    EXPECT_EQ(p.name, u"old");
    EXPECT_EQ(p.number, 7);
    EXPECT_EQ(p.identifier, 9);
    EXPECT_EQ(p.course, 0);
    EXPECT_TRUE(p.positionValid());

    // Other headers, and a payload that ends inside a field, are refused.
    const std::vector<std::vector<uint8_t>> refused = {
        {2, 0}, {1, 2}, {3, 1}, {1}, {1, 1, 5, 0, 'a'}};
    for (const auto& payload : refused) EXPECT_FALSE(readPackedPointRecord(payload, p));
}

using PointRecordsUnderComma = test::DecimalCommaTest;

TEST_F(PointRecordsUnderComma, KeepsTheDecimalPoint) {
    const std::string line = pointRecordLine(samplePoint());
    EXPECT_NE(line.find("|46.35512345|7.21098765|"), std::string::npos) << line;
    EXPECT_NE(line.find("|12.3|"), std::string::npos) << line;
    GpsPoint back;
    ASSERT_TRUE(readPointRecord(line, back));
    EXPECT_NEAR(back.latitude, 46.35512345, 1e-9);
}

}  // namespace
}  // namespace wendra::points
