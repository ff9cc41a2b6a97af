// The reader's settings on their way to the configuration: copied on the reader's side
// of the bridge, merged on the window's.

#include "app/ShellBridge.h"

#include <gtest/gtest.h>

#include "app/Configuration.h"
#include "gps/NmeaParser.h"
#include "gps/NmeaTestSentences.h"
#include "support/FakeClock.h"

namespace wendra::test {
namespace {

class ShellBridgeTest : public ::testing::Test {
protected:
    std::string gga(const std::string& geoid) {
        return nmea("GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M," + geoid + ",M,,");
    }

    FakeClock clock;
    platform::ScopedClock scope{clock};
    SerialSettings serial;
    NmeaParser parser;
    ShellBridge bridge{"/nonexistent", serial, parser};
    Configuration config;
};

TEST_F(ShellBridgeTest, TheParsersOwnChangesReachTheConfiguration) {
    config.nmea.flags = ParserFlags::kInitial;
    bridge.afterChunk();
    EXPECT_FALSE(bridge.mergeSettings(config)) << "nothing changed yet";

    parser.parse(gga("46.9"));
    bridge.afterChunk();
    parser.parse(gga(""));  // no separation: "Upd auto" switches itself off
    bridge.afterChunk();
    ASSERT_TRUE(bridge.mergeSettings(config));
    EXPECT_FLOAT_EQ(config.nmea.correction, 46.9f);
    EXPECT_EQ(config.nmea.flags, ParserFlags::kGeoidCorrection)
        << "the settings bits, not the parser's state (fix valid, changed)";
    EXPECT_EQ(config.nmea.record(), "NMEA2|4|46.9|\n");
    EXPECT_FALSE(bridge.mergeSettings(config)) << "the mailbox was emptied";
}

TEST_F(ShellBridgeTest, AnsweredQuestionsKeepTheUsersSwitches) {
    config.serial.options = SerialOptions::kLogPort;
    serial.options = SerialOptions::kRateAsked | SerialOptions::kDeactivated;
    serial.receiverRateIndex = 3;
    parser.setCorrection(40.0f);
    bridge.settingsChanged();
    ASSERT_TRUE(bridge.mergeSettings(config));
    EXPECT_EQ(config.serial.options, SerialOptions::kLogPort | SerialOptions::kRateAsked);
    EXPECT_EQ(config.serial.receiverRateIndex, 3);
    EXPECT_FLOAT_EQ(config.nmea.correction, 40.0f);
}

}  // namespace
}  // namespace wendra::test
