// Frame times of the map view while the internet worker runs against a tile server on
// 127.0.0.1 that answers every tile at once or holds its request open without a word.
// The frame paints cached tiles and a track on the bench thread as the window does,
// beside the window's own internet maps (worker, service, cache) and the map manager.
// The catalogue is filled first from the answering server; then the service is sent to
// fetch elsewhere, so that its worker always has tiles to ask for, and blocks of frames
// with the server answering alternate with blocks painted while it holds the worker's
// request: other load on the machine then falls on both alike. Counters: median and
// worst frame in ms of each, the maps loaded, the tiles the worker cached meanwhile,
// and how long a save of the changed files takes while the worker's request is held.

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <numbers>
#include <string>
#include <thread>
#include <vector>

#include "OffscreenApplication.h"
#include "app/AppMapShell.h"
#include "app/DataFiles.h"
#include "app/InternetMaps.h"
#include "maps/MapManager.h"
#include "netmaps/TileImages.h"
#include "platform/linux/CurlHttp.h"
#include "platform/qt/QtDrawingSurface.h"
#include "support/LoopbackHttpServer.h"
#include "track/Track.h"
#include "track/TrackPoint.h"
#include "track/TrackUnits.h"
#include "view/MapFrame.h"

namespace {

namespace fs = std::filesystem;
using namespace wendra;
using Clock = std::chrono::steady_clock;

constexpr double kDegreesPerUnit = 180.0;  // half-turn units
constexpr double kLatitude = 45.3;
constexpr double kLongitude = 7.2;
constexpr int kLevel = 15;  // web zoom 14
constexpr int kRounds = 8;
constexpr int kBlockFrames = 50;

// The view scale (pixels per half-turn) whose tile level is `level` here.
double scaleFor(int level) {
    return 64 * std::exp2(level - 0.667 + 0.5) / std::cos(kLatitude * std::numbers::pi / 180);
}


std::string tileBody() {
    const fs::path file = fs::temp_directory_path() / "wendra-stall-tile.png";
    test::writeTilePng(
        file,
        [](int x, int y) {
            return test::Rgba{static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y), 90};
        },
        false);
    std::ifstream in(file, std::ios::binary);
    std::string body(std::istreambuf_iterator<char>(in), {});
    fs::remove(file);
    return body;
}

// Every tile the same image; the placeholder probe (level 21, web zoom 20) gets a 404,
// so the service learns that the server has none. While stalled, a request is held
// until the stall ends, then answered.
struct TileAnswers {
    TileAnswers()
        : body(tileBody()), server([this](test::LoopbackHttpServer::Connection& c) {
              if (stalled.load()) {
                  held.fetch_add(1);
                  while (stalled.load()) std::this_thread::sleep_for(std::chrono::milliseconds(10));
                  held.fetch_sub(1);
              }
              if (c.path().starts_with("/tiles/20/")) {
                  c.answer(404, "<html/>");
              } else {
                  c.answer(200, body, "Content-Type: image/png\r\n");
              }
          }) {}

    std::string body;
    std::atomic<bool> stalled{false};
    std::atomic<int> held{0};
    test::LoopbackHttpServer server;
};

// What the window holds for one frame: the catalogue with its manager, the internet
// maps, the track and the view over an offscreen surface of the given size.
struct StallWindow {
    StallWindow(const fs::path& folder, platform::Size size, const TileAnswers& answers)
        : internet(catalogue, folder.string(), curl(), hooks()), buffer(size), surface(buffer) {
        shell.attachManager(&manager);
        manager.start();
        view.zoomWord = zoom::kManual;
        view.scale = view.manualScale = static_cast<float>(scaleFor(kLevel));
        view.setCentre(kLatitude / kDegreesPerUnit, kLongitude / kDegreesPerUnit);
        gps = LatLon{view.centreLat(), view.centreLon()};
        data.frame.gps = &gps;
        data.frame.fixValid = data.positionShown = data.live = true;
        data.fix.latitude = kLatitude;
        data.fix.longitude = kLongitude;
        data.maps = &catalogue;
        data.attributionOf = [this](std::u16string_view group) {
            return internet.attribution(group);
        };
        walkTrack();
        netmaps::TileSettings settings = internet.settings();
        netmaps::SourceSettings sources = internet.sources();
        settings.cacheFolder = (folder / "cache").string();
        settings.settingsFlags |= netmaps::tilesetting::kDownloadMaps;
        for (int slot = 0; slot < netmaps::kTileSourceCount; ++slot)
            sources.templates[slot] = answers.server.url("/tiles/*ZM1*/*GMX*/*GMY*.png");
        sources.updateSite.clear();
        internet.takeSettings(settings, sources);  // starts the worker
        tileView = placedView(kLongitude);
    }
    ~StallWindow() {
        manager.stop();
        shell.attachManager(nullptr);
    }

    static HttpRequestFactory curl() {
        return [](platform::HttpSession& session) {
            return std::make_unique<platform::CurlHttp>(session);
        };
    }
    static InternetWorkerHooks hooks() {
        InternetWorkerHooks hooks;
        hooks.startPause = std::chrono::milliseconds(0);
        return hooks;
    }
    netmaps::TileViewInput placedView(double longitude) const {
        netmaps::TileViewInput input;
        input.latitude = kLatitude;
        input.longitude = longitude;
        input.scale = view.scale;
        input.width = buffer.size().width;
        input.height = buffer.size().height;
        input.placed = true;
        return input;
    }
    // 5000 points wandering across the screen.
    void walkTrack() {
        const double perPixel = 1.0 / view.scale;
        for (int i = 0; i < 5000; ++i) {
            TrackPoint& point = *track.layer(0).append();
            point.lat = gps.lat + 200 * perPixel * std::sin(i / 300.0);
            point.latRad = point.lat * kPi;
            point.cosLat = std::cos(point.latRad);
            point.lon = gps.lon + (i / 5.0 - 500) * perPixel / point.cosLat;
        }
    }

    // One frame as the window paints it, in milliseconds.
    double paint() {
        const auto start = Clock::now();
        const platform::Size size = buffer.size();
        frame.paintView(&surface, {0, 0, size.width, size.height}, {}, data);
        surface.flush();
        shell.viewPlaced(ViewCentre{view.centreLat(), view.centreLon()}, view.scale, size);
        internet.viewPainted(tileView);
        return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    }

    AppMapShell shell;
    maps::MapCatalogue catalogue{shell};
    maps::MapManager manager{catalogue};
    InternetMaps internet;
    Track track;
    ViewGeometry view;
    ViewCycle cycle{view, track};
    MapFrame frame{view, cycle, track};
    platform::PixelBuffer buffer;
    platform::qt::QtDrawingSurface surface;
    FrameData data;
    LatLon gps;
    netmaps::TileViewInput tileView;
};

// Paints until `count()` has not grown for `quiet` (or a minute has passed).
template <typename Count>
void paintUntilSettled(StallWindow& window, Count count, std::chrono::milliseconds quiet) {
    const auto end = Clock::now() + std::chrono::seconds(60);
    auto last = count();
    auto changed = Clock::now();
    while (Clock::now() < end && Clock::now() - changed < quiet) {
        window.paint();
        window.manager.post(maps::ManagerLevel::RankAndLoad);
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        if (const auto now = count(); now != last) {
            last = now;
            changed = Clock::now();
        }
    }
}

struct Times {
    std::vector<double> millis;
    void report(benchmark::State& state, const std::string& name) {
        state.counters[name + "_worst_ms"] = *std::max_element(millis.begin(), millis.end());
        std::nth_element(millis.begin(), millis.begin() + millis.size() / 2, millis.end());
        state.counters[name + "_median_ms"] = millis[millis.size() / 2];
    }
};

// Frames while the server answers, then frames while it holds the worker's request
// (kept well within the request's 5 s without a byte).
void measureRound(StallWindow& window, TileAnswers& answers, Times& idle, Times& stalled) {
    for (int i = 0; i < kBlockFrames; ++i) idle.millis.push_back(window.paint());
    answers.stalled.store(true);
    const auto end = Clock::now() + std::chrono::seconds(3);
    for (int i = 0; i < kBlockFrames && Clock::now() < end;) {
        const double ms = window.paint();
        if (answers.held.load() > 0) {
            stalled.millis.push_back(ms);
            ++i;
        }
    }
    answers.stalled.store(false);
}

// A handled key saves what changed: with tiles cached since the last save, that is the
// cache index too. The time that save takes on the window's thread while the server
// holds the worker's request (were it to wait for the run, until the request gives up).
double saveWhileStalled(StallWindow& window, TileAnswers& answers, const fs::path& folder) {
    NoStatusBanner banner;
    DataFiles files(folder.string(), banner);
    files.attach(DataFile::Cache, window.internet.store());
    window.tileView = window.placedView(kLongitude - 0.5);
    answers.stalled.store(true);
    const auto wait = Clock::now() + std::chrono::seconds(3);
    while (answers.held.load() == 0 && Clock::now() < wait) window.paint();
    window.internet.cache().markChanged();
    const auto start = Clock::now();
    files.saveChanged(false);
    const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    answers.stalled.store(false);
    return ms;
}

void BM_FrameWhileServerStalls(benchmark::State& state) {
    bench::ensureOffscreenApplication();
    for (const char* name :
         {"http_proxy", "https_proxy", "all_proxy", "HTTP_PROXY", "HTTPS_PROXY", "ALL_PROXY"})
        ::unsetenv(name);
    const platform::Size size{static_cast<int>(state.range(0)), static_cast<int>(state.range(1))};
    const fs::path folder = fs::temp_directory_path() / "wendra-stall-bench";
    fs::remove_all(folder);
    fs::create_directories(folder);
    TileAnswers answers;
    for (auto _ : state) {
        StallWindow window(folder, size, answers);
        netmaps::TileCache& cache = window.internet.cache();
        paintUntilSettled(
            window, [&] { return cache.cachedTiles(); }, std::chrono::seconds(2));
        paintUntilSettled(
            window, [&] { return window.catalogue.allocatedRow().maps; }, std::chrono::seconds(2));
        const int cachedBefore = cache.cachedTiles();
        state.counters["loaded_maps"] = window.catalogue.allocatedRow().maps;
        Times idle;
        Times stalled;
        const auto start = Clock::now();
        for (int round = 0; round < kRounds; ++round) {
            window.tileView = window.placedView(kLongitude + 0.5 * (round + 1));  // new ground
            measureRound(window, answers, idle, stalled);
        }
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
        idle.report(state, "idle");
        stalled.report(state, "stalled");
        state.counters["stalled_frames"] = static_cast<double>(stalled.millis.size());
        state.counters["new_tiles"] = cache.cachedTiles() - cachedBefore;
        state.counters["save_ms"] = saveWhileStalled(window, answers, folder);
    }
    fs::remove_all(folder);
}

BENCHMARK(BM_FrameWhileServerStalls)
    ->Args({800, 480})
    ->Args({1920, 1080})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

}  // namespace
