#include <gtest/gtest.h>

#include <limits>

#include "platform/qt/QtDrawingSurface.h"
#include "view/InfoLine.h"
#include "view/ViewColours.h"

namespace wendra::test {
namespace {

TEST(InfoLine, SignalLevelCountsTwoDecibelsABarFrom31) {
    struct Case {
        const char* legend;
        float signal;
        int level;
    };
    const Case cases[] = {
        {"below the floor", 20.0f, 0},
        {"at the floor", 31.0f, 0},
        {"just under one bar", 32.9f, 0},
        {"one bar", 33.0f, 1},
        {"three bars", 37.5f, 3},
        {"full", 41.0f, 5},
        {"held at five", 80.0f, 5},
        {"not a number", std::numeric_limits<float>::quiet_NaN(), 0},
    };
    for (const Case& c : cases) EXPECT_EQ(signalLevel(c.signal), c.level) << c.legend;
}

// One band across the bottom of a 240 x 200 surface, as the frame draws it.
class InfoLineDrawing : public ::testing::Test {
protected:
    static constexpr int kWidth = 240;
    static constexpr int kHeight = 200;
    static constexpr int kBandTop = kHeight - kInfoLineHeight;
    // A row inside every bar and every battery fill of half or more.
    static constexpr int kLowRow = kHeight - 3;

    InfoLineDrawing() : buffer({kWidth, kHeight}), surface(buffer) {
        info.band = platform::Rect{0, kBandTop, kWidth, kHeight};
        info.fill = colours.gps;
        info.ink = colours.draw;
        info.fields = {u"45.500000N,9.250000E"};
    }
    void draw() {
        drawInfoBand(surface, info, 1);
        surface.flush();
    }
    int filledBars() {
        draw();
        int filled = 0;
        for (int bar = 0; bar < kSignalBars; ++bar) {
            const int x = kWidth - kSignalGaugeWidth + bar * (kSignalGaugeWidth / kSignalBars);
            filled += buffer.at(x, kLowRow) == px(colours.draw);
        }
        return filled;
    }
    static platform::Pixel16 px(platform::ColorRef colour) { return platform::toPixel16(colour); }

    const ViewColours colours;
    InfoBand info;
    platform::PixelBuffer buffer;
    platform::qt::QtDrawingSurface surface;
};

TEST_F(InfoLineDrawing, SignalGaugeFillsTheBarsOfTheLevel) {
    for (int bars = 0; bars <= kSignalBars; ++bars) {
        info.signal = bars;
        EXPECT_EQ(filledBars(), bars);
    }
    info.signalShown = false;
    info.signal = kSignalBars;
    EXPECT_EQ(filledBars(), 0) << "in free movement the gauge gives way";
}

TEST_F(InfoLineDrawing, BatteryGaugeFillsByPercentageInTheColourOfThePowerSource) {
    struct Case {
        const char* legend;
        int battery;
        platform::ColorRef low;   // inside the fill
        platform::ColorRef high;  // above a half fill
    };
    const Case cases[] = {
        {"half on battery", 50, kBatteryColour, colours.gps},
        {"half on external power", kExternalPower + 50, kExternalPowerColour, colours.gps},
        {"full", 100, kBatteryColour, kBatteryColour},
        {"unknown: no gauge", kNoBattery, colours.gps, colours.gps},
    };
    for (const Case& c : cases) {
        info.battery = c.battery;
        draw();
        const int middle = kBatteryGaugeWidth / 2;
        EXPECT_EQ(buffer.at(middle, kLowRow), px(c.low)) << c.legend;
        EXPECT_EQ(buffer.at(middle, kBandTop + 3), px(c.high)) << c.legend;
    }
}

}  // namespace
}  // namespace wendra::test
