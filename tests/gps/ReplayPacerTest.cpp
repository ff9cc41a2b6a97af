// The pace of a replayed log: which lines carry the receiver's time, and when each line
// is due at a given speed, across midnight and cuts in the log.

#include "gps/ReplayPacer.h"

#include <gtest/gtest.h>

#include <vector>

namespace wendra::test {
namespace {

TEST(ReplayPacer, ReadsTheTimeOfRmcAndGgaOfAnyTalker) {
    struct Case {
        const char* legend;
        const char* line;
        std::optional<double> seconds;
    };
    const Case cases[] = {
        {"GGA", "$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47\r\n",
         12 * 3600 + 35 * 60 + 19},
        {"RMC with a fraction", "$GNRMC,081411.250,A,5541.1955,N*74", 8 * 3600 + 14 * 60 + 11.25},
        {"after stray bytes", "xx$GPRMC,000001,V*00", 1},
        {"leap second", "$GPGGA,235960,,*00", 23 * 3600 + 59 * 60 + 60},
        {"empty time", "$GPRMC,,V,,,,,,,260810,1.0,E,N*34", std::nullopt},
        {"GSV has none", "$GPGSV,3,1,12,03,57,171,00*74", std::nullopt},
        {"hour 24", "$GPGGA,240000,*00", std::nullopt},
        {"five digits", "$GPGGA,12351,*00", std::nullopt},
        {"cut short", "$GPGG", std::nullopt},
        {"no sentence", "# a comment", std::nullopt},
    };
    for (const Case& c : cases) {
        const std::optional<double> got = ReplayPacer::receiverSeconds(c.line);
        ASSERT_EQ(got.has_value(), c.seconds.has_value()) << c.legend;
        if (got) {
            EXPECT_NEAR(*got, *c.seconds, 1e-9) << c.legend;
        }
    }
}

TEST(ReplayPacer, LinesAreDueAtTheLogsPaceDividedByTheSpeed) {
    // Legend per line: when it is due at speed 2.
    const std::pair<const char*, double> lines[] = {
        {"$GPGSA,A,3*00", 0.0},        // before any time: at once
        {"$GPRMC,120000,A*00", 0.0},   // the first time starts the clock
        {"$GPGSV,1,1,00*00", 0.0},     // follows its cycle
        {"$GPRMC,120002,A*00", 1.0},   // two seconds later, at double speed
        {"$GPGGA,120001,*00", 1.0},    // a step back: no wait, no going back
        {"$GPRMC,120003,A*00", 2.0},   // the step counts from the line before
        {"$GPRMC,130003,A*00", 32.0},  // an hour's silence plays as a minute
        {"$GPRMC,130004,A*00", 32.5},
    };
    ReplayPacer pacer(2.0);
    for (const auto& [line, due] : lines) EXPECT_DOUBLE_EQ(pacer.due(line), due) << line;
}

TEST(ReplayPacer, MidnightIsOneSecondAndARestartCostsNothing) {
    ReplayPacer pacer(1.0);
    EXPECT_DOUBLE_EQ(pacer.due("$GPRMC,235959,A*00"), 0.0);
    EXPECT_DOUBLE_EQ(pacer.due("$GPRMC,000000,A*00"), 1.0);
    pacer.restart();
    EXPECT_DOUBLE_EQ(pacer.due("$GPRMC,235959,A*00"), 1.0) << "the next pass goes on at once";
    EXPECT_DOUBLE_EQ(pacer.due("$GPRMC,000001,A*00"), 3.0);
}

}  // namespace
}  // namespace wendra::test
