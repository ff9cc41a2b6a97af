// The Serial6 record and the rate table.

#include <gtest/gtest.h>

#include "gps/SerialSettings.h"

namespace wendra {
namespace {

TEST(SerialSettings, WritesTheRecordAndReadsItBack) {
    SerialSettings settings;
    EXPECT_EQ(settings.record(), "Serial6|0|0|0|4098|\n");
    settings.portId = 12;
    settings.readingRateIndex = 3;
    settings.receiverRateIndex = 1;
    settings.options = SerialOptions::kLogPort | SerialOptions::kRateAsked;
    SerialSettings loaded;
    ASSERT_TRUE(loaded.load(settings.record()));
    EXPECT_EQ(loaded.record(), "Serial6|12|3|1|33|\n");
    EXPECT_EQ(loaded.readingRate(), 19200);
    EXPECT_EQ(loaded.receiverRate(), 9600);
}

TEST(SerialSettings, LoadingClampsTheReceiverRateAndDropsTheTransientBit) {
    struct Case {
        const char* legend;
        const char* line;
        int32_t receiverIndex;
        int32_t options;
    };
    const Case cases[] = {
        {"rate index 9 loads as 6", "Serial6|0|0|9|4098|", 6, 4098},
        {"a negative index is no rate", "Serial6|0|0|-3|0|", 0, 0},
        {"the transient bit is dropped", "Serial6|0|0|2|7|", 2, 3},
        {"missing fields are 0", "Serial6|4|", 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.legend);
        SerialSettings settings;
        ASSERT_TRUE(settings.load(c.line));
        EXPECT_EQ(settings.receiverRateIndex, c.receiverIndex);
        EXPECT_EQ(settings.options, c.options);
    }
    SerialSettings untouched;
    EXPECT_FALSE(untouched.load("Serial5|1|1|1|1|"));
    EXPECT_EQ(untouched.options, SerialOptions::kDefault);
}

TEST(SerialSettings, ChangingTheReceiverRateLetsTheRateQuestionComeAgain) {
    SerialSettings settings;
    settings.options |= SerialOptions::kRateAsked;
    settings.changeReceiverRate(0);
    EXPECT_TRUE(settings.has(SerialOptions::kRateAsked));
    settings.changeReceiverRate(2);
    EXPECT_FALSE(settings.has(SerialOptions::kRateAsked));
    EXPECT_EQ(settings.receiverRate(), 14400);
}

TEST(SerialSettings, RatesOutsideTheTableAreNone) {
    EXPECT_EQ(SerialSettings::rateAt(7), 0);
    EXPECT_EQ(SerialSettings::rateAt(-1), 0);
    EXPECT_EQ(SerialSettings::rateAt(100), 0);
    EXPECT_EQ(SerialSettings::rateIndex(115200), 6);
    EXPECT_EQ(SerialSettings::rateIndex(1200), -1);
    EXPECT_EQ(SerialSettings::rateIndex(0), -1);
}

}  // namespace
}  // namespace wendra
