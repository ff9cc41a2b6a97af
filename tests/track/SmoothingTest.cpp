#include <gtest/gtest.h>

#include <vector>

#include "TrackFixtures.h"
#include "track/TrackSmoothing.h"

namespace wendra::test {
namespace {

constexpr int kWindowSeconds = 30;

TEST(Smoothing, WindowsStopAtSegmentBreaks) {
    Track track;
    std::vector<TrackPoint*> all;
    for (int i = 0; i < 40; ++i) {
        const std::uint32_t flags = i == 19 ? kSegmentEnd : i == 20 ? kSegmentStart : 0u;
        all.push_back(&appendStored(track.main(), i, 1, flags, i < 20 ? 100.0f : 1000.0f,
                                    i < 20 ? 5.0f : 50.0f));
    }
    track.smoothAll();
    for (int i : {0, 18, 19}) {
        EXPECT_NEAR(all[static_cast<std::size_t>(i)]->smoothAltitude, 100.0f, 1e-3) << i;
        EXPECT_NEAR(all[static_cast<std::size_t>(i)]->smoothSpeed, 5.0f, 1e-4) << i;
        EXPECT_EQ(all[static_cast<std::size_t>(i)]->climbSpeed, 0.0f) << i;
    }
    for (int i : {20, 21, 39}) {
        EXPECT_NEAR(all[static_cast<std::size_t>(i)]->smoothAltitude, 1000.0f, 1e-2) << i;
        EXPECT_NEAR(all[static_cast<std::size_t>(i)]->smoothSpeed, 50.0f, 1e-3) << i;
    }
}

TEST(Smoothing, OnlyEveryThirdNeighbourIsWeighed) {
    Track track;
    std::vector<TrackPoint*> all;
    // Spikes at steps 1 and 2 on both sides of point 10 (steps count from 0).
    for (int i = 0; i < 21; ++i) {
        const int away = std::abs(i - 10);
        all.push_back(
            &appendStored(track.main(), 0.0, 1, 0, away == 2 || away == 3 ? 500.0f : 100.0f));
    }
    smoothPoint(*all[10], kWindowSeconds);
    EXPECT_NEAR(all[10]->smoothAltitude, 100.0f, 1e-3);
    smoothPoint(*all[11], kWindowSeconds);  // its step 0 backwards is point 10, step 3 is point 7
    EXPECT_GT(all[11]->smoothAltitude, 100.0f);
}

TEST(Smoothing, ClimbSpeedSpansTheClimbWindowOnEachSide) {
    Track track;
    std::vector<TrackPoint*> all;
    // 0.5 m up every second: 30 m/min.
    for (int i = 0; i < 250; ++i)
        all.push_back(&appendStored(track.main(), i, 1, 0, 100.0f + 0.5f * static_cast<float>(i)));
    smoothPoint(*all[120], kWindowSeconds);
    EXPECT_NEAR(all[120]->climbSpeed, 30.0f, 1e-2);
    // The altitude weights fall with distance, symmetric around a straight climb.
    EXPECT_NEAR(all[120]->smoothAltitude, all[120]->altitude, 1e-2);
}

TEST(Smoothing, AroundAPointReachesAHundredPointsEachSide) {
    Track track;
    std::vector<TrackPoint*> all;
    for (int i = 0; i < 250; ++i) all.push_back(&appendStored(track.main(), i, 1, 0, 100.0f));
    for (TrackPoint* p : all) p->smoothAltitude = -1.0f;
    smoothAround(*all[120], kWindowSeconds);
    EXPECT_EQ(all[19]->smoothAltitude, -1.0f);
    EXPECT_NEAR(all[20]->smoothAltitude, 100.0f, 1e-3);
    EXPECT_NEAR(all[220]->smoothAltitude, 100.0f, 1e-3);
    EXPECT_EQ(all[221]->smoothAltitude, -1.0f);
}

}  // namespace
}  // namespace wendra::test
