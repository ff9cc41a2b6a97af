#include <tuple>

#include "FrameFixture.h"
#include "records/CoordinateFormat.h"
#include "view/StatusIcons.h"

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

TEST_F(MapFrameTest, RecentPointsShowInBalloonsOfAtMostTen) {
    ListedPoints source;
    data.points = &source;
    const platform::ImageList icons = makeStatusIcons(1);
    data.statusIcons = &icons;
    data.positionShown = false;
    DrawnPoint camp = pointAt(0, 60);
    camp.name = u"Camp";
    camp.palette = 13;
    camp.groupHidden = camp.nameHidden = true;  // "Icon": no label unless alerted
    camp.alertedRecently = true;
    camp.hasAlert = true;
    camp.ifSpeed = true;
    camp.alertSpeedKmh = 20.0f;
    source.points = {camp};
    paint();
    ASSERT_EQ(frame.balloons().size(), 1);
    EXPECT_EQ(frame.balloons()[0].text, u"Camp") << "an alerted point shows its hidden name";
    const platform::Rect above{kCentreX - 60, kCentreY, kCentreX + 60, kCentreY + 60 - 6};
    const Pixel16 alertRed = px(platform::rgb(0xe0, 0x00, 0x00));
    EXPECT_GT(countIn(above, alertRed), 10) << "the alert symbol in the column";
    EXPECT_GT(countIn(above, px(data.colours.day(ColourRole::Draw))), 30) << "outline and text";
    EXPECT_EQ(countIn(above, px(paletteColour(13))), 0) << "no label of its own";

    camp.alertedRecently = false;
    camp.nameHidden = false;  // "Name"
    source.points = {camp};
    paint();
    EXPECT_EQ(frame.balloons().size(), 0);
    EXPECT_EQ(countIn(above, alertRed), 0);
    EXPECT_GT(countIn(above, px(paletteColour(13))), 10) << "the label in the point's colour";

    source.points.clear();
    for (int i = 0; i < 12; ++i) {
        DrawnPoint p = pointAt(-100 + 18 * i, 40);
        p.name = u"P" + std::u16string(1, static_cast<char16_t>(u'a' + i));
        p.alertedRecently = true;
        source.points.push_back(p);
    }
    paint();
    ASSERT_EQ(frame.balloons().size(), BalloonRing::kCapacity);
    EXPECT_EQ(frame.balloons()[0].text, u"Pc") << "the two oldest gave way";
    EXPECT_EQ(frame.balloons()[9].text, u"Pl");
}

// A frame keeps each label's layout for the next; whatever changed between two frames,
// the second shows what a surface that never drew a label shows.
TEST_F(MapFrameTest, LabelsKeptFromTheLastFrameShowWhatFreshOnesShow) {
    struct Case {
        const char* legend;
        void (*change)(std::vector<DrawnPoint>& points);
    };
    const Case cases[] = {
        {"nothing changed", [](std::vector<DrawnPoint>&) {}},
        {"a point renamed", [](std::vector<DrawnPoint>& p) { p[1].name = u"Ridge"; }},
        {"a label hidden", [](std::vector<DrawnPoint>& p) { p[0].groupHidden = true; }},
        {"a point gone, the next takes its place",
         [](std::vector<DrawnPoint>& p) { p.erase(p.begin()); }},
        {"recoloured", [](std::vector<DrawnPoint>& p) { p[2].palette = 5; }},
        {"moved", [](std::vector<DrawnPoint>& p) { p[1].lat += 30 / kScale; }},
    };
    ListedPoints source;
    data.points = &source;
    data.positionShown = false;
    const auto points = [&] {
        std::vector<DrawnPoint> list;
        for (const auto& [dx, dy, name] :
             {std::tuple{-60, -40, u"Camp"}, {20, 30, u"Well"}, {70, -70, u"Pass and hut"}}) {
            DrawnPoint p = pointAt(dx, dy);
            p.name = name;
            p.group = u"Walk";
            p.palette = 13;
            list.push_back(p);
        }
        return list;
    };
    platform::PixelBuffer freshBuffer({kWidth, kHeight});
    for (const Case& c : cases) {
        source.points = points();
        paint();
        c.change(source.points);
        paint();
        platform::qt::QtDrawingSurface fresh(freshBuffer);
        frame.paintView(&fresh, {0, 0, kWidth, kHeight}, {}, data);
        fresh.flush();
        int differ = 0;
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) differ += buffer.at(x, y) != freshBuffer.at(x, y);
        EXPECT_EQ(differ, 0) << c.legend;
        EXPECT_GT(countIn(buffer.bounds(), px(paletteColour(13))), 40) << c.legend;
    }
}

TEST_F(MapFrameTest, StatusIconsShowTheGpsStateAndALoadingMap) {
    struct Case {
        const char* legend;
        GpsStatus status;
        bool loading;
        platform::ColorRef body;  // the GPS icon's colour left of its middle
    };
    const Case cases[] = {
        {"live fix", GpsStatus::Fix, false, platform::rgb(0x00, 0xc0, 0x00)},
        {"stale fix: icon 6", GpsStatus::Stale, false, platform::rgb(0xb0, 0xb0, 0xb0)},
        {"receiver without a fix", GpsStatus::NoFix, false, platform::rgb(0xff, 0xa0, 0x00)},
        {"a map loads beside a fix", GpsStatus::Fix, true, platform::rgb(0x00, 0xc0, 0x00)},
    };
    const platform::ImageList icons = makeStatusIcons(1);
    data.statusIcons = &icons;
    const Pixel16 hourglass = px(platform::rgb(0x20, 0x60, 0xff));
    const int top = 5;
    for (const Case& c : cases) {
        data.gpsStatus = c.status;
        data.mapLoading = c.loading;
        paint();
        const int left = (kWidth - (c.loading ? 2 : 1) * statusicon::kSize) / 2;
        EXPECT_EQ(buffer.at(left + 4, top + 10), px(c.body)) << c.legend;
        EXPECT_EQ(countIn({0, 0, kWidth, 30}, hourglass) > 20, c.loading) << c.legend;
        if (c.loading) {
            EXPECT_EQ(buffer.at(left + 30, top + 3), hourglass) << c.legend;
        }
    }
}

class GivenButtons final : public ButtonLayout {
public:
    std::span<const ScreenButton> buttons() override { return list; }
    const platform::ImageList* images() override { return nullptr; }
    std::vector<ScreenButton> list;
};

TEST_F(MapFrameTest, ButtonsAreFilledByStateAndBlockedOnesCrossedOut) {
    GivenButtons layout;
    layout.list = {{{10, 120, 50, 160}, -1, true, false}, {{60, 120, 100, 160}, -1, false, true}};
    data.buttons = &layout;
    paint();
    EXPECT_EQ(buffer.at(30, 140), px(kButtonActiveColour)) << "active, not crossed";
    EXPECT_EQ(buffer.at(70, 140), px(kButtonIdleColour)) << "idle";
    EXPECT_EQ(buffer.at(80, 140), px(data.colours.day(ColourRole::Draw))) << "the cross";
    EXPECT_EQ(buffer.at(40, 130), px(kButtonActiveColour)) << "no cross on the unblocked one";
}

class GivenNavigation final : public NavigationSource {
public:
    NavigationValues navigation() override { return values; }
    NavigationValues values;
};

TEST_F(MapFrameTest, NavigationLineShowsTheTargetWhileNavigating) {
    struct Case {
        const char* legend;
        NavigationValues values;
        std::size_t fields;  // bearing, distance, time to reach, each when shown
        std::u16string first;
    };
    const Case cases[] = {
        {"bearing, distance and an hour to go", {true, 45.2f, 2.0f, 1.0 / 24}, 3, u"45"},
        {"bearing unknown, three days to go", {true, kNotSetF, 2.0f, 3.0}, 1, u""},
        {"the target 4 m away", {true, 45.0f, 0.004f, 0.01}, 0, u""},
        {"not navigating", {false, 45.0f, 2.0f, 0.01}, 0, u""},
    };
    GivenNavigation navigation;
    data.navigation = &navigation;
    view.settingsWord = settings::withField(view.settingsWord, settings::kInfoLineShift,
                                            settings::kInfoLineNavigation);
    for (const Case& c : cases) {
        navigation.values = c.values;
        const auto fields = frame.infoFields(data);
        ASSERT_EQ(fields.size(), c.fields) << c.legend;
        if (!c.first.empty()) {
            EXPECT_EQ(fields[0], c.first) << c.legend;
        }
    }
    data.navigation = nullptr;
    EXPECT_TRUE(frame.infoFields(data).empty()) << "no source: not navigating";
}

TEST_F(MapFrameTest, ArmedDriftAlarmCirclesTheSecondMarker) {
    data.positionShown = false;  // its marker is red too
    view.flags |= viewflag::kSecondMarker;
    view.secondMarker = LatLon{gps.lat, gps.lon + 60 / (kScale * std::cos(gps.lat * kPi))};
    const platform::Rect onCircle{kCentreX + 60 - 2, kCentreY - 30 - 2, kCentreX + 60 + 3,
                                  kCentreY - 30 + 3};
    const Pixel16 red = px(kDriftCircleColour);
    paint();
    EXPECT_EQ(countIn(onCircle, red), 0) << "not armed";
    data.driftRadiusKm = static_cast<float>(30 * kHalfTurnKm / kScale);  // 30 pixels
    paint();
    EXPECT_GT(countIn(onCircle, red), 0);
    EXPECT_EQ(buffer.at(kCentreX + 60, kCentreY - 20),
              platform::toUnpaintedPixel16(data.colours.day(ColourRole::Back)))
        << "a ring, not a disc";
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
