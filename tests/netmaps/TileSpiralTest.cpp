// The spiral's order of tiles, its limits (screen extents, world edges), when it starts
// again, and the coarser-level search that caps it.

#include "netmaps/TileSpiral.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace wendra::netmaps {
namespace {

SpiralView viewAt(int qx, int qy, int level, int extentX = 1, int extentY = 1, bool follows = true,
                  int source = 4) {
    SpiralView view;
    view.centre = {qx, qy};
    view.level = level;
    view.extentX = extentX;
    view.extentY = extentY;
    view.zoomFollows = follows;
    view.source = source;
    return view;
}

std::vector<TileSpiral::Candidate> drain(TileSpiral& spiral) {
    std::vector<TileSpiral::Candidate> all;
    while (auto candidate = spiral.next()) all.push_back(*candidate);
    return all;
}

// The tile of quarter offset (dx, dy) around (qx, qy) at the level.
TileAddress quarter(int qx, int qy, int dx, int dy, int level) {
    return {(qx + dx) / 4, (qy + dy) / 4, level};
}

TEST(TileSpiral, VisitsCentreFinerThenRingsOutward) {
    TileSpiral spiral;
    ASSERT_TRUE(spiral.follow(viewAt(8, 8, 5, 2, 1)));
    const auto all = drain(spiral);
    // Ring 1 whole from the south-west corner eastward, then ring 2 within |dy| <= 1.
    const std::vector<std::pair<int, int>> offsets = {
        {-1, -1}, {0, -1}, {1, -1}, {1, 0},  {1, 1},  {0, 1},  {-1, 1}, {-1, 0},  // ring 1
        {2, -1},  {2, 0},  {2, 1},  {-2, 1}, {-2, 0}, {-2, -1}};                  // ring 2
    ASSERT_EQ(all.size(), 2 + offsets.size());
    EXPECT_EQ(all[0].step, TileSpiral::Step::Centre);
    EXPECT_EQ(all[0].tile, (TileAddress{2, 2, 5}));
    EXPECT_EQ(all[1].step, TileSpiral::Step::Finer);
    EXPECT_EQ(all[1].tile, (TileAddress{4, 4, 6}));
    for (std::size_t i = 0; i < offsets.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(all[i + 2].step, TileSpiral::Step::Ring);
        EXPECT_EQ(all[i + 2].tile, quarter(8, 8, offsets[i].first, offsets[i].second, 5));
    }
    EXPECT_TRUE(spiral.complete());
    EXPECT_FALSE(spiral.next());
}

TEST(TileSpiral, StaysInsideTheWorldAndSkipsTheFinerStepWhenTheZoomIsManual) {
    // At the south-west corner of level 2 (8 quarter tiles a side), extents 13 by 8.
    TileSpiral spiral;
    spiral.follow(viewAt(0, 0, 2, 13, 8, false));
    const auto all = drain(spiral);
    ASSERT_FALSE(all.empty());
    for (const auto& candidate : all) {
        EXPECT_NE(candidate.step, TileSpiral::Step::Finer);
        EXPECT_TRUE(valid(candidate.tile)) << candidate.tile.x << "," << candidate.tile.y;
        EXPECT_EQ(candidate.tile.level, 2);
    }
    // The world's 8 x 8 quarters north-east of the corner remain, one of them the centre.
    EXPECT_EQ(all.size(), 8u * 8u);
}

TEST(TileSpiral, StartsAgainOnlyWhenWhatItFollowsChanged) {
    struct Case {
        const char* legend;
        SpiralView next;
        bool restarts;
    };
    const SpiralView base = viewAt(100, 60, 7, 3, 2, false);
    const Case cases[] = {
        {"the same view", base, false},
        {"moved one quarter east", viewAt(101, 60, 7, 3, 2, false), true},
        {"another level", viewAt(100, 60, 8, 3, 2, false), true},
        {"another screen size", viewAt(100, 60, 7, 4, 2, false), true},
        {"another source", viewAt(100, 60, 7, 3, 2, false, 11), true},
        {"the zoom starts to follow", viewAt(100, 60, 7, 3, 2, true), true},
    };
    for (const auto& item : cases) {
        SCOPED_TRACE(item.legend);
        TileSpiral spiral;
        spiral.follow(base);
        spiral.next();
        spiral.next();
        EXPECT_EQ(spiral.follow(item.next), item.restarts);
        EXPECT_EQ(spiral.next()->step,
                  item.restarts ? TileSpiral::Step::Centre : TileSpiral::Step::Ring);
    }
    TileSpiral spiral;
    spiral.follow(viewAt(100, 60, 7, 3, 2, true));
    EXPECT_FALSE(spiral.follow(viewAt(100, 60, 7, 3, 2, false))) << "the zoom stops following";
}

TEST(TileSpiral, CoarserSearchProbesEachLevelOnceAndCapsTheSpiral) {
    TileSpiral spiral;
    spiral.follow(viewAt(1000, 700, 10));
    ASSERT_EQ(spiral.next()->tile, (TileAddress{250, 175, 10}));
    spiral.startCoarserSearch();
    std::vector<TileAddress> probes;
    while (auto probe = spiral.nextProbe()) probes.push_back(probe->tile);
    // Levels 9 down to 2: the quarter position divided by 8, 16, ...
    const std::vector<TileAddress> expected = {{125, 87, 9}, {62, 43, 8}, {31, 21, 7}, {15, 10, 6},
                                               {7, 5, 5},    {3, 2, 4},   {1, 1, 3},   {0, 0, 2}};
    EXPECT_EQ(probes, expected);
    EXPECT_FALSE(spiral.searching());

    spiral.startCoarserSearch();
    spiral.nextProbe();
    spiral.nextProbe();
    spiral.capAt(8);
    EXPECT_FALSE(spiral.searching());
    EXPECT_EQ(spiral.maxLevel(), 8);
    // The view at the cap is what the caller works out next: no restart, and no finer
    // step above the cap.
    EXPECT_FALSE(spiral.follow(viewAt(1000 >> 2, 700 >> 2, 8)));
    EXPECT_EQ(spiral.next()->tile, (TileAddress{62, 43, 8}));
    EXPECT_EQ(spiral.next()->step, TileSpiral::Step::Ring);
    // Moving on lifts the cap again.
    EXPECT_TRUE(spiral.follow(viewAt(251, 175, 8)));
    EXPECT_EQ(spiral.maxLevel(), kMaxTileLevel);
}

TEST(TileSpiral, ViewGivesLevelCentreAndExtents) {
    const SpiralView view = spiralView(0, 0, 64 * 1024, 800, 480, true, 4, kMaxTileLevel);
    EXPECT_EQ(view.level, 10);
    EXPECT_EQ(view.centre.qx, 1 << 10);
    EXPECT_EQ(view.centre.qy, 1 << 10);
    EXPECT_EQ(view.extentX, 13);
    EXPECT_EQ(view.extentY, 8);
    EXPECT_EQ(spiralView(0, 0, 64 * 1024, 800, 480, true, 4, 7).level, 7);
}

}  // namespace
}  // namespace wendra::netmaps
