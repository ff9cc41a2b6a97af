#include <gtest/gtest.h>

#include <vector>

#include "TrackFixtures.h"

namespace wendra::test {
namespace {

// Four points 100 m apart, one second apart, with a break between the second and third.
class Cumulative : public ::testing::Test {
protected:
    void SetUp() override {
        for (int i = 0; i < 4; ++i) all.push_back(&appendStored(track.main(), 100.0 * i));
        all[1]->flags |= kSegmentEnd;
        all[2]->flags |= kSegmentStart;
    }

    Track track;
    std::vector<TrackPoint*> all;
};

TEST_F(Cumulative, BreaksAddNothingUnlessFarPointsAreJoined) {
    struct Case {
        const char* legend;
        bool join;
        float lengthKm;
        float seconds;
    };
    const Case cases[] = {
        {"the step across the break counts neither distance nor time", false, 0.2f, 2.0f},
        {"joined, every step counts", true, 0.3f, 3.0f},
    };
    for (const Case& c : cases) {
        track.settings.joinFarPoints = c.join;
        all[0]->index = 7;  // forces a full pass
        EXPECT_NEAR(track.cumulativeValues(), c.lengthKm, 1e-5) << c.legend;
        EXPECT_NEAR(all[3]->cumTime * kSecondsPerDay, c.seconds, 1e-3) << c.legend;
        EXPECT_EQ(track.main().tail, all[3]) << c.legend;
    }
    EXPECT_EQ(all[2]->index, 2);
}

TEST_F(Cumulative, StopsAtTheGivenPointAndIsZeroWhenEmpty) {
    EXPECT_NEAR(track.cumulativeValues(all[1]), 0.1f, 1e-5);
    EXPECT_EQ(track.main().tail, all[1]);
    Track empty;
    EXPECT_EQ(empty.cumulativeValues(), 0.0f);
}

TEST(CumulativeValues, MovedPointRecomputesTheValuesAfterIt) {
    struct Case {
        const char* legend;
        std::size_t moved;
    };
    const Case cases[] = {
        {"a middle point", 2},
        {"the first point, whose change shows only after it", 0},
    };
    for (const Case& c : cases) {
        Track track;
        std::vector<TrackPoint*> all;
        for (int i = 0; i < 4; ++i) all.push_back(&appendStored(track.main(), 100.0 * i));
        EXPECT_NEAR(track.cumulativeValues(), 0.3f, 1e-5) << c.legend;
        TrackPoint& point = *all[c.moved];
        PointValues values;
        values.lat = point.lat;
        values.lon = point.lon + 50.0 / (kHalfTurnKm * 1000.0) / point.cosLat;  // 50 m east
        values.altitude = point.altitude;
        values.time = point.time;
        values.flags = 0;
        setPointValues(point, values, 0.001);
        const float expected = all[0]->distNextKm + all[1]->distNextKm + all[2]->distNextKm;
        EXPECT_GT(expected, 0.31f) << c.legend;
        EXPECT_FLOAT_EQ(track.cumulativeValues(), expected) << c.legend;
    }
}

// A pass after every recorded fix goes on from near the end of the last one; it must
// leave every point as one pass over the finished layer does.
TEST(CumulativeValues, PassAfterEveryFixEqualsOnePassAtTheEnd) {
    struct Case {
        const char* legend;
        int stopAt;     // fixes from here on stay within a metre: a stop, two points
        int brokenAt;   // the segment ends before this fix (-1: never)
        int joinAt;     // far points are joined from this fix on (-1: never)
    };
    const Case cases[] = {
        {"a walk north", -1, -1, -1},
        {"with a stop merged into two points", 6, -1, -1},
        {"with a segment ended by the receiver's silence", -1, 5, -1},
        {"with the segment ended and far points joined later", -1, 5, 9},
    };
    for (const Case& c : cases) {
        Track stepwise;
        Track once;
        double north = 0.0;
        for (int i = 0; i < 14; ++i) {
            const bool stopped = c.stopAt >= 0 && i >= c.stopAt && i < c.stopAt + 4;
            north += stopped ? 0.05 : 30.0;
            for (Track* track : {&stepwise, &once}) {
                if (i == c.brokenAt) track->endSegment(u".Test");
                track->settings.joinFarPoints = c.joinAt >= 0 && i >= c.joinAt;
                track->addFix(fixAt(north, i, stopped ? 0.5f : 20.0f), true);
            }
            stepwise.cumulativeValues();
        }
        EXPECT_FLOAT_EQ(stepwise.cumulativeValues(), once.cumulativeValues()) << c.legend;
        ASSERT_EQ(stepwise.main().count(), once.main().count()) << c.legend;
        for (const TrackPoint *a = stepwise.main().first(), *b = once.main().first(); a && b;
             a = a->next, b = b->next) {
            EXPECT_EQ(a->cumDistKm, b->cumDistKm) << c.legend;
            EXPECT_EQ(a->cumTime, b->cumTime) << c.legend;
            EXPECT_EQ(a->index, b->index) << c.legend;
        }
        EXPECT_EQ(stepwise.main().tail, stepwise.main().last()) << c.legend;
    }
}

}  // namespace
}  // namespace wendra::test
