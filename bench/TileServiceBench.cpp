// How long the internet worker takes to stop while the tile service's request hangs on
// a server that accepted the connection and says nothing: with the services cancelled
// first (the request and the conversion see the cancel within a poll), and with the
// stop request alone, which waits for the request's own time-outs.

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <thread>

#include "app/InternetWorker.h"
#include "maps/MapCatalogue.h"
#include "maps/MapShell.h"
#include "netmaps/TileService.h"
#include "platform/ServicesManager.h"
#include "platform/linux/CurlHttp.h"
#include "support/LoopbackHttpServer.h"

namespace {

namespace fs = std::filesystem;
using namespace wendra;

// A worker whose tile service points at the stalled server, running its first pass.
struct HangingWorker {
    explicit HangingWorker(const test::LoopbackHttpServer& server, const fs::path& folder)
        : folder(folder) {
        settings.cacheFolder = (folder / "cache").string();
        sources.templates[netmaps::source::kOsmMapnikRoad] =
            server.url("/tiles/*ZM1*/*GMX*/*GMY*.png");
        sources.updateSite.clear();
        netmaps::TileViewInput view;
        view.latitude = 45.3;
        view.longitude = 7.2;
        view.scale = 30000;
        view.placed = true;
        service.setView(view);
        service.setSettings(platform::InternetService::kSettingEnabled);
        manager.add(service);
        manager.refreshAll();
        InternetWorkerHooks hooks;
        hooks.startPause = std::chrono::milliseconds(0);
        hooks.programFolder = folder;
        worker = std::make_unique<InternetWorker>(manager, hooks);
        worker->launch();
    }

    fs::path folder;
    maps::MapShell shell;
    maps::MapCatalogue catalogue{shell};
    netmaps::TileSettings settings;
    netmaps::SourceSettings sources;
    netmaps::TileCache cache{catalogue, settings, sources};
    platform::HttpSession session;  // the program's time-outs
    platform::CurlHttp request{session};
    netmaps::TileService service{cache, request, folder};
    platform::ServicesManager manager;
    std::unique_ptr<InternetWorker> worker;
};

void waitForHangingRequest(const test::LoopbackHttpServer& server, int count) {
    while (server.requestCount() < count) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    // The request is in libcurl's loop once the server holds the connection.
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
}

void stopTime(benchmark::State& state, bool cancelFirst) {
    for (const char* name :
         {"http_proxy", "https_proxy", "all_proxy", "HTTP_PROXY", "HTTPS_PROXY", "ALL_PROXY"})
        ::unsetenv(name);
    test::LoopbackHttpServer server([](test::LoopbackHttpServer::Connection& c) { c.holdOpen(); });
    const fs::path folder = fs::temp_directory_path() / "wendra-tile-stop-bench";
    fs::create_directories(folder);
    for (auto _ : state) {
        const int before = server.requestCount();
        HangingWorker hanging(server, folder);
        waitForHangingRequest(server, before + 1);
        const auto start = std::chrono::steady_clock::now();
        if (cancelFirst) hanging.manager.cancelAll();
        hanging.worker->requestStop();
        while (hanging.worker->running())
            std::this_thread::sleep_for(std::chrono::microseconds(100));
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        state.SetIterationTime(took.count());
    }
    fs::remove_all(folder);
}

void BM_WorkerStopCancelled(benchmark::State& state) {
    stopTime(state, true);
}
BENCHMARK(BM_WorkerStopCancelled)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);

void BM_WorkerStopWithoutCancel(benchmark::State& state) {
    stopTime(state, false);
}
BENCHMARK(BM_WorkerStopWithoutCancel)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

}  // namespace
