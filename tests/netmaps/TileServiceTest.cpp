// The tile service against the test tile server on 127.0.0.1: the view filled from its
// centre, placeholders and the coarser-level fallback, the overlay, the refresh of
// expired tiles, and each fault of a real server leaving the service stoppable and the
// cache consistent. Time-outs are shortened so that each fault costs about a second.

#include "netmaps/TileService.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <future>
#include <numbers>
#include <set>
#include <string>
#include <thread>

#include "maps/MapCatalogue.h"
#include "maps/MapShell.h"
#include "netmaps/TileImages.h"
#include "platform/linux/CurlHttp.h"
#include "records/DayNumber.h"
#include "support/DirectConnection.h"
#include "support/LoopbackHttpServer.h"
#include "support/TestPaths.h"
#include "support/TileServer.h"
#include "support/WaitUntil.h"

namespace wendra::netmaps {
namespace {

namespace fs = std::filesystem;
using platform::HttpRequest;
using Outcome = TileReport::Outcome;

const platform::HttpTimings kQuick{std::chrono::milliseconds(1000), std::chrono::milliseconds(500),
                                   std::chrono::milliseconds(50), std::chrono::milliseconds(1000),
                                   1024};

constexpr double kLatitude = 45.3;
constexpr double kLongitude = 7.2;

// The view scale whose tile level is `level` at the test latitude.
double scaleFor(int level) {
    return 64 * std::exp2(level - 0.667 + 0.5) / std::cos(kLatitude * std::numbers::pi / 180);
}

// A data folder with its cache, the catalogue and a service whose sources point at the
// server: slot 4 its tiles, slot 11 its overlay on them.
struct Rig {
    explicit Rig(const test::TileServer& server, platform::HttpTimings timings = kQuick)
        : session(timings) {
        settings.cacheFolder = (folder / "cache").string();
        settings.settingsFlags = tilesetting::kDownloadMaps;
        sources.templates[source::kOsmMapnikRoad] = server.url("/tiles/*ZM1*/*GMX*/*GMY*.png");
        sources.templates[source::kOsmPiste] = server.url("/overlay/*ZM1*/*GMX*/*GMY*.png");
        sources.updateSite.clear();
        show(8, source::kOsmMapnikRoad);
    }

    void show(int level, int source, int width = 128, int height = 128) {
        TileViewInput view;
        view.latitude = kLatitude;
        view.longitude = kLongitude;
        view.scale = scaleFor(level);
        view.width = width;
        view.height = height;
        view.displayedSource = source;
        view.placed = true;
        service.setView(view);
    }

    // Runs until the spiral is complete (or a request failed); the reports in order.
    std::vector<TileReport> fill(int limit = 200) {
        std::vector<TileReport> reports;
        for (int i = 0; i < limit && service.lastResult() == HttpRequest::kOk; ++i) {
            const auto before = service.reportCount();
            service.run();
            if (service.reportCount() != before) reports.push_back(*service.lastReport());
            if (service.spiral().complete() && !service.spiral().searching()) break;
        }
        return reports;
    }

    // Every tile marked in cache has its file; no other file is in the cache folder.
    void expectConsistent() {
        std::set<std::string> cached;
        for (const auto& tile : cache.tiles()) {
            if (!tile->inCache()) continue;
            cached.insert(cache.cachePath(*tile));
            EXPECT_TRUE(fs::is_regular_file(cache.cachePath(*tile))) << cache.cachePath(*tile);
            EXPECT_EQ(static_cast<std::int64_t>(fs::file_size(cache.cachePath(*tile))),
                      tile->fileSize);
            EXPECT_TRUE(tile->map);
        }
        const fs::path root = settings.cacheFolder;
        if (!fs::exists(root)) return;
        for (const auto& entry : fs::recursive_directory_iterator(root)) {
            if (entry.is_regular_file()) {
                EXPECT_TRUE(cached.count(entry.path().string())) << entry.path();
            }
        }
    }

    test::TempDir folder;
    maps::MapShell shell;
    maps::MapCatalogue catalogue{shell};
    TileSettings settings;
    SourceSettings sources;
    TileCache cache{catalogue, settings, sources};
    platform::HttpSession session;
    platform::CurlHttp request{session};
    TileService service{cache, request, folder.path()};
};

using TileServiceTest = ::testing::Test;

TEST_F(TileServiceTest, FillsTheViewFromItsCentreAndAsksEachTileOnce) {
    test::TileServer server;
    ASSERT_TRUE(server.running());
    Rig rig(server);
    const auto reports = rig.fill();
    ASSERT_GE(reports.size(), 3u);
    // The placeholder probe first, then the centre tile at the view's level.
    const auto log = server.log();
    EXPECT_EQ(log.at(0).rfind("/tiles/20/524288/524288.png", 0), 0u) << log.at(0);
    const SpiralView view = rig.service.spiral().view();
    EXPECT_EQ(reports[0].address, (TileAddress{view.centre.qx / 4, view.centre.qy / 4, 8}));
    EXPECT_EQ(reports[1].address.level, 9) << "the next finer level while the zoom follows";
    std::set<std::string> paths;
    for (const auto& report : reports) {
        EXPECT_EQ(report.outcome, Outcome::Cached);
        EXPECT_GT(report.bytes, 0);
        paths.insert(report.path);
    }
    EXPECT_EQ(paths.size(), reports.size());
    EXPECT_EQ(server.count("/tiles/"), static_cast<int>(reports.size()) + 1);
    EXPECT_EQ(rig.cache.cachedTiles(), static_cast<int>(reports.size()));
    EXPECT_EQ(rig.catalogue.size(), reports.size());
    EXPECT_NE(log.at(1).find("Wendra/"), std::string::npos) << "the agent names the program";
    rig.expectConsistent();
    // Complete and nothing expired: the next runs ask for nothing.
    rig.service.run();
    EXPECT_EQ(server.count("/tiles/"), static_cast<int>(reports.size()) + 1);
}

TEST_F(TileServiceTest, PlaceholdersSendTheViewToTheFirstCoarserLevelWithTiles) {
    test::TileServerOptions options;
    options.realZoom = 4;  // real tiles up to level 5, placeholders finer
    test::TileServer server(options);
    ASSERT_TRUE(server.running());
    Rig rig(server);
    const auto reports = rig.fill();
    ASSERT_GE(reports.size(), 5u);
    // Level 8 at the centre, then one probe per run: 7, 6 and 5, which has a tile.
    EXPECT_EQ(reports[0].outcome, Outcome::NoTile);
    for (int i = 1; i <= 3; ++i) {
        EXPECT_TRUE(reports[i].probe);
        EXPECT_EQ(reports[i].address.level, 8 - i);
    }
    EXPECT_EQ(reports[2].outcome, Outcome::NoTile);
    EXPECT_EQ(reports[3].outcome, Outcome::Cached);
    EXPECT_EQ(rig.service.spiral().maxLevel(), 5);
    EXPECT_EQ(rig.settings.maxLevel, 5);
    for (std::size_t i = 4; i < reports.size(); ++i) {
        EXPECT_EQ(reports[i].address.level, 5);
        EXPECT_EQ(reports[i].outcome, Outcome::Cached);
    }
    EXPECT_EQ(rig.service.lastResult(), HttpRequest::kOk) << "no tile is no failure";
    rig.expectConsistent();
}

TEST_F(TileServiceTest, AnOverlaySourceBlendsItsOverlayIntoTheBase) {
    test::TileServer server;
    ASSERT_TRUE(server.running());
    Rig rig(server);
    rig.show(6, source::kOsmPiste);
    rig.service.run();
    const auto report = rig.service.lastReport();
    ASSERT_TRUE(report);
    ASSERT_EQ(report->outcome, Outcome::Cached);
    EXPECT_NE(report->path.find("/OSM-Piste/"), std::string::npos) << report->path;
    // Probes of the base (slot 4's template) and of the overlay, then the tile's two.
    EXPECT_EQ(server.count("/tiles/"), 2);
    EXPECT_EQ(server.count("/overlay/"), 2);
    const Tile* tile = rig.cache.find(source::kOsmPiste, report->address);
    ASSERT_TRUE(tile);
    EXPECT_TRUE(tile->has(tileflag::kHasOverlay));
    // The overlay is red at half alpha on the left half, clear on the right.
    const auto rgb = test::decodeTileRgb(report->path);
    ASSERT_EQ(rgb.size(), 256u * 256u * 3u);
    const auto at = [&](int x, int y, int c) { return int(rgb[(y * 256 + x) * 3 + c]); };
    for (int y : {10, 100, 200}) {
        SCOPED_TRACE(y);
        const int base = at(200, y, 0);
        EXPECT_NEAR(at(50, y, 0), blendComponent(255, 128, base), 12);
        EXPECT_NEAR(at(50, y, 1), blendComponent(0, 128, at(200, y, 1)), 12);
    }
}

TEST_F(TileServiceTest, EachFaultLeavesTheCacheConsistentAndTheServiceWorking) {
    struct Case {
        const char* mode;
        Outcome outcome;
        int lastResult;
    };
    const Case cases[] = {
        {"stall", Outcome::Failed, HttpRequest::kSendFailed},
        {"trickle", Outcome::Failed, HttpRequest::kReadFailed},
        {"cut", Outcome::Failed, HttpRequest::kReadFailed},
        {"500", Outcome::Failed, HttpRequest::kSendFailed},
        {"huge", Outcome::Failed, HttpRequest::kReadFailed},
        {"404", Outcome::NoTile, HttpRequest::kOk},
        {"garbage", Outcome::NoTile, HttpRequest::kOk},
        {"placeholder", Outcome::NoTile, HttpRequest::kOk},
    };
    test::TileServer server;
    ASSERT_TRUE(server.running());
    for (const auto& item : cases) {
        SCOPED_TRACE(item.mode);
        Rig rig(server);
        rig.service.run();  // learns the placeholder and caches the centre tile
        ASSERT_EQ(rig.service.lastReport()->outcome, Outcome::Cached);
        server.setMode(item.mode);
        rig.service.run();
        server.setMode("");
        const auto report = rig.service.lastReport();
        EXPECT_EQ(report->outcome, item.outcome);
        EXPECT_EQ(rig.service.lastResult(), item.lastResult);
        EXPECT_EQ(rig.service.work(), TileWork::Idle);
        rig.expectConsistent();
        // Reset as the manager does after its back-off: the tile work goes on, and a
        // tile that failed is asked again.
        rig.service.reset();
        rig.service.run();
        EXPECT_EQ(rig.service.lastReport()->outcome, Outcome::Cached);
        if (item.outcome == Outcome::Failed) {
            EXPECT_EQ(rig.service.lastReport()->address, report->address);
        }
        EXPECT_EQ(rig.cache.cachedTiles(), 2);
        rig.expectConsistent();
    }
}

TEST_F(TileServiceTest, RetryAfterKeepsRequestsAwayUntilItPasses) {
    test::TileServer server;
    ASSERT_TRUE(server.running());
    Rig rig(server);
    rig.service.run();
    server.setMode("429");
    rig.service.run();
    server.setMode("");
    EXPECT_EQ(rig.service.lastResult(), HttpRequest::kSendFailed);
    const int asked = server.count("/tiles/");
    EXPECT_EQ(server.count("/tiles/"), asked) << "a 429 is not asked again at once";
    rig.service.reset();
    rig.service.run();
    EXPECT_EQ(rig.service.lastResult(), HttpRequest::kSendFailed);
    EXPECT_EQ(server.count("/tiles/"), asked) << "held off: no request reached the server";
    std::this_thread::sleep_for(std::chrono::milliseconds(1100));
    rig.service.reset();
    rig.service.run();
    EXPECT_EQ(rig.service.lastReport()->outcome, Outcome::Cached);
    EXPECT_EQ(server.count("/tiles/"), asked + 1);
}

TEST_F(TileServiceTest, CancelEndsAHangingRequestAtOnce) {
    test::TileServer server;
    ASSERT_TRUE(server.running());
    // Time-outs far beyond the test's patience: only the cancel can end the run.
    Rig rig(server, {std::chrono::seconds(60), std::chrono::seconds(60), std::chrono::seconds(60),
                     std::chrono::seconds(60), 1});
    rig.service.run();
    server.setMode("stall");
    const int before = static_cast<int>(server.log().size());
    auto run = std::async(std::launch::async, [&] { rig.service.run(); });
    ASSERT_TRUE(test::waitUntil([&] { return static_cast<int>(server.log().size()) > before; }));
    rig.service.cancel();
    ASSERT_EQ(run.wait_for(test::kWaitDeadline), std::future_status::ready);
    run.get();
    EXPECT_EQ(rig.service.lastReport()->outcome, Outcome::Cancelled);
    EXPECT_EQ(rig.service.lastResult(), HttpRequest::kCancelled);
    EXPECT_EQ(rig.cache.cachedTiles(), 1);
    rig.expectConsistent();
}

TEST_F(TileServiceTest, TheTemplateUpdateRunsOnceAndNeverStopsTheTiles) {
    test::TileServer server;
    ASSERT_TRUE(server.running());
    const std::string moved = server.url("/tiles/*ZM1*/*GMX*/*GMY*.png?moved=1");
    test::LoopbackHttpServer site([&](test::LoopbackHttpServer::Connection& c) {
        if (c.path().rfind("//Download/UrlVersion_v01?id=", 0) == 0)
            c.answer(200, "UrlVersion:12:" + moved + "\n");
        else
            c.answer(404, "<html/>");
    });
    test::LoopbackHttpServer gone([](test::LoopbackHttpServer::Connection& c) { c.holdOpen(); });
    struct Case {
        const char* legend;
        std::string site;
        bool updated;
    };
    const Case cases[] = {
        {"an answer replaces slot 4's template", site.url(""), true},
        {"a site that never answers only ends the update", gone.url(""), false},
        {"no site: no update", "", false},
    };
    for (const auto& item : cases) {
        SCOPED_TRACE(item.legend);
        Rig rig(server);
        rig.settings.settingsFlags |= tilesetting::kDownloadUrl;
        rig.sources.updateSite = item.site;
        rig.service.checkOnce();
        EXPECT_EQ(rig.sources.templates[source::kOsmMapnikRoad] == moved, item.updated);
        EXPECT_EQ(rig.cache.changed(), item.updated);
        EXPECT_EQ(rig.service.message().empty(), !item.updated);
        EXPECT_EQ(rig.service.lastResult(), HttpRequest::kOk);
        rig.service.run();
        EXPECT_EQ(rig.service.lastReport()->outcome, Outcome::Cached);
        EXPECT_EQ(server.log().back().find("?moved=1") != std::string::npos, item.updated);
    }
    EXPECT_EQ(site.requestCount(), 1) << "once per program run, not again before the tile";
}

// Ages the cached tiles past their validity.
void expireAll(TileCache& cache) {
    for (const auto& tile : cache.tiles())
        if (tile->inCache()) tile->stamp = currentDayNumber() - cache.settings().validity() - 1;
}

TEST_F(TileServiceTest, ExpiredTilesAreAskedAgainConditionallyWhileTheRunHasFewRequests) {
    test::TileServer server;
    ASSERT_TRUE(server.running());
    Rig rig(server);
    const auto filled = rig.fill();
    ASSERT_FALSE(filled.empty());
    expireAll(rig.cache);
    rig.service.run();
    const auto report = rig.service.lastReport();
    EXPECT_EQ(report->outcome, Outcome::NotModified);
    const auto last = server.log().back();
    EXPECT_NE(last.find("\t\""), std::string::npos) << "If-None-Match with the ETag: " << last;
    const Tile* tile = rig.cache.find(source::kOsmMapnikRoad, report->address);
    EXPECT_GT(tile->stamp, currentDayNumber() - 1);
    EXPECT_TRUE(tile->inCache());

    // Past 100 requests in this run no expired tile is asked again.
    for (std::uint32_t i = rig.service.requestsCompleted(); i <= TileService::kRefreshRequestLimit;
         ++i)
        ASSERT_EQ(rig.request.request(server.url("/tiles/1/0/0.png"), 0), HttpRequest::kOk);
    expireAll(rig.cache);
    const int asked = server.count("/tiles/");
    rig.service.run();
    EXPECT_EQ(server.count("/tiles/"), asked);
}

}  // namespace
}  // namespace wendra::netmaps
