// The catalogue's memory rules on real (small) map images loaded on the test's own
// thread: the limit of loaded maps, eviction under a budget, a map too large for it,
// the budget learnt from an allocation failure, and the frame painted from the maps.

#include <gtest/gtest.h>

#include "maps/CatalogueSupport.h"
#include "support/TestPaths.h"

namespace wendra::test {
namespace {

using maps::MapPtr;
using maps::MapStatus;

constexpr int kSide = 8;
constexpr double kSpan = 1.0;
const maps::RankingView kView{0, 0, fittingScale(kSide, kSpan), 1000};

struct Catalogue {
    RecordingShell shell;
    maps::MapCatalogue catalogue{shell};
    TempDir folder;

    Catalogue() {
        catalogue.setFreeMemorySource([] { return std::int64_t{1} << 40; },
                                      maps::kFreeMemoryMargin);
    }
    // `count` maps on the view position, each a little further off centre than the one
    // before, so that catalogue order is ranking order; all loaded.
    std::vector<MapPtr> loadedMaps(int count) {
        std::vector<MapPtr> made;
        for (int i = 0; i < count; ++i) {
            const auto image = folder / ("m" + std::to_string(i) + ".bmp");
            writeBmp(image, kSide, kSide, 10 * i, 0, 0);
            MapPtr map = catalogue.newMap();
            EXPECT_TRUE(map->setDefinition(squareMap(image, 0.01 * i, 0, kSpan, kSide)));
            map->loadNow();
            EXPECT_TRUE(loaded(*map));
            made.push_back(map);
        }
        return made;
    }
};

std::vector<bool> loadedFlags(const std::vector<MapPtr>& maps) {
    std::vector<bool> flags;
    for (const MapPtr& m : maps) flags.push_back(loaded(*m));
    return flags;
}

TEST(MapCatalogue, AdmissionUnloadsTheWorstLoadedMapsBeyondTheLimit) {
    Catalogue c;
    const std::vector<MapPtr> maps = c.loadedMaps(20);
    ASSERT_EQ(c.catalogue.limitOfLoadedMaps(), 16);
    c.catalogue.admit(kView);
    std::vector<bool> expected(20, true);
    std::fill(expected.begin() + 16, expected.end(), false);
    EXPECT_EQ(loadedFlags(c.catalogue.candidates()), expected);
    EXPECT_EQ(maps[19]->status(), MapStatus::WaitingToLoad);
    EXPECT_EQ(c.catalogue.allocatedRow().maps, 16);
    EXPECT_EQ(c.catalogue.allocatedRow().bytes, 16 * maps[0]->memoryNeed());
    EXPECT_EQ(c.catalogue.definedRow().maps, 20);
}

TEST(MapCatalogue, EvictionUnloadsFromTheWorstUntilTheBudgetHolds) {
    Catalogue c;
    const std::vector<MapPtr> maps = c.loadedMaps(16);
    const std::uint64_t need = maps[0]->memoryNeed();
    c.catalogue.setBudgetMiB(3);
    c.catalogue.rank(kView);
    const std::size_t fit = (3 * maps::kMiB - 1) / need;
    std::vector<bool> expected(16, false);
    std::fill(expected.begin(), expected.begin() + fit, true);
    EXPECT_EQ(loadedFlags(c.catalogue.candidates()), expected);
    EXPECT_LT(c.catalogue.shared().allocatedBytes.load(), 3 * maps::kMiB);
}

// A header may claim a 65535 x 65535 image (8.6 GB): refused at once, with the
// program's message, never allocated, and not tried again on the next pass.
TEST(MapCatalogue, AMapLargerThanTheBudgetFailsWithoutTrying) {
    Catalogue c;
    const auto image = c.folder / "huge.bmp";
    writeBmp(image, 1, 1, 0, 0, 0);
    std::string bytes = readFile(image);
    bytes[18] = bytes[19] = bytes[22] = bytes[23] = '\xFF';
    writeFile(image, bytes);
    c.catalogue.setBudgetMiB(64);
    MapPtr map = c.catalogue.newMap();
    ASSERT_TRUE(map->setDefinition(squareMap(image, 0, 0, kSpan, 0, false)));
    ASSERT_EQ(map->definition().width, 65535);
    c.catalogue.admit(kView);
    c.catalogue.admit(kView);
    EXPECT_EQ(map->status(), MapStatus::NotEnoughMemory);
    EXPECT_FALSE(map->has(maps::mapflag::kLoadThreadStarted));
    EXPECT_EQ(c.catalogue.shared().allocatedBytes.load(), 0u);
    const auto boxes = c.shell.boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, u"Not enought memoiry to load " + image.u16string());
    EXPECT_EQ(boxes[0].title, u"Error!");
}

TEST(MapCatalogue, AnAllocationFailureBecomesTheBudgetOfTheNextEviction) {
    struct Case {
        std::int64_t heldAtFailure;
        std::uint32_t budget;
        const char* legend;
    } cases[] = {
        {10 * static_cast<std::int64_t>(maps::kMiB), 8, "less the 2 MiB slack"},
        {10 * static_cast<std::int64_t>(maps::kMiB) + 123, 8, "whole MiB"},
        {1 * static_cast<std::int64_t>(maps::kMiB), 1, "never below 1 MiB"},
    };
    for (const Case& k : cases) {
        Catalogue c;
        c.catalogue.shared().failureBasis.store(k.heldAtFailure);
        c.catalogue.rank(kView);
        EXPECT_EQ(c.catalogue.budgetMiB(), k.budget) << k.legend;
        EXPECT_EQ(c.catalogue.shared().failureBasis.load(), maps::kNoFailureBasis) << k.legend;
    }
}

TEST(MapCatalogue, PausedCatalogueNeitherRanksNorUnloads) {
    Catalogue c;
    c.loadedMaps(18);
    c.catalogue.pause(true);
    c.catalogue.admit(kView);
    EXPECT_TRUE(c.catalogue.candidates().empty());
    EXPECT_EQ(c.catalogue.allocatedRow().maps, 18);
    c.catalogue.pause(false);
    c.catalogue.admit(kView);
    EXPECT_EQ(c.catalogue.allocatedRow().maps, 16);
}

// The best fitting map is painted first, the coarser one fills what it leaves, and the
// maps that painted raise the limit of loaded maps in the next frame.
TEST(MapCatalogue, PaintsTheBestScaleFirstIntoUnpaintedPixelsOnly) {
    Catalogue c;
    const auto fine = c.folder / "fine.bmp";
    const auto coarse = c.folder / "coarse.bmp";
    writeBmp(fine, 64, 64, 255, 0, 0);
    writeBmp(coarse, 16, 16, 0, 0, 255);
    MapPtr wide = c.catalogue.newMap();
    ASSERT_TRUE(wide->setDefinition(squareMap(coarse, 0, 0, 2.0, 16)));
    MapPtr small = c.catalogue.newMap();
    ASSERT_TRUE(small->setDefinition(squareMap(fine, 0, -0.5, 1.0, 64)));
    wide->loadNow();
    small->loadNow();
    // A 40 x 20 view over longitudes -1..1 and latitudes 0.5..-0.5 at 20 pixels a degree:
    // the fine map is 64 pixels a degree, the coarse one 8, so fine fits better.
    platform::PixelBuffer view({40, 20});
    const maps::MapCell cell{maps::CellCorner{0.5, -1.0, 0, 0}, maps::CellCorner{0.5, 1.0, 40, 0},
                             maps::CellCorner{-0.5, -1.0, 0, 20},
                             maps::CellCorner{-0.5, 1.0, 40, 20}};
    c.catalogue.buildDisplayList(20 * 180.0f, 0);
    ASSERT_EQ(c.catalogue.displayList().size(), 2u);
    EXPECT_EQ(c.catalogue.displayList()[0], small);
    c.catalogue.paintAll(std::span(&cell, 1), view, platform::rgb(0, 255, 0));
    EXPECT_EQ(view.at(5, 10), platform::toPixel16(platform::rgb(255, 0, 0)));
    EXPECT_EQ(view.at(35, 10), platform::toPixel16(platform::rgb(0, 0, 255)));
    EXPECT_EQ(view.countUnpainted(view.bounds()), 0u);
    c.catalogue.buildDisplayList(20 * 180.0f, 0);
    EXPECT_EQ(c.catalogue.limitOfLoadedMaps(), 18);
}

// Cells laid as the view's grid lays them are painted by each cell's first map
// without a background filled beforehand; the same cells in another order take the
// fill-then-mask way. Both must leave the same frame over whatever the view held.
TEST(MapCatalogue, CellsTilingTheViewPaintAsAFilledViewDoes) {
    struct Placed {
        double latitude, longitude, span;
        int width;
        std::uint8_t red, green, blue;
    };
    const Placed coarse{0, 0, 2.0, 16, 0, 0, 255}, fine{0.3, -0.5, 0.8, 64, 255, 0, 0},
        other{-0.2, -0.2, 0.7, 40, 0, 200, 0}, away{40, 40, 1.0, 16, 9, 9, 9};
    const struct {
        const char* legend;
        std::vector<Placed> maps;
        platform::ColorRef background;
    } cases[] = {
        {"several maps overlapping, day colours", {coarse, fine, other}, platform::rgb(255, 255, 255)},
        {"a map over part of the view, night colours", {fine}, platform::rgb(96, 0, 0)},
        {"no map shows in the view", {away}, platform::rgb(0, 0, 0)},
    };
    // A 48 x 32 view at 20 pixels a degree around (0, 0), in 3 x 2 cells.
    std::vector<maps::MapCell> rowOrder;
    for (int row = 0; row < 2; ++row) {
        for (int column = 0; column < 3; ++column) {
            auto at = [](int x, int y) {
                return maps::CellCorner{0.8 - y * 0.05, -1.2 + x * 0.05, x, y};
            };
            const int x = column * 16, y = row * 16;
            rowOrder.push_back({at(x, y), at(x + 16, y), at(x, y + 16), at(x + 16, y + 16)});
        }
    }
    const std::vector<maps::MapCell> otherOrder(rowOrder.rbegin(), rowOrder.rend());
    for (const auto& c : cases) {
        Catalogue catalogue;
        for (std::size_t i = 0; i < c.maps.size(); ++i) {
            const Placed& m = c.maps[i];
            const auto image = catalogue.folder / ("p" + std::to_string(i) + ".bmp");
            writeBmp(image, m.width, m.width, m.red, m.green, m.blue);
            MapPtr map = catalogue.catalogue.newMap();
            ASSERT_TRUE(map->setDefinition(squareMap(image, m.latitude, m.longitude, m.span,
                                                     m.width)));
            map->loadNow();
        }
        catalogue.catalogue.buildDisplayList(20 * 180.0f, 0);
        platform::PixelBuffer tiled({48, 32}), masked({48, 32});
        for (int i = 0; i < 48 * 32; ++i) tiled.data()[i] = masked.data()[i] = platform::Pixel16(i * 40503);
        catalogue.catalogue.paintAll(rowOrder, tiled, c.background);
        catalogue.catalogue.paintAll(otherOrder, masked, c.background);
        int differ = 0;
        for (int i = 0; i < 48 * 32; ++i) differ += tiled.data()[i] != masked.data()[i];
        EXPECT_EQ(differ, 0) << c.legend;
        const bool mapsShow = c.maps.front().latitude != away.latitude;
        EXPECT_EQ(tiled.countUnpainted(tiled.bounds()) < 48u * 32u, mapsShow) << c.legend;
        EXPECT_EQ(tiled.at(0, 0), platform::toUnpaintedPixel16(c.background)) << c.legend;
    }
}

// Images that cannot be opened ask once whether to remove such maps; the answer stands
// for every later one. Other failures say what went wrong, map by map.
TEST(MapCatalogue, AsksOnceToRemoveMapsWhoseImagesCannotBeOpened) {
    for (const platform::Answer answer : {platform::Answer::Yes, platform::Answer::No}) {
        Catalogue c;
        c.shell.answer = answer;
        const MapPtr first = c.catalogue.newMap();
        const MapPtr second = c.catalogue.newMap();
        ASSERT_TRUE(first->setDefinition(squareMap(c.folder / "gone.bmp", 0, 0, kSpan, 0, false)));
        ASSERT_TRUE(second->setDefinition(squareMap(c.folder / "lost.bmp", 0, 0, kSpan, 0, false)));
        const bool removed = answer == platform::Answer::Yes;
        EXPECT_EQ(first->status() == MapStatus::Removed, removed);
        EXPECT_EQ(second->status() == MapStatus::Removed, removed);
        const MapPtr shown = c.catalogue.newMap();
        ASSERT_TRUE(
            shown->setDefinition(squareMap(c.folder / "each.bmp", 0, 0, kSpan, 0, false), true));
        const auto boxes = c.shell.boxes();
        ASSERT_EQ(boxes.size(), 2u);
        EXPECT_EQ(boxes[0].text, u"Unable to load some maps! Do you want to remove these maps");
        EXPECT_EQ(boxes[1].text, u"Unable to open file " + (c.folder / "each.bmp").u16string());
        c.catalogue.rank(kView);
        EXPECT_EQ(c.catalogue.size(), removed ? 1u : 3u) << "removed maps are purged";
        EXPECT_TRUE(c.catalogue.candidates().empty()) << "failed maps are no candidates";
    }
}

TEST(MapCatalogue, BestMapScaleAndDuplicatesLookOnlyAtTheUsableMaps) {
    Catalogue c;
    MapPtr a = c.catalogue.newMap();
    ASSERT_TRUE(a->setDefinition(squareMap("/x/a.bmp", 0, 0, 1.0, 1000)));
    MapPtr b = c.catalogue.newMap();
    auto inactive = squareMap("/x/b.bmp", 0, 0, 1.0, 4000);
    inactive.userFlags = 0;
    ASSERT_TRUE(b->setDefinition(inactive));
    EXPECT_NEAR(c.catalogue.bestMapScale(0.1, 0.1),
                a->withMap([](const auto& m) { return m.scales().widthScale; }), 1e-3);
    EXPECT_EQ(c.catalogue.bestMapScale(5, 5), -1.0);
    EXPECT_TRUE(c.catalogue.isDuplicate(u"/x/b.bmp", 2, a.get()));
    EXPECT_FALSE(c.catalogue.isDuplicate(u"/x/b.bmp", 2, b.get()));
    EXPECT_FALSE(c.catalogue.isDuplicate(u"/x/B.bmp", 2));
    EXPECT_FALSE(c.catalogue.isDuplicate(u"/x/b.bmp", 1));
}

}  // namespace
}  // namespace wendra::test
