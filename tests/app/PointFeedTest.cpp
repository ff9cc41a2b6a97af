// The point store's points in frames drawn headless: icons, markers and labels where the
// points are, the budget spent on points on the screen only, and a tap's balloon.

#include <gtest/gtest.h>

#include <cmath>

#include "app/PointFeed.h"
#include "points/IconList.h"
#include "records/DayNumber.h"
#include "support/FakeClock.h"
#include "support/TestPaths.h"
#include "track/TrackUnits.h"
#include "view/FrameFixture.h"

namespace wendra::test {
namespace {

using platform::Pixel16;
using platform::Rect;

// The view's frame fed by a point store with the shipped icons, and no position
// marker of its own: the points are all that is drawn.
class PointFeedTest : public FrameFixture {
protected:
    PointFeedTest() {
        data.positionShown = false;
        icons.load(testData().parent_path().parent_path() / "data" / "icons", 1);
        store.setIcons(&icons);
        data.points = &feed;
        data.pointIcons = &icons.images();
    }

    // A point (dx, dy) pixels from the centre, x east, y south.
    points::GpsPoint& addPoint(double dx, double dy, std::u16string name, int colour = 13) {
        points::GpsPoint point;
        const double lat = centre.lat - dy / kScale;
        point.setPositionUnits(centre.lon + dx / (kScale * std::cos(lat * kPi)), lat);
        point.name = std::move(name);
        point.colour = colour;
        return store.addPoint(point);
    }
    int countOther(Rect area, Pixel16 pixel) const {
        return area.width() * area.height() - countIn(area, pixel);
    }

    FakeClock clock;
    platform::ScopedClock clockScope{clock};
    const LatLon centre = gps;
    points::IconList icons;
    points::PointStore store;
    PointFeed feed{store, view};
};

TEST_F(PointFeedTest, PointsShowTheirMarkerWithTheIconOrLabelTheirModeAsks) {
    struct Case {
        const char* legend;
        points::LabelMode mode;
        points::PointStatus status;
        const char16_t* icon;
        bool marked;  // the marker in the point's colour at its pixel
        bool label;   // text in that colour above it
        bool image;   // something else above it: the icon
    };
    using points::LabelMode;
    using points::PointStatus;
    const Case cases[] = {
        {"icon mode with an icon", LabelMode::Icon, PointStatus::Displayed, u"Flag", true, false,
         true},
        {"icon mode without one: neither", LabelMode::Icon, PointStatus::Active, u"", true, false,
         false},
        {"group and name", LabelMode::GroupName, PointStatus::Active, u"Flag", true, true, false},
        {"deactivated: not drawn", LabelMode::GroupName, PointStatus::Deactivated, u"", false,
         false, false},
    };
    ASSERT_GT(icons.indexOf(u"Flag"), points::IconList::kSharedIcon) << "the shipped icons";
    const Rect above{kCentreX + 30 - 20, kCentreY - 40 - 30, kCentreX + 30 + 20, kCentreY - 40 - 5};
    const Pixel16 ink = px(paletteColour(13));
    for (const Case& c : cases) {
        store.clear();
        points::GpsPoint& p = addPoint(30, -40, u"Hut");
        p.setLabelMode(c.mode);
        p.setStatus(c.status);
        p.iconName = c.icon;
        store.resolveNames();
        paint();
        EXPECT_EQ(buffer.at(kCentreX + 30, kCentreY - 40) == ink, c.marked) << c.legend;
        EXPECT_EQ(countIn(above, ink) > 5, c.label) << c.legend;
        EXPECT_EQ(countOther(above, background()) - countIn(above, ink) > 20, c.image) << c.legend;
        EXPECT_EQ(store.drawnPoints().size(), c.marked ? 1u : 0u) << c.legend;
    }
}

TEST_F(PointFeedTest, PointsOffTheScreenTakeNoneOfTheBudget) {
    ASSERT_TRUE(view.setting(settings::kLimitPoints));
    for (int i = 0; i < 2 * MapFrame::kInitialBudget; ++i) addPoint(5000 + i, 0, u"Far");
    addPoint(-30, 30, u"Near", 8);
    paint();
    ASSERT_EQ(store.drawnPoints().size(), 1u);
    EXPECT_EQ(store.drawnPoints().front()->name, u"Near");
    EXPECT_EQ(buffer.at(kCentreX - 30, kCentreY + 30), px(paletteColour(8)));
}

TEST_F(PointFeedTest, ATapShowsThePointInABalloonForFiveSeconds) {
    points::GpsPoint& hut = addPoint(40, 40, u"Hut");
    hut.setLabelMode(points::LabelMode::Icon);  // no label of its own
    paint();
    ASSERT_EQ(frame.balloons().size(), 0);
    EXPECT_EQ(store.tapAt(kCentreX - 40, kCentreY - 40, 1, currentDayNumber()), 0) << "nothing";
    EXPECT_EQ(store.tapAt(kCentreX + 45, kCentreY + 38, 1, currentDayNumber()), 1);
    paint();
    ASSERT_EQ(frame.balloons().size(), 1);
    EXPECT_EQ(frame.balloons()[0].text, u"Hut");
    const Rect above{kCentreX + 40 - 40, kCentreY, kCentreX + 40 + 40, kCentreY + 40 - 6};
    EXPECT_GT(countIn(above, px(data.colours.day(ColourRole::Draw))), 30) << "box and text";
    clock.advanceMilliseconds(4900);
    paint();
    EXPECT_EQ(frame.balloons().size(), 1);
    clock.advanceMilliseconds(200);
    paint();
    EXPECT_EQ(frame.balloons().size(), 0);
    EXPECT_EQ(countOther(above, background()), 0) << "gone from the map";
}

// The automatic zoom centres on the "Active" points and fits them, far apart as they
// are, while a "Displayed" one farther still is left off the screen.
TEST_F(PointFeedTest, TheAutomaticZoomFitsTheActivePoints) {
    view.zoomWord = 0;
    view.settingsWord &= ~settings::kSmoothZoom;
    addPoint(1000, 0, u"East");
    addPoint(-600, 0, u"West");
    addPoint(3000, 0, u"Displayed").setStatus(points::PointStatus::Displayed);
    data.frame.fitPoints = feed.fitPoints();
    paint();
    ASSERT_EQ(data.frame.fitPoints.size(), 2u);
    EXPECT_LT(view.scale, kScale / 4);
    EXPECT_NEAR((view.centreLon() - centre.lon) * std::cos(centre.lat * kPi) * kScale, 200.0, 1.0);
    ASSERT_EQ(store.drawnPoints().size(), 2u);
    EXPECT_EQ(store.drawnPoints()[0]->name, u"East");
    EXPECT_EQ(store.drawnPoints()[1]->name, u"West");
}

TEST_F(PointFeedTest, LabelsAskingForTheDistanceGetItFromThePosition) {
    points::GpsPoint& hut = addPoint(0, -50, u"Hut");
    hut.flags |= points::kCourseAndDistance;
    paint();                                                   // places the view
    LatLon south{centre.lat - 1.0 / kHalfTurnKm, centre.lon};  // 1 km south of the view
    feed.setFrom(&south);
    const auto shown = feed.drawnPoints(MapFrame::kInitialBudget, {kWidth, kHeight});
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_NEAR(shown[0].distanceKm, 1.0 + 50 * kHalfTurnKm / kScale, 1e-3);
    EXPECT_NEAR(shown[0].bearing, 0.0f, 0.01f) << "due north";
    feed.setFrom(nullptr);
    EXPECT_EQ(feed.drawnPoints(MapFrame::kInitialBudget, {kWidth, kHeight})[0].distanceKm, -1.0f)
        << "no position to measure from";
}

TEST(DistanceBearing, FlatEarthBearingsClockwiseFromNorth) {
    struct Case {
        const char* legend;
        double dLat, dLon;  // units
        float km;
        float degrees;
    };
    const double d = 1.0 / kHalfTurnKm;
    const Case cases[] = {
        {"north", d, 0, 1.0f, 0.0f},
        {"east", 0, d, 1.0f, 90.0f},
        {"south", -d, 0, 1.0f, 180.0f},
        {"west", 0, -d, 1.0f, 270.0f},
        {"the same place: no bearing", 0, 0, 0.0f, kNotSetF},
    };
    for (const Case& c : cases) {
        const DistanceBearing db = distanceBearing(0.0, 0.5, c.dLat, 0.5 + c.dLon);
        EXPECT_NEAR(db.km, c.km, 1e-4) << c.legend;
        EXPECT_NEAR(db.degrees, c.degrees, 0.01f) << c.legend;
    }
}

}  // namespace
}  // namespace wendra::test
