#include <gtest/gtest.h>

#include <vector>

#include "TrackFixtures.h"

namespace wendra::test {
namespace {

std::vector<int> weights(const TrackLayer& layer) {
    std::vector<int> all;
    for (const TrackPoint* p = layer.first(); p; p = p->next) all.push_back(p->weight);
    return all;
}

TEST(Thinning, OnePointOverTheLimitMergesTheFirstLightestUnflaggedPair) {
    Track track;
    track.settings.maxPointsIndex = 3;  // 7500
    TrackLayer& layer = track.main();
    std::vector<TrackPoint*> all;
    for (int i = 0; i < 7501; ++i) {
        int weight = 2;
        std::uint32_t flags = 0;
        if (i == 0 || i == 7500) weight = 1;          // the first and the last are never candidates
        if (i == 5) weight = 1, flags = kSegmentEnd;  // lightest, but a segment break
        if (i == 100 || i == 200) weight = 1;
        all.push_back(&appendStored(layer, i, weight, flags));
    }
    const double lat100 = all[100]->lat, lat101 = all[101]->lat;
    const double time100 = all[100]->time, time101 = all[101]->time;
    track.thinLayer(0);

    EXPECT_EQ(layer.count(), 7500);
    EXPECT_EQ(all[100]->weight, 3);
    EXPECT_EQ(all[100]->next, all[102]);
    EXPECT_DOUBLE_EQ(all[100]->lat, (lat100 * 1 + lat101 * 2) / 3);
    EXPECT_DOUBLE_EQ(all[100]->time, (time100 * 1 + time101 * 2) / 3);
    EXPECT_EQ(all[5]->weight, 1);
    EXPECT_EQ(layer.first(), all[0]);
    EXPECT_EQ(layer.first()->next, all[1]);
    EXPECT_EQ(layer.last(), all[7500]);
    EXPECT_EQ(layer.thinCursor, all[102]);
    EXPECT_EQ(layer.thinCursorWeight, 1);
}

TEST(Thinning, CursorWalksOnThroughPointsOfTheSameWeight) {
    Track track;
    track.settings.maxLayerPointsIndex = 0;  // 1000
    for (int i = 0; i < 1003; ++i) appendStored(track.layer(1), i);
    track.thinLayer(1);
    const std::vector<int> w = weights(track.layer(1));
    ASSERT_EQ(w.size(), 1000u);
    EXPECT_EQ((std::vector<int>(w.begin(), w.begin() + 6)), (std::vector<int>{1, 2, 2, 2, 1, 1}));
}

TEST(Thinning, StaleCursorWeightFallsBackToAScan) {
    Track track;
    track.settings.maxLayerPointsIndex = 0;
    std::vector<TrackPoint*> all;
    for (int i = 0; i < 1001; ++i)
        all.push_back(&appendStored(track.layer(2), i, i == 500 ? 1 : 4));
    track.layer(2).thinCursor = all[10];
    track.layer(2).thinCursorWeight = 3;  // the point weighs 4 now
    track.thinLayer(2);
    EXPECT_EQ(all[500]->weight, 5);
    EXPECT_EQ(all[10]->weight, 4);
}

TEST(Thinning, LayerWithOnlySegmentBreaksStopsAboveTheLimit) {
    Track track;
    track.settings.maxLayerPointsIndex = 0;
    for (int i = 0; i < 1002; ++i) appendStored(track.layer(3), i, 1, kSegmentStart | kSegmentEnd);
    track.thinLayer(3);
    EXPECT_EQ(track.layer(3).count(), 1002);
    EXPECT_EQ(track.layer(3).thinCursor, nullptr);
    EXPECT_EQ(track.layer(3).thinCursorWeight, -1);
}

TEST(Thinning, MergedHeadingIsTheWeightedIntegerMean) {
    Track track;
    track.settings.maxLayerPointsIndex = 0;
    std::vector<TrackPoint*> all;
    for (int i = 0; i < 1001; ++i) all.push_back(&appendStored(track.layer(1), i, i == 1 ? 1 : 2));
    all[1]->heading = 10;
    all[2]->heading = 101;
    track.thinLayer(1);
    EXPECT_EQ(all[1]->heading, (10 * 1 + 101 * 2) / 3);
    // Its distance to its new next point was recomputed.
    EXPECT_NEAR(all[1]->distNextKm, (3.0 - (1.0 + 2.0 * 2) / 3) / 1000.0, 1e-6);
}

}  // namespace
}  // namespace wendra::test
