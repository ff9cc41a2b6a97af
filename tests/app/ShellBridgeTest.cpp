// The bridge from the GPS reader to the window: the reader's settings copied on its
// side and merged on the window's; what a switched-off GPS does to the position's mark
// and how often it asks the window to repaint.

#include "app/ShellBridge.h"

#include <gtest/gtest.h>

#include "app/AppMessages.h"
#include "app/Configuration.h"
#include "gps/NmeaParser.h"
#include "gps/NmeaTestSentences.h"
#include "support/FakeClock.h"
#include "support/MessageOnlyWindow.h"

namespace wendra::test {
namespace {

class ShellBridgeTest : public ::testing::Test {
protected:
    ShellBridgeTest() { bridge.readFrom(serial); }

    std::string gga(const std::string& geoid) {
        return nmea("GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M," + geoid + ",M,,");
    }

    FakeClock clock;
    platform::ScopedClock scope{clock};
    SerialSettings serial;
    NmeaParser parser;
    HandOverState handOver;
    ShellBridge bridge{"/nonexistent", parser, handOver};
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

// Counts the repaint messages posted to the window.
class RepaintCount final : public MessageOnlyWindow {
public:
    void post(std::uint32_t code, std::int64_t /*param*/) override {
        if (code == AppMessage::kRepaint) ++repaints;
    }
    int repaints = 0;
};

// The reader says "not shown" on every pass while the GPS is off (about nine a second):
// the window repaints when the position goes, not at every pass.
TEST(ShellBridge, TheGpsSwitchedOffMarksThePositionNotShownAndRepaintsOnce) {
    NmeaParser parser;
    HandOverState handOver;
    ShellBridge bridge("/nonexistent", parser, handOver);
    RepaintCount window;
    bridge.attach(&window);

    handOver.position = PositionMark::Shown;
    bridge.positionUpdated(Fix{45.0, 7.0});
    for (int pass = 0; pass < 20; ++pass) {
        bridge.positionNotShown();
        bridge.repaintTaken();  // the window handled each message at once
    }
    EXPECT_EQ(handOver.position, PositionMark::NotShown);
    EXPECT_FALSE(bridge.position().has_value());
    EXPECT_EQ(window.repaints, 1);

    // A receiver that lost its fix before the switch-off: the mark changes, one repaint.
    handOver.position = PositionMark::NoFix;
    bridge.positionNotShown();
    EXPECT_EQ(handOver.position, PositionMark::NotShown);
    EXPECT_EQ(window.repaints, 2);
    bridge.attach(nullptr);
}

}  // namespace
}  // namespace wendra::test
