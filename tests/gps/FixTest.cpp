// The 40-byte fix record is a file format: its bytes must not depend on the host.

#include "gps/Fix.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>
#include <vector>

namespace wendra::test {
namespace {

TEST(FixRecord, FieldsSitAtTheirOffsetsLittleEndian) {
    Fix fix;
    fix.latitude = 1.0;                // 3FF0000000000000
    fix.longitude = -2.0;              // C000000000000000
    fix.speed = 1.5f;                  // 3FC00000
    fix.altitude = -0.0f;              // 80000000
    fix.course = -2;                   // FFFFFFFE
    fix.signal = 45.0f;                // 42340000
    fix.time = 0x1.23456789abcdep+10;  // 409123456789ABCDE
    const FixRecord expected = {
        0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xF0, 0x3F,  // latitude
        0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xC0,  // longitude
        0x00, 0x00, 0xC0, 0x3F,                          // speed
        0x00, 0x00, 0x00, 0x80,                          // altitude
        0xFE, 0xFF, 0xFF, 0xFF,                          // course
        0x00, 0x00, 0x34, 0x42,                          // signal
        0xDE, 0xBC, 0x9A, 0x78, 0x56, 0x34, 0x92, 0x40,  // time
    };
    EXPECT_EQ(encodeFix(fix), expected);
    const Fix back = decodeFix(expected);
    EXPECT_EQ(back, fix);
    EXPECT_TRUE(std::signbit(back.altitude));
}

TEST(FixRecord, EveryBitSurvivesTheRoundTrip) {
    Fix fix;
    fix.latitude = std::numeric_limits<double>::denorm_min();
    fix.longitude = -180.0;
    fix.speed = std::numeric_limits<float>::max();
    fix.altitude = std::bit_cast<float>(0x7FC01234u);  // a NaN with a payload
    fix.course = std::numeric_limits<int32_t>::min();
    fix.signal = std::numeric_limits<float>::lowest();
    fix.time = 8999.123456789012;
    const FixRecord record = encodeFix(fix);
    const Fix back = decodeFix(record);
    EXPECT_EQ(encodeFix(back), record);
    EXPECT_EQ(std::bit_cast<uint32_t>(back.altitude), 0x7FC01234u);
    EXPECT_EQ(back.course, fix.course);
}

TEST(FixRecord, ShortInputIsRefused) {
    const FixRecord record = encodeFix(Fix{12.5, -3.25, 4.0f, 100.0f, 90, 30.0f, 8000.5});
    std::vector<uint8_t> bytes(record.begin(), record.end());
    bytes.push_back(0xAB);  // the next record's first byte
    ASSERT_TRUE(decodeFix(bytes).has_value());
    EXPECT_EQ(decodeFix(bytes)->course, 90);
    bytes.resize(kFixRecordSize - 1);
    EXPECT_FALSE(decodeFix(bytes).has_value());
}

}  // namespace
}  // namespace wendra::test
