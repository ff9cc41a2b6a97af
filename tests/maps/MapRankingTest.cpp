// The order of the candidates for a view: fit of scale first, then nearness, inside
// maps before outside ones, far outside maps in bands; and the sort behind it.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <random>

#include "maps/CatalogueSupport.h"
#include "maps/MapRanking.h"

namespace wendra::test {
namespace {

using maps::MapPtr;

struct PlacedMap {
    double latitude;
    double longitude;
    double span;
    int width;
    bool active = true;
};

struct RankingCase {
    const char* legend;
    std::vector<PlacedMap> maps;
    maps::RankingView view;
    std::vector<int> order;  // catalogue indices, best first
    float minGap, maxGap;    // score of the second minus the first
};

// 1000 pixels over one degree fit 180000 exactly; the view is set a hair off so that
// single-precision scales cannot tip a mismatch point either way.
constexpr float kCoarse = 180010.0f;  // every map here is shrunk or enlarged a little
constexpr float kFine = 179990.0f;

const RankingCase kCases[] = {
    {"inside maps of equal resolution: the nearer centre first",
     {{0.3, 0.3, 1, 1000}, {0.1, 0.1, 1, 1000}},
     {0, 0, kCoarse, 1000},
     {1, 0},
     0.0f,
     0.1f},
    {"the view's resolution before a finer map, by twice the mismatch (1)",
     {{0, 0, 1, 2000}, {0, 0, 1, 1000}},
     {0, 0, kFine, 1000},
     {1, 0},
     2.0f,
     2.0001f},
    {"a map to enlarge four times (mismatch 6) is 12 points behind",
     {{0, 0, 1, 250}, {0, 0, 1, 1000}},
     {0, 0, kCoarse, 1000},
     {1, 0},
     12.0f,
     12.0001f},
    {"an outside map after an inside one of the same fit",
     {{1.2, 0, 1, 1000}, {0.2, 0.2, 1, 1000}},
     {0, 0, kCoarse, 1000},
     {1, 0},
     0.09f,
     0.2f},
    {"an outside map more than 1.41 diagonals away falls a band of 50 behind",
     {{0, 2.0, 1, 1000}, {0, 0.7, 1, 1000}},
     {0, 0, kCoarse, 1000},
     {1, 0},
     50.0f,
     50.2f},
    {"bands stop at the third: a map half a world away is 150 behind",
     {{0, 90, 1, 1000}, {0, 0.7, 1, 1000}},
     {0, 0, kCoarse, 1000},
     {1, 0},
     150.0f,
     150.2f},
    {"fit outweighs nearness: an exact map away beats a coarse map on the spot",
     {{0, 0, 1, 500}, {0, 0.7, 1, 1000}},
     {0, 0, kCoarse, 1000},
     {1, 0},
     3.5f,
     4.0f},
    {"inactive maps are no candidates",
     {{0, 0, 1, 1000, false}, {0.4, 0, 1, 1000}},
     {0, 0, kCoarse, 1000},
     {1},
     0,
     0},
    {"equal scores keep catalogue order",
     {{0, 0, 1, 1000}, {0, 0, 1, 1000}, {0, 0, 1, 1000}},
     {0, 0, kCoarse, 1000},
     {0, 1, 2},
     0,
     0},
};

void PrintTo(const RankingCase& c, std::ostream* os) {
    *os << c.legend;
}

class MapRanking : public ::testing::TestWithParam<RankingCase> {};

TEST_P(MapRanking, OrdersTheCandidates) {
    const RankingCase& c = GetParam();
    RecordingShell shell;
    maps::MapCatalogue catalogue(shell);
    catalogue.setFreeMemorySource([] { return std::int64_t{1} << 40; }, maps::kFreeMemoryMargin);
    std::vector<const maps::MapEntry*> made;
    for (const PlacedMap& p : c.maps) {
        auto d = squareMap("/nowhere/m.bmp", p.latitude, p.longitude, p.span, p.width);
        if (!p.active) d.userFlags = 0;
        const MapPtr map = catalogue.newMap();
        ASSERT_TRUE(map->setDefinition(d));
        made.push_back(map.get());
    }
    catalogue.rank(c.view);
    const std::vector<MapPtr> ranked = catalogue.candidates();
    std::vector<int> order;
    for (const MapPtr& m : ranked)
        order.push_back(
            static_cast<int>(std::find(made.begin(), made.end(), m.get()) - made.begin()));
    EXPECT_EQ(order, c.order) << c.legend;
    if (ranked.size() >= 2 && c.maxGap > 0) {
        const float gap = ranked[1]->selection.score - ranked[0]->selection.score;
        EXPECT_GE(gap, c.minGap) << c.legend;
        EXPECT_LT(gap, c.maxGap) << c.legend;
    }
    EXPECT_TRUE(shell.boxes().empty()) << c.legend;
}

INSTANTIATE_TEST_SUITE_P(Cases, MapRanking, ::testing::ValuesIn(kCases));

TEST(MapRankingArithmetic, ScaleMismatchCountsEnlargingDouble) {
    struct Case {
        float lonScale, a, mismatch;
        const char* legend;
    } cases[] = {
        {0, 100, maps::kNoScaleMismatch, "no size known"},
        {100, 100, 0, "exact"},
        {200, 100, 1, "twice as fine: shrunk by half"},
        {50, 100, 2, "twice as coarse: enlarged, counts double"},
        {25, 100, 6, "enlarged four times"},
    };
    for (const Case& c : cases)
        EXPECT_FLOAT_EQ(maps::scaleMismatch(c.lonScale, c.a), c.mismatch) << c.legend;
}

// A still position costs one comparison: the distance is kept until the position moves
// a map pixel, then measured again.
TEST(MapRankingArithmetic, DistanceIsKeptUntilThePositionMovesAPixel) {
    maps::CalibratedMap map;
    ASSERT_TRUE(map.setDefinition(squareMap("/nowhere/m.bmp", 0, 0, 1, 1000)));
    maps::MapSelection s;
    maps::evaluateDistance(map, s, 0.1, 0.1, 1.0f);
    const double first = s.distance;
    EXPECT_TRUE(s.contains);
    maps::evaluateDistance(map, s, 0.1 + 0.0005, 0.1, 1.0f);  // half a pixel
    EXPECT_EQ(s.distance, first);
    maps::evaluateDistance(map, s, 0.3, 0.1, 1.0f);
    EXPECT_NEAR(s.distance, std::hypot(0.3, 0.1) / 180, 1e-9);
    maps::evaluateDistance(map, s, 2.0, 0.0, 1.0f);  // outside: to the top side
    EXPECT_FALSE(s.contains);
    EXPECT_NEAR(s.distance, 1.5 / 180, 1e-9);
}

TEST(MapRankingArithmetic, ShellSortAgreesWithAStableSortOnDistinctKeys) {
    std::mt19937 random(7);
    for (int n : {0, 1, 2, 3, 4, 5, 13, 14, 40, 41, 1000}) {
        std::vector<int> keys(n);
        std::iota(keys.begin(), keys.end(), 0);
        std::shuffle(keys.begin(), keys.end(), random);
        std::vector<int> sorted = keys;
        maps::shellSort(sorted, [](int k) { return k; });
        EXPECT_TRUE(std::is_sorted(sorted.begin(), sorted.end())) << n;
        EXPECT_EQ(sorted.size(), keys.size());
    }
}

}  // namespace
}  // namespace wendra::test
