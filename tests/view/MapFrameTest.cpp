#include "FrameFixture.h"
#include "records/CoordinateFormat.h"

namespace wendra::test {
namespace {

using platform::Pixel16;

using MapFrameTest = FrameFixture;

TEST_F(MapFrameTest, TrackLayersTakeTheirColourWordsPensAndHalo) {
    struct Case {
        const char* legend;
        int layer;
        std::uint16_t colour;
        int thickness;  // pixels of the line's colour across it
        bool halo;      // background just outside the line
        bool dashed;    // gaps along it
    };
    const Case cases[] = {
        {"main layer 0x0208: red, 3 pixels, halo", 0, 0x0208, 3, true, false},
        {"loaded layer with extra width: solid", 2, 0x0108, 2, false, false},
        {"loaded layer, no extra width: dashed", 1, 0x000C, 1, false, true},
        {"main layer, no extra width: solid", 0, 0x000C, 1, true, false},
    };
    const int y = kCentreY + 40;  // clear of the position marker
    for (const Case& c : cases) {
        clearTrack();
        addPoint(c.layer, -100, 40, c.colour);
        addPoint(c.layer, 100, 40, c.colour);
        paint();
        const Pixel16 ink = px(paletteColour(c.colour & 0xFF));
        const int x = kCentreX + 7;
        EXPECT_EQ(countInColumn(x, y - 4, y + 4, ink), c.thickness) << c.legend;
        const int above = y - c.thickness / 2 - 1;
        EXPECT_EQ(buffer.at(x, above) == px(data.colours.day(ColourRole::Back)), c.halo)
            << c.legend;
        int along = 0;
        for (int column = kCentreX - 60; column < kCentreX + 60; ++column)
            along += countInColumn(column, y - 4, y + 4, ink) > 0;
        EXPECT_EQ(along < 120, c.dashed) << c.legend << ": " << along;
    }
}

TEST_F(MapFrameTest, BannerIsRedForAlertsAndBlueOtherwise) {
    struct Case {
        const char16_t* text;
        platform::ColorRef colour;
        platform::ColorRef other;
    };
    const Case cases[] = {
        {u"Alert:\nCamp", kAlertBannerColour, kNoticeBannerColour},
        {u"Alarm drift", kAlertBannerColour, kNoticeBannerColour},
        {u"Navigate to:\nSummit", kNoticeBannerColour, kAlertBannerColour},
    };
    data.positionShown = false;  // no marker in the middle
    // The banner sits in the middle; the position marker's colour is red too.
    const platform::Rect middle{20, kCentreY - 40, kWidth - 20, kCentreY + 40};
    for (const Case& c : cases) {
        paint(c.text);
        EXPECT_EQ(frame.banner(), c.text);
        EXPECT_GT(countIn(middle, px(c.colour)), 20) << "banner " << &c - cases;
        EXPECT_EQ(countIn(middle, px(c.other)), 0) << "banner " << &c - cases;
    }
    paint();
    EXPECT_TRUE(frame.banner().empty()) << "cleared by the next paint";
    EXPECT_EQ(countIn(middle, px(kAlertBannerColour)), 0);
}

TEST_F(MapFrameTest, InformationLineFieldsByModeAndFix) {
    struct Case {
        const char* legend;
        int mode;
        bool fix;
        std::u16string first;  // empty: anything but the no-fix texts
        std::size_t fields;
    };
    const Case cases[] = {
        {"coordinates without a fix", 1, false, u"?-?", 1},
        {"coordinates of the fix", 1, true, u"45.000000N,9.000000E", 1},
        {"time without a fix", 2, false, u"?", 2},
        {"speed, altitude, length", 3, true, u"", 3},
    };
    view.settingsWord =
        settings::withField(view.settingsWord, settings::kCoordinateFormatShift, kFormatDegrees);
    for (const Case& c : cases) {
        view.settingsWord =
            settings::withField(view.settingsWord, settings::kInfoLineShift, c.mode);
        data.positionShown = c.fix;
        data.live = c.fix;
        data.fix.time = c.fix ? 45000.5 : 0.0;
        paint();
        const auto fields = frame.infoFields(data);
        ASSERT_EQ(fields.size(), c.fields) << c.legend;
        if (c.first.empty()) {
            EXPECT_NE(fields[0], u"?-?") << c.legend;
            EXPECT_FALSE(fields[0].empty()) << c.legend;
        } else {
            EXPECT_EQ(fields[0], c.first) << c.legend;
        }
        // The band is in the position colour, grey when the position is not live.
        const platform::ColorRef fill = c.fix ? data.colours.day(ColourRole::Gps) : kNotLiveColour;
        EXPECT_EQ(buffer.at(kWidth / 4, kHeight - 2), px(fill)) << c.legend;
    }
}

class ListedPoints final : public PointSource {
public:
    std::span<const DrawnPoint> drawnPoints(int budget) override {
        asked = budget;
        return points;
    }
    std::vector<DrawnPoint> points;
    int asked = 0;
};

TEST_F(MapFrameTest, PointsAreMarkedInTheirPaletteColourOrGrey) {
    struct Case {
        const char* legend;
        bool notLive;
        platform::ColorRef shown;
        platform::ColorRef notShown;
    };
    const Case cases[] = {
        {"live point: palette 13", false, paletteColour(13), kNotLiveColour},
        {"not live: grey", true, kNotLiveColour, paletteColour(13)},
    };
    ListedPoints source;
    data.points = &source;
    const platform::Rect around{kCentreX + 40, kCentreY - 60, kCentreX + 60, kCentreY - 40};
    for (const Case& c : cases) {
        DrawnPoint point;
        point.lat = gps.lat + 50 / kScale;
        point.lon = gps.lon + 50 / (kScale * std::cos(point.lat * kPi));
        point.palette = 13;
        point.notLive = c.notLive;
        point.groupHidden = point.nameHidden = true;
        source.points = {point};
        paint();
        EXPECT_GT(countIn(around, px(c.shown)), 8) << c.legend;
        EXPECT_EQ(countIn(around, px(c.notShown)), 0) << c.legend;
        EXPECT_GE(source.asked, MapFrame::kLeastBudget) << c.legend;
    }
}

// While the map is dragged the frame leaves out the altitude graph and the labels;
// the track and the point markers move with the pen.
TEST_F(MapFrameTest, AQuickFrameDrawsWhatMovesWithThePenOnly) {
    view.settingsWord |= settings::kAltitudeGraph;
    addPoint(0, -100, -60, 0x0208);
    addPoint(0, 100, -60, 0x0208);
    ListedPoints source;
    DrawnPoint point;
    point.lat = gps.lat - 40 / kScale;
    point.lon = gps.lon;
    point.palette = 13;
    point.name = u"Camp";
    source.points = {point};
    data.points = &source;
    const platform::Rect band{0, kHeight - 70, kWidth, kHeight};
    const platform::Rect label{kCentreX - 30, kCentreY + 10, kCentreX + 30, kCentreY + 36};
    for (const bool quick : {false, true}) {
        frame.setQuickDraw(quick);
        paint();
        EXPECT_EQ(countIn(band, px(kAltitudeColour)) > 0, !quick) << "altitude, quick " << quick;
        EXPECT_EQ(countIn(label, px(paletteColour(13))) > 9, !quick) << "label, quick " << quick;
        EXPECT_EQ(buffer.at(kCentreX, kCentreY - 60), px(paletteColour(8))) << quick;
        EXPECT_GT(countIn({kCentreX - 5, kCentreY + 35, kCentreX + 6, kCentreY + 46},
                          px(paletteColour(13))),
                  4)
            << "the point's marker, quick " << quick;
    }
}

TEST_F(MapFrameTest, WithoutASurfaceOnlyTheStateMoves) {
    addPoint(0, -100, 40, 0x0208);
    addPoint(0, 100, 40, 0x0208);
    buffer.fill(0x1234);
    LatLon moved{gps.lat + 0.001, gps.lon};
    data.frame.gps = &moved;
    frame.paintView(nullptr, {0, 0, kWidth, kHeight}, u"Alert:\nX", data);
    EXPECT_NEAR(view.centreLat(), moved.lat, 1e-12) << "the view follows the fix";
    EXPECT_EQ(countIn({0, 0, kWidth, kHeight}, 0x1234), kWidth * kHeight) << "nothing drawn";
    EXPECT_NE(track.main().visibleHead, nullptr) << "the track is placed for the next paint";
}

}  // namespace
}  // namespace wendra::test
