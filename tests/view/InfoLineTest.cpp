#include <gtest/gtest.h>

#include <limits>

#include "ViewFixture.h"
#include "view/InfoLine.h"

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

class InfoLineDrawing : public ViewFixture {
protected:
    static constexpr int kBandTop = kHeight - kInfoLineHeight;
    // A row inside every bar and every battery fill of half or more.
    static constexpr int kLowRow = kHeight - 3;

    int filledBars() {
        draw();
        int filled = 0;
        for (int bar = 0; bar < kSignalBars; ++bar) {
            const int x = kWidth - kSignalGaugeWidth + bar * (kSignalGaugeWidth / kSignalBars);
            filled += buffer.at(x, kLowRow) == px(scene.colours.draw);
        }
        return filled;
    }
};

TEST_F(InfoLineDrawing, TextIsThePositionOfAShownFixElseQuestionMarks) {
    struct Case {
        const char* legend;
        PositionMark mark;
        double latitude;
        int format;
        std::u16string text;
    };
    const Case cases[] = {
        {"fix in degrees", PositionMark::Shown, 45.5, kFormatDegrees, u"45.500000N,9.250000E"},
        {"no fix", PositionMark::NoFix, 45.5, kFormatDegrees, u"?-?"},
        {"nothing yet", PositionMark::NotShown, 45.5, kFormatDegrees, u"?-?"},
        {"fix not set", PositionMark::Shown, -999999.0, kFormatDegrees, u"?-?"},
    };
    for (const Case& c : cases) {
        scene.position = c.mark;
        scene.fix.latitude = c.latitude;
        scene.fix.longitude = 9.25;
        scene.coordinateFormat = c.format;
        EXPECT_EQ(infoLineText(scene), c.text) << c.legend;
    }
}

TEST_F(InfoLineDrawing, SignalGaugeFillsTheBarsOfTheLevel) {
    struct Case {
        const char* legend;
        PositionMark mark;
        float signal;
        int bars;
    };
    const Case cases[] = {
        {"weak", PositionMark::Shown, 20.0f, 0},
        {"two bars", PositionMark::Shown, 35.0f, 2},
        {"strong", PositionMark::Shown, 45.0f, 5},
        {"no fix shows no signal", PositionMark::NoFix, 45.0f, 0},
    };
    for (const Case& c : cases) {
        scene.position = c.mark;
        scene.fix = fixAt(0, 0, c.signal);
        EXPECT_EQ(filledBars(), c.bars) << c.legend;
    }
}

TEST_F(InfoLineDrawing, BandTakesThePositionColourAndModeZeroHidesIt) {
    struct Case {
        const char* legend;
        PositionMark mark;
        int mode;
        platform::Pixel16 band;
    };
    const ViewColours colours;
    const Case cases[] = {
        {"fix shown", PositionMark::Shown, 1, px(colours.gps)},
        {"no fix: grey", PositionMark::NoFix, 1, px(kNotLiveColour)},
        {"other modes show the coordinates", PositionMark::Shown, 3, px(colours.gps)},
        {"mode 0: background", PositionMark::Shown, 0, platform::toUnpaintedPixel16(colours.back)},
    };
    for (const Case& c : cases) {
        scene.position = c.mark;
        scene.fix = fixAt(0, 0);
        scene.infoLineMode = c.mode;
        // Just right of the battery gauge, under the text's height.
        EXPECT_EQ(drawAndRead(kBatteryGaugeWidth + 2, kHeight - 1), c.band) << c.legend;
    }
}

TEST_F(InfoLineDrawing, BatteryGaugeFillsByPercentageInTheColourOfThePowerSource) {
    struct Case {
        const char* legend;
        int battery;
        platform::ColorRef low;   // inside the fill
        platform::ColorRef high;  // above a half fill
    };
    const ViewColours colours;
    const Case cases[] = {
        {"half on battery", 50, kBatteryColour, colours.gps},
        {"half on external power", 256 + 50, kExternalPowerColour, colours.gps},
        {"full", 100, kBatteryColour, kBatteryColour},
        {"unknown: no gauge", -1, colours.gps, colours.gps},
    };
    for (const Case& c : cases) {
        scene.position = PositionMark::Shown;
        scene.battery = c.battery;
        draw();
        const int middle = kBatteryGaugeWidth / 2;
        EXPECT_EQ(buffer.at(middle, kLowRow), px(c.low)) << c.legend;
        EXPECT_EQ(buffer.at(middle, kBandTop + 3), px(c.high)) << c.legend;
    }
}

}  // namespace
}  // namespace wendra::test
