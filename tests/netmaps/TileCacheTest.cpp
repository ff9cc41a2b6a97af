#include "netmaps/TileCache.h"

#include <gtest/gtest.h>

#include "maps/CatalogueSupport.h"
#include "netmaps/TileCacheFile.h"
#include "records/DayNumber.h"
#include "support/TestPaths.h"

namespace wendra::netmaps {
namespace {

namespace fs = std::filesystem;

class TileCacheFixture : public ::testing::Test {
protected:
    TileCacheFixture() {
        settings.cacheFolder = (dir / "cache").string();
        sources.displayedSource = source::kOsmMapnikRoad;
    }

    // A tile in cache with its file and its map.
    Tile& cached(int source, TileAddress address, int age = 1, double stamp = 9000) {
        Tile& t = cache.add(source, address);
        t.flags |= tileflag::kInCache;
        t.fileSize = 10;
        t.stamp = stamp;
        fs::create_directories(fs::path(cache.cachePath(t)).parent_path());
        test::writeFile(cache.cachePath(t), "cached");
        EXPECT_TRUE(cache.showTile(t, age));
        return t;
    }
    bool held(int source, TileAddress address) { return cache.find(source, address) != nullptr; }
    int internetMaps() const {
        int n = 0;
        for (const maps::MapPtr& m : catalogue.maps()) n += m->internetTile() ? 1 : 0;
        return n;
    }

    test::TempDir dir;
    test::RecordingShell shell;
    maps::MapCatalogue catalogue{shell};
    TileSettings settings;
    SourceSettings sources;
    TileCache cache{catalogue, settings, sources};
};

TEST_F(TileCacheFixture, IndexRoundTripWithBothTileForms) {
    settings.settingsFlags = 1;
    settings.validityDays = 30;
    sources.activeSources = 0x810;
    sources.countryCode = "de";
    sources.templates[source::kOsmMapnikRoad] = "https://tiles.example/*ZM1*/*GMX*/*GMY*.png";
    Tile& road = cached(source::kOsmMapnikRoad, {100, 200, 13}, 1, 9000.25);
    road.fileSize = 1234;
    road.validators = {"\"33a64df5\"", "Wed, 21 Oct 2015 07:28:00 GMT"};
    Tile& piste = cached(source::kOsmPiste, {101, 200, 13}, 7);
    cache.add(source::kOsmMapnikRoad, {5, 5, 4});  // asked, never cached: not kept
    EXPECT_EQ(netBmpRecord(road, 1, true), "NetBmp|100|200|13|4|1234|1|1|9000.250000|\n");
    EXPECT_FALSE(piste.map->active());
    ASSERT_TRUE(saveTileCacheFile(cache, dir.path()));
    // The older form (no active flag, no stamp), a duplicate, and lines nobody can use.
    const std::string older = "NetBmp|5|6|7|4|99|3|\n";
    test::writeFile(dir / "Wendra.net", test::readFile(dir / "Wendra.net") + older +
                                            "NetBmp|100|200|13|4|1|1|1|1.0|\n" +
                                            "NetBmp|1|2|\nNetBmp|64|0|7|4|1|1|1|1.0|\n");

    test::RecordingShell otherShell;
    maps::MapCatalogue otherCatalogue{otherShell};
    TileSettings otherSettings;
    SourceSettings otherSources;
    TileCache loaded{otherCatalogue, otherSettings, otherSources};
    const double today = currentDayNumber();
    EXPECT_EQ(loadTileCacheFile(loaded, dir.path()), 3);
    EXPECT_EQ(otherSettings.settingsFlags, 1);
    EXPECT_EQ(otherSettings.validityDays, 30);
    EXPECT_EQ(otherSettings.cacheFolder, settings.cacheFolder);
    EXPECT_EQ(otherSources.activeSources, 0x810u);
    EXPECT_EQ(otherSources.countryCode, "de");
    EXPECT_EQ(otherSources.templates[source::kOsmMapnikRoad],
              sources.templates[source::kOsmMapnikRoad]);

    const Tile* r = loaded.find(source::kOsmMapnikRoad, {100, 200, 13});
    const Tile* p = loaded.find(source::kOsmPiste, {101, 200, 13});
    const Tile* o = loaded.find(source::kOsmMapnikRoad, {5, 6, 7});
    ASSERT_TRUE(r && p && o);
    EXPECT_EQ(loaded.tiles().size(), 3u);
    EXPECT_TRUE(r->inCache() && p->inCache() && o->inCache());
    EXPECT_EQ(r->fileSize, 1234);
    EXPECT_DOUBLE_EQ(r->stamp, 9000.25);
    EXPECT_EQ(r->validators.etag, road.validators.etag);
    EXPECT_EQ(r->validators.lastModified, road.validators.lastModified);
    EXPECT_TRUE(p->validators.empty());
    EXPECT_EQ(p->map->age(), 7);
    EXPECT_FALSE(p->map->active());
    EXPECT_TRUE(r->map->active());
    EXPECT_EQ(r->map->definition().imagePath, fs::path(cache.cachePath(road)).u16string());
    EXPECT_EQ(r->map->groupName(), u"OSM-Mapnik-Road");
    EXPECT_EQ(p->map->groupName(), u"OSM-Piste");
    // The older line: stamped today, active as its source is the displayed one.
    EXPECT_EQ(o->fileSize, 99);
    EXPECT_EQ(o->map->age(), 3);
    EXPECT_TRUE(o->map->active());
    EXPECT_NEAR(o->stamp, today, 1.0 / 24);
    EXPECT_EQ(loaded.cachedTiles(), 3);
    EXPECT_EQ(loaded.cachedBytes(), 1234u + 10 + 99);
}

TEST_F(TileCacheFixture, SaveFailureSaysSo) {
    cached(source::kOsmMapnikRoad, {1, 1, 3});
    EXPECT_FALSE(saveTileCacheFile(cache, dir / "missing"));
    const std::vector<test::ShownBox> boxes = shell.boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, u"Unable to save config!");
    EXPECT_EQ(boxes[0].title, u"Error!");
}

TEST_F(TileCacheFixture, TrimsRemovedThenFailedThenLeastRecentlyPainted) {
    const TileAddress a{1, 1, 5}, b{2, 1, 5}, c{3, 1, 5}, d{4, 1, 5}, e{5, 1, 5};
    cached(4, a, 5);
    cached(4, b, 9);
    cached(4, c, 1).map->failForMemory();
    Tile& removed = cached(4, d, 1);
    catalogue.removeMap(*removed.map);
    cached(4, e, 2);
    const std::string removedFile = cache.cachePath(*cache.find(4, d));
    const std::string failedFile = cache.cachePath(*cache.find(4, c));
    settings.maxTilesKept = 3;

    EXPECT_EQ(cache.trim(), 2);
    EXPECT_FALSE(held(4, d));
    EXPECT_FALSE(held(4, c));
    EXPECT_FALSE(fs::exists(removedFile));
    EXPECT_FALSE(fs::exists(failedFile));
    EXPECT_EQ(internetMaps(), 3);
    EXPECT_EQ(cache.find(4, b)->map->age(), 10);  // every run ages the maps

    settings.maxTilesKept = 2;
    EXPECT_EQ(cache.trim(), 1);
    EXPECT_FALSE(held(4, b));
    EXPECT_TRUE(held(4, a) && held(4, e));
    EXPECT_EQ(cache.trim(), 0);
    EXPECT_EQ(internetMaps(), 2);
}

TEST_F(TileCacheFixture, RefreshesTheMostRecentlyPaintedExpiredTile) {
    const double today = 9100;  // validity 60: older than day 9040 is expired
    cached(4, {1, 1, 6}, 4, 9000);
    cached(4, {2, 1, 6}, 2, 9030);
    cached(4, {3, 1, 6}, 1, 9000).map->failForMemory();
    cached(4, {4, 1, 6}, 1, 9090);  // fresh
    Tile* chosen = cache.expiredTile(today);
    ASSERT_NE(chosen, nullptr);
    EXPECT_EQ(chosen->address, (TileAddress{2, 1, 6}));
    EXPECT_EQ(cache.expiredTile(9001), nullptr);
}

TEST_F(TileCacheFixture, ChangedFolderDeletesTheOldTiles) {
    const fs::path root = dir / "cache";
    const Tile& road = cached(source::kOsmMapnikRoad, {1, 1, 4});
    const Tile& piste = cached(source::kOsmPiste, {1, 1, 4});
    const fs::path roadFile = cache.cachePath(road), pisteFile = cache.cachePath(piste);
    test::writeFile(root / "notes.txt", "the user's own");
    test::writeBmp(dir / "user.bmp", 16, 16, 1, 2, 3);
    catalogue.newMap()->setDefinition(test::squareMap(dir / "user.bmp", 45, 7, 1, 16));
    cache.signatures()[source::kOsmMapnikRoad] = {1, 2, 3};

    cache.deleteCache((dir / "elsewhere").string());
    EXPECT_FALSE(fs::exists(roadFile));
    EXPECT_FALSE(fs::exists(pisteFile));
    EXPECT_FALSE(fs::exists(root / "OSM-Mapnik-Road"));
    EXPECT_TRUE(fs::exists(root / "notes.txt"));
    EXPECT_TRUE(cache.tiles().empty());
    EXPECT_EQ(internetMaps(), 0);
    EXPECT_EQ(catalogue.size(), 1u);
    EXPECT_FALSE(cache.signatures()[source::kOsmMapnikRoad].learned());
    EXPECT_EQ(settings.cacheFolder, (dir / "elsewhere").string());
    EXPECT_EQ(cache.cachedTiles(), 0);
    EXPECT_TRUE(cache.changed());
}

TEST_F(TileCacheFixture, VanishedFileIsDroppedQuietly) {
    Tile& t = cached(source::kOsmMapnikRoad, {7, 7, 5});
    ASSERT_TRUE(t.map->active());
    fs::remove_all(dir / "cache");  // the user emptied the cache folder
    const maps::MapPtr map = t.map;
    map->loadNow();
    EXPECT_TRUE(shell.boxes().empty());
    EXPECT_EQ(map->status(), maps::MapStatus::Removed);
    cache.trim();
    EXPECT_FALSE(held(source::kOsmMapnikRoad, {7, 7, 5}));  // to be fetched again
    EXPECT_EQ(catalogue.size(), 0u);
}

}  // namespace
}  // namespace wendra::netmaps
