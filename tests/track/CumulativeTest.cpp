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

}  // namespace
}  // namespace wendra::test
