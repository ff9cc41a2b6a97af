#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "TrackFixtures.h"
#include "support/FakeClock.h"
#include "track/DeviceTimeZone.h"

namespace wendra::test {
namespace {

std::vector<const TrackPoint*> points(const TrackLayer& layer) {
    std::vector<const TrackPoint*> all;
    for (const TrackPoint* p = layer.first(); p; p = p->next) all.push_back(p);
    return all;
}

class AddFix : public ::testing::Test {
protected:
    void SetUp() override { resetDeviceTimeZone(); }
    void TearDown() override { resetDeviceTimeZone(); }

    Track track;
    FakeClock clock;
    platform::ScopedClock scope{clock};
};

TEST_F(AddFix, DuplicateOfLonePointOnlyRefreshesItsValues) {
    track.addFix(fixAt(0, 0, 5.0f, 10, 100.0f), true);
    TrackFix again = fixAt(0, 0, 7.0f, 20, 120.0f);
    again.signal = 80.0f;
    track.addFix(again, true);
    ASSERT_EQ(track.main().count(), 1);
    const TrackPoint& p = *track.main().first();
    EXPECT_EQ(p.speed, 7.0f);
    EXPECT_EQ(p.altitude, 120.0f);
    EXPECT_EQ(p.signal, 80.0f);
    EXPECT_EQ(p.heading, 20);
    EXPECT_EQ(track.main().merge.count, 1);
}

TEST_F(AddFix, SlowMergedFixesBecomeTwoStopPointsAtEarliestAndLatestTime) {
    track.addFix(fixAt(-500, 0, 30.0f), true);
    track.addFix(fixAt(0, 1, 0.5f), true);  // L: the first fix of the stop
    double sumNorth = 0;
    for (int i = 1; i <= 10; ++i) {
        const double north = 0.05 * i;  // all within 1 m of L
        sumNorth += north;
        track.addFix(fixAt(north, 1 + i, 0.5f, 0, 100.0f + i), true);
    }
    ASSERT_EQ(track.main().count(), 2);
    EXPECT_EQ(track.main().merge.count, 11);
    track.addFix(fixAt(200, 30, 30.0f), true);

    const auto all = points(track.main());
    ASSERT_EQ(all.size(), 4u);
    const TrackPoint& first = *all[1];
    const TrackPoint& second = *all[2];
    // L's own first fix is not part of the average.
    EXPECT_NEAR(first.lat * 180.0, northDegrees(sumNorth / 10), 1e-12);
    EXPECT_EQ(first.lat, second.lat);
    EXPECT_EQ(first.speed, 0.0f);
    EXPECT_EQ(second.speed, 0.0f);
    EXPECT_FLOAT_EQ(first.altitude, 105.5f);
    EXPECT_DOUBLE_EQ(first.time, fixAt(0, 2).time);
    EXPECT_DOUBLE_EQ(second.time, fixAt(0, 11).time);
    EXPECT_EQ(all[3]->lat, northDegrees(200) / 180.0);
    EXPECT_EQ(track.main().merge.count, 1);
}

TEST_F(AddFix, MovingMergeLeavesOneAveragedPoint) {
    track.addFix(fixAt(0, 0, 3.0f), true);
    track.addFix(fixAt(0.2, 1, 3.0f), true);
    track.addFix(fixAt(0.4, 3, 5.0f), true);
    track.addFix(fixAt(100, 4, 5.0f), true);
    const auto all = points(track.main());
    ASSERT_EQ(all.size(), 2u);
    EXPECT_FLOAT_EQ(all[0]->speed, 4.0f);
    EXPECT_NEAR(all[0]->time, fixAt(0, 2).time, 1e-12);
    EXPECT_NEAR(all[0]->lat * 180.0, northDegrees(0.3), 1e-12);
}

TEST_F(AddFix, NoMergeMakesEveryFixAPoint) {
    track.settings.noMerge = true;
    for (int i = 0; i < 5; ++i) track.addFix(fixAt(0.1 * i, i), true);
    EXPECT_EQ(track.main().count(), 5);
}

TEST_F(AddFix, NothingIsRecordedWhileRecordingIsOff) {
    track.settings.recordTrack = false;
    track.addFix(fixAt(0, 0), true);
    EXPECT_TRUE(track.main().empty());
}

TEST_F(AddFix, GapTestBreaksOnlyWhenStepExceedsFiveSecondsAtSpeed) {
    struct Case {
        const char* legend;
        float speed;
        bool broken;
    };
    const Case cases[] = {
        {"1 km in 5 s needs 720 km/h: at 36 km/h it is a gap", 36.0f, true},
        {"at 1000 km/h 5 s cover 1.39 km", 1000.0f, false},
    };
    for (const Case& c : cases) {
        Track t;
        t.addFix(fixAt(0, 0, c.speed), false);
        t.addFix(fixAt(1000, 1, c.speed), false);
        ASSERT_EQ(t.main().count(), 2) << c.legend;
        EXPECT_EQ(t.main().first()->has(kSegmentEnd), c.broken) << c.legend;
        EXPECT_EQ(t.main().last()->has(kSegmentStart), c.broken) << c.legend;
    }
}

TEST_F(AddFix, GapFloorIsMinimumDistancePlusFiftyMetres) {
    track.settings.minPointDistanceKm = 0.015;
    track.addFix(fixAt(0, 0, 0.0f), false);
    track.addFix(fixAt(60, 1, 0.0f), false);   // below 15 m + 50 m
    track.addFix(fixAt(130, 2, 0.0f), false);  // 70 m: beyond the floor
    const auto all = points(track.main());
    ASSERT_EQ(all.size(), 3u);
    EXPECT_FALSE(all[1]->has(kSegmentStart));
    EXPECT_TRUE(all[2]->has(kSegmentStart));
}

TEST_F(AddFix, MergedHeadingsAcrossNorthAverageToNorth) {
    track.addFix(fixAt(0, 0, 5.0f, 90), true);
    track.addFix(fixAt(0.1, 1, 5.0f, 350), true);
    track.addFix(fixAt(0.2, 2, 5.0f, 10), true);
    track.addFix(fixAt(100, 3, 5.0f, 90), true);
    EXPECT_EQ(track.main().first()->heading, 0);
}

TEST_F(AddFix, MergedFixSetsHeadingOnlyWithStaticRotation) {
    for (bool staticRotation : {false, true}) {
        Track t;
        t.viewFrame.staticRotation = staticRotation;
        t.addFix(fixAt(0, 0, 5.0f, 90), true);
        t.addFix(fixAt(0.1, 1, 5.0f, 180), true);
        EXPECT_EQ(t.main().last()->heading, staticRotation ? 180 : 90);
    }
}

TEST_F(AddFix, TrailingKeepsAtMostTheTrailingLength) {
    track.settings.trailing = true;
    track.settings.trailingLengthKm = 1.0;
    for (int i = 0; i < 30; ++i) track.addFix(fixAt(90.0 * i, i, 300.0f), true);
    // 11 steps of 90 m fit in 1 km, a twelfth would not.
    EXPECT_EQ(track.main().count(), 12);
    EXPECT_LE(track.cumulativeValues(), 1.0f);
    EXPECT_EQ(track.main().last()->lat, northDegrees(90.0 * 29) / 180.0);
}

TEST_F(AddFix, RecordingOffAndOnAgainLeavesASegmentBreak) {
    track.addFix(fixAt(0, 0, 100.0f), true);
    track.addFix(fixAt(100, 10, 100.0f), true);
    EXPECT_EQ(track.toggleRecording(), u"Track: Deactivated");
    track.addFix(fixAt(150, 20), true);
    EXPECT_EQ(track.main().count(), 2);
    EXPECT_EQ(track.toggleRecording(), u"Track: Activated");
    // The first fixes after resuming merge into the old last point, which is then
    // rewritten by the far fix that closes the merge: the break must survive that.
    track.addFix(fixAt(100.1, 30), true);
    track.addFix(fixAt(100.2, 31), true);
    track.addFix(fixAt(130, 32), true);
    const auto all = points(track.main());
    ASSERT_EQ(all.size(), 3u);
    EXPECT_FALSE(all[0]->has(kSegmentEnd));
    EXPECT_TRUE(all[1]->has(kSegmentEnd));
    EXPECT_TRUE(all[2]->has(kSegmentStart));
}

TEST_F(AddFix, NewPointsTakeTheDeviceTimeZoneAndColour) {
    clock.offsetSeconds = 2 * 3600;  // two hours ahead of UTC
    track.settings.newPointColour = 0x0203;
    track.addFix(fixAt(0, 0), true);
    EXPECT_EQ(track.main().first()->timeZone, -2);
    EXPECT_EQ(track.main().first()->colour, 0x0203);
}

TEST_F(AddFix, RecordedPointGetsItsPositionInTheRotatedView) {
    track.viewFrame.thetaDegrees = 90;
    track.viewFrame.refLat = 0.25;  // 45 degrees
    track.addFix(fixAt(0, 0), true);
    const TrackPoint& p = *track.main().first();
    EXPECT_NEAR(p.viewX, -p.lat, 1e-12);
    EXPECT_NEAR(p.viewY, p.lon * std::cos(0.25 * kPi), 1e-12);
}

TEST(DeviceTimeZone, IsWholeHoursToAddToLocalTimeCachedUntilReset) {
    struct Case {
        const char* legend;
        int offsetSeconds;
        int hours;
    };
    const Case cases[] = {
        {"UTC", 0, 0},
        {"central Europe in summer", 7200, -2},
        {"India: half hours are cut toward zero", 19800, -5},
        {"New York in winter", -18000, 5},
    };
    FakeClock clock;
    platform::ScopedClock scope(clock);
    for (const Case& c : cases) {
        resetDeviceTimeZone();
        clock.offsetSeconds = c.offsetSeconds;
        EXPECT_EQ(deviceTimeZoneHours(), c.hours) << c.legend;
        clock.offsetSeconds = 3600 * 11;
        EXPECT_EQ(deviceTimeZoneHours(), c.hours) << c.legend << " (cached)";
    }
    resetDeviceTimeZone();
}

}  // namespace
}  // namespace wendra::test
