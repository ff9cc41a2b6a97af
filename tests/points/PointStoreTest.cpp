#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "alerts/AlertList.h"
#include "points/GeneratedPoints.h"
#include "points/PointStore.h"
#include "records/CoordinateFormat.h"

namespace wendra::points {
namespace {

GpsPoint at(const char16_t* name, const char16_t* group, double lat, double lon) {
    GpsPoint p;
    p.name = name;
    p.group = group;
    p.setPosition(lat, lon);
    return p;
}

std::u16string namesOf(const PointStore& store) {
    std::u16string names;
    for (size_t i = 0; i < store.size(); ++i) names += store.at(i).name + u" ";
    return names;
}

TEST(GpsPoint, KeepsTheDerivedValuesInStep) {
    GpsPoint p;
    EXPECT_FALSE(p.positionValid());
    EXPECT_EQ(p.listRow, -1);
    EXPECT_EQ(p.colour, kDefaultColour);
    EXPECT_GE(p.identifier, 1);
    p.setPosition(60.0, 90.0);
    EXPECT_TRUE(p.positionValid());
    EXPECT_DOUBLE_EQ(p.latUnits, 60.0 / 180.0);
    EXPECT_NEAR(p.cosLat, 0.5, 1e-12);
    EXPECT_NEAR(p.lonCos, 0.25, 1e-12);
    p.setPositionUnits(-0.5, 0.25);
    EXPECT_DOUBLE_EQ(p.latitude, 45.0);
    EXPECT_DOUBLE_EQ(p.longitude, -90.0);
    // One half-turn unit north is 20037.5 km; east is stretched by 1/cos(lat).
    p.setPosition(60.0, 0.0);
    p.offsetPosition(20037.508342789242 / 180.0, 20037.508342789242 / 180.0);
    EXPECT_NEAR(p.latitude, 61.0, 1e-9);
    EXPECT_NEAR(p.longitude, 2.0, 1e-9);
    p.setPosition(std::nan(""), 0.0);
    EXPECT_FALSE(p.positionValid());
}

TEST(GpsPoint, StatusAndLabelBits) {
    struct Case {
        uint32_t bits;
        PointStatus status;
    } const statuses[] = {
        {0, PointStatus::Active},
        {0xC, PointStatus::Displayed},
        {0x8000000C, PointStatus::Secondary},
        {0x8, PointStatus::Deactivated},
        {0x4, PointStatus::Active},  // without "off" a point is considered
    };
    for (const Case& c : statuses) {
        EXPECT_EQ(statusOf(c.bits), c.status) << c.bits;
        if (c.bits != 0x4) {
            EXPECT_EQ(statusBits(c.status), c.bits);
        }
    }
    EXPECT_EQ(labelModeOf(0x20), LabelMode::Group);
    EXPECT_EQ(labelModeOf(0x10), LabelMode::Name);
    EXPECT_EQ(labelModeOf(0x30), LabelMode::Icon);
    GpsPoint p;
    p.flags = kPositionValid | kShared;
    p.setStatus(PointStatus::Secondary);
    p.setLabelMode(LabelMode::Name);
    EXPECT_EQ(p.flags, kPositionValid | kShared | 0x8000000Cu | 0x10u);
}

TEST(GpsPoint, DisplayTextFallsBackToTheCoordinates) {
    GpsPoint p = at(u"Hut", u"Alps", 46.5, 7.25);
    EXPECT_EQ(p.displayText(kFormatDegrees, true), u"Alps/Hut");
    EXPECT_EQ(p.displayText(kFormatDegrees, false), u"Hut");
    p.group.clear();
    EXPECT_EQ(p.displayText(kFormatDegrees, true), u"Hut");
    p.name.clear();
    EXPECT_EQ(p.displayText(kFormatDegrees, true), u"46.500000N,7.250000E");
}

TEST(GpsPoint, CopyDisplayTakesOnlyTheDisplay) {
    GpsPoint src = at(u"src", u"g1", 10.0, 10.0);
    src.flags |= 0xFFFFFFFEu;
    src.colour = 3;
    src.iconName = u"Boat";
    src.iconIndex = 4;
    src.course = 90;
    src.speed = 5.0f;
    GpsPoint dst = at(u"dst", u"g2", 20.0, 20.0);
    dst.number = 8;
    copyDisplay(dst, src);
    EXPECT_EQ(dst.flags, kPositionValid | 0x8000613cu);
    EXPECT_EQ(dst.name, u"dst");
    EXPECT_EQ(dst.number, 8);
    EXPECT_DOUBLE_EQ(dst.latitude, 20.0);
    EXPECT_EQ(dst.colour, 3);
    EXPECT_EQ(dst.iconIndex, 4);
    EXPECT_EQ(dst.course, 90);
}

TEST(PointStore, ResolvesAlertAndIconAndNumbers) {
    AlertList alerts;
    alerts.addDefaultWhenEmpty();
    PointStore store;
    store.setAlerts(&alerts);
    GpsPoint p = at(u"a", u"", 1, 1);
    p.alertName = AlertList::kDefaultName;
    p.iconName = u"NoSuchIcon";
    GpsPoint& stored = store.addPoint(p);
    ASSERT_NE(stored.alert, nullptr);
    EXPECT_EQ(stored.alert->name, AlertList::kDefaultName);
    EXPECT_EQ(stored.iconIndex, 0);
    store.setCounter(41);
    EXPECT_EQ(store.numberPoint(stored), 42);
    EXPECT_EQ(store.numberPoint(stored), 42);
    EXPECT_EQ(store.counter(), 42);
}

// Centre at 0/0; distances in degrees along the equator or a meridian.
TEST(PointStore, SortsAGroupAmongItsOwnPlaces) {
    struct Case {
        const char* legend;
        std::vector<GpsPoint> points;
        bool byDistance;
        std::u16string expected;
    };
    const std::vector<Case> cases = {
        {"one point changes nothing", {at(u"a", u"G", 5, 0)}, true, u"a "},
        {"equal distances keep their order",
         {at(u"b", u"G", 1, 0), at(u"a", u"G", -1, 0)},
         true,
         u"b a "},
        {"other groups keep their places",
         {at(u"far", u"G", 3, 0), at(u"x", u"H", 0, 0), at(u"near", u"G", 0, 1),
          at(u"mid", u"G", 2, 0)},
         true,
         u"near x mid far "},
        {"many points by distance",
         {at(u"6", u"G", 6, 0), at(u"2", u"G", 0, 2), at(u"9", u"G", 0, 9), at(u"1", u"G", 1, 0),
          at(u"5", u"G", 5, 0), at(u"3", u"G", 3, 0), at(u"8", u"G", 0, -8), at(u"4", u"G", 4, 0),
          at(u"7", u"G", 7, 0)},
         true,
         u"1 2 3 4 5 6 7 8 9 "},
        {"by name",
         {at(u"c", u"G", 1, 0), at(u"a", u"G", 9, 0), at(u"b", u"G", 5, 0)},
         false,
         u"a b c "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.legend);
        PointStore store;
        for (const GpsPoint& p : c.points) store.addPoint(p);
        store.sortGroup(u"G", c.byDistance, 0.0, 0.0);
        EXPECT_EQ(namesOf(store), c.expected);
    }
}

TEST(PointStore, DrawsEveryPointNotDeactivatedWithinTheBudget) {
    PointStore store;
    for (int i = 0; i < 6; ++i) store.addPoint(at(u"p", u"", i, 0));
    store.at(1).setStatus(PointStatus::Deactivated);
    store.at(2).setStatus(PointStatus::Secondary);
    store.at(3).flags &= ~kPositionValid;
    EXPECT_EQ(store.selectDrawnPoints(false, 25).size(), 4u);
    const auto& limited = store.selectDrawnPoints(true, 2);
    ASSERT_EQ(limited.size(), 2u);
    EXPECT_EQ(limited[0], &store.at(0));
    EXPECT_EQ(limited[1], &store.at(2));
    EXPECT_FALSE(store.at(4).flags & kDrawnThisFrame);
    EXPECT_TRUE(store.at(2).flags & kDrawnThisFrame);
}

TEST(PointStore, TapFindsTheNearestDrawnPoint) {
    constexpr double kSecond = 1.0 / 86400.0;
    PointStore store;
    for (int i = 0; i < 3; ++i) store.addPoint(at(u"p", u"", i, 0));
    store.setGpsPositionObject(&store.at(0));
    store.selectDrawnPoints(false, 25);
    store.at(0).screenX = 100, store.at(0).screenY = 100;  // the GPS position: never tapped
    store.at(1).screenX = 110, store.at(1).screenY = 100;
    store.at(2).screenX = 140, store.at(2).screenY = 100;
    GpsPoint* tapped = nullptr;
    EXPECT_EQ(store.tapAt(100, 100, 1, 10.0, &tapped), 1);
    EXPECT_EQ(tapped, &store.at(1));
    EXPECT_EQ(store.at(1).alertTime, 10.0);
    EXPECT_EQ(store.tapAt(111, 101, 1, 10.0 + 0.5 * kSecond), 2);
    EXPECT_EQ(store.tapAt(111, 101, 1, 10.0 + 2.0 * kSecond), 1);
    // Tapped points move to the front of the drawn list and stay there in the frames
    // after, so that the budget keeps them.
    store.tapAt(140, 100, 1, 11.0, &tapped);
    EXPECT_EQ(store.drawnPoints().front(), &store.at(2));
    ASSERT_EQ(store.selectDrawnPoints(true, 1).size(), 1u);
    EXPECT_EQ(store.drawnPoints().front(), &store.at(2));
    EXPECT_EQ(store.selectDrawnPoints(false, 25).size(), 3u);
    EXPECT_EQ(store.drawnPoints().front(), &store.at(2));
    // 30 pixels, doubled on a large screen.
    EXPECT_EQ(store.tapAt(175, 100, 1, 12.0), 0);
    EXPECT_EQ(store.tapAt(175, 100, 2, 12.0), 1);
    store.removePoint(store.at(2));
    EXPECT_EQ(store.selectDrawnPoints(false, 25).front(), &store.at(0)) << "gone with it";
}

// Which points the automatic zoom fits: the "Active" ones with a position, and under
// manual zoom with the limit on only those near the centre.
TEST(PointStore, FitsTheActivePointsNearEnough) {
    PointStore store;
    // 0: active near, 1: active 1 unit of latitude away, 2: displayed, 3: secondary,
    // 4: deactivated, 5: no position, 6: the GPS position object.
    for (int i = 0; i < 7; ++i) store.addPoint(at(u"p", u"", i == 1 ? 90.0 : 0.5, 0));
    store.at(2).setStatus(PointStatus::Displayed);
    store.at(3).setStatus(PointStatus::Secondary);
    store.at(4).setStatus(PointStatus::Deactivated);
    store.at(5).flags &= ~kPositionValid;
    store.setGpsPositionObject(&store.at(6));
    const struct {
        bool limit, manual;
        std::vector<int> fitted;
    } cases[] = {{false, false, {0, 1}}, {true, false, {0, 1}}, {false, true, {0, 1}},
                 {true, true, {0}}};
    for (const auto& c : cases) {
        const auto& fitted = store.selectFitPoints({c.limit, c.manual, 0.0, 0.0, 0.1});
        std::vector<int> indices;
        for (const GpsPoint* p : fitted)
            for (size_t i = 0; i < store.size(); ++i)
                if (&store.at(i) == p) indices.push_back(static_cast<int>(i));
        EXPECT_EQ(indices, c.fitted) << c.limit << c.manual;
    }
}

TEST(PointStore, StatisticsCountThePointsAndTheirMemory) {
    PointStore store;
    EXPECT_EQ(pointsStatisticsValue(store), u"0=0 b");
    store.addPoint(at(u"a", u"", 1, 1));
    const std::u16string value = pointsStatisticsValue(store);
    EXPECT_EQ(value.substr(0, 2), u"1=");
    EXPECT_GE(store.memoryBytes(), static_cast<int64_t>(sizeof(GpsPoint)));
}

TEST(GeneratedPoints, NamesAndDefaults) {
    const platform::CivilTime t{2024, 6, 5, 8, 7, 3, 0};
    const GpsPoint now = immediatePoint(t, 46.0, 7.0);
    EXPECT_EQ(now.name, u"240605-080703");
    EXPECT_EQ(now.group, u"Now");
    EXPECT_EQ(now.iconName, u"Flag");
    EXPECT_EQ(now.status(), PointStatus::Displayed);
    EXPECT_EQ(now.labelMode(), LabelMode::Icon);
    EXPECT_EQ(pointAddedMessage(now, kFormatDegrees), u"Point\nNow/240605-080703\nAdded");
    EXPECT_EQ(manOverboardName(t), u"Homme \u00e0 la mer 080703");
    const GpsPoint shared = newSharedPosition();
    EXPECT_TRUE(shared.isShared());
    EXPECT_EQ(shared.iconName, u"Pos1");
    EXPECT_EQ(shared.group, u"Shared positions");
}

}  // namespace
}  // namespace wendra::points
