#include <gtest/gtest.h>

#include <cmath>

#include "platform/qt/QtDrawingSurface.h"
#include "track/Track.h"
#include "track/TrackPoint.h"
#include "track/TrackUnits.h"
#include "view/MapFrame.h"

namespace wendra::test {
namespace {

using platform::Pixel16;

constexpr int kWidth = 240;
constexpr int kHeight = 200;
constexpr int kCentreX = kWidth / 2;
constexpr int kCentreY = kHeight / 2;
constexpr float kScale = 1.0e6f;  // about 20 m a pixel
constexpr std::int32_t kOverlays =
    settings::kAltitudeGraph | settings::kGrid | settings::kMovingDirection | settings::kWayLines;

// A frame of 240 x 200 following a fix at the view centre under manual zoom, with no
// overlays and no information line unless a test turns them on.
class MapFrameTest : public ::testing::Test {
protected:
    MapFrameTest() : buffer({kWidth, kHeight}), surface(buffer) {
        view.zoomWord = zoom::kManual;
        view.scale = view.manualScale = kScale;
        view.settingsWord =
            settings::withField(settings::kDefault & ~kOverlays, settings::kInfoLineShift, 0);
        view.setCentre(gps.lat, gps.lon);
        data.frame.gps = &gps;
        data.frame.fixValid = true;
        data.positionShown = true;
        data.live = true;
        data.fix.latitude = gps.lat * 180.0;
        data.fix.longitude = gps.lon * 180.0;
    }

    // A point at (dx, dy) pixels from the centre, x east, y south.
    void addPoint(int layer, double dx, double dy, std::uint16_t colour) {
        TrackPoint& point = *track.layer(layer).append();
        point.lat = gps.lat - dy / kScale;
        point.latRad = point.lat * kPi;
        point.cosLat = std::cos(point.latRad);
        point.lon = gps.lon + dx / (kScale * point.cosLat);
        point.colour = colour;
        if (point.prev) point.prev->distNext = static_cast<float>(std::fabs(dx - 0) / kScale);
    }
    void paint(std::u16string_view alert = {}) {
        frame.paintView(&surface, {0, 0, kWidth, kHeight}, alert, data);
        surface.flush();
    }
    static Pixel16 px(platform::ColorRef colour) { return platform::toPixel16(colour); }
    int countInColumn(int x, int y0, int y1, Pixel16 pixel) const {
        int n = 0;
        for (int y = y0; y <= y1; ++y) n += buffer.at(x, y) == pixel;
        return n;
    }
    int countIn(platform::Rect area, Pixel16 pixel) const {
        int n = 0;
        for (int y = area.top; y < area.bottom; ++y)
            for (int x = area.left; x < area.right; ++x) n += buffer.at(x, y) == pixel;
        return n;
    }

    LatLon gps{0.25, 0.05};
    Track track;
    ViewGeometry view;
    ViewCycle cycle{view, track};
    MapFrame frame{view, cycle, track};
    FrameData data;
    platform::PixelBuffer buffer;
    platform::qt::QtDrawingSurface surface;
};

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
        for (int layer = 0; layer < Track::kLayerCount; ++layer) track.clearLayer(layer);
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
        {"coordinates of the fix", 1, true, u"", 1},
        {"time without a fix", 2, false, u"?", 2},
        {"speed, altitude, length", 3, true, u"", 3},
    };
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
    std::span<const DrawnPoint> drawnPoints(int budget, platform::Size) override {
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
