#pragma once
// The window's side of the internet maps: the tile settings and sources, the tile cache
// with its index file, and - when the machine gives an HTTP request - the tile service,
// the services manager that runs it first and the internet worker. The window thread
// changes settings and the cache only while holding the service's busy lock, and hands
// the service its view after each paint. Lives in the application state, after the
// catalogue it fills; the worker must be stopped before it goes (its destructor waits).

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "app/InternetWorker.h"
#include "app/TileCacheStore.h"
#include "netmaps/SourceSettings.h"
#include "netmaps/TileCache.h"
#include "netmaps/TileService.h"
#include "netmaps/TileSettings.h"
#include "platform/HttpRequest.h"
#include "platform/HttpSession.h"
#include "platform/ServicesManager.h"

namespace wendra {

// The machine's HTTP request over the session (libcurl on Linux).
using HttpRequestFactory =
    std::function<std::unique_ptr<platform::HttpRequest>(platform::HttpSession&)>;

// What the statistics screen shows under "Internet".
struct InternetCounters {
    std::uint32_t sessionTiles = 0;  // requests completed in this run
    std::uint64_t sessionBytes = 0;
    int cachedTiles = 0;
    std::uint64_t cachedBytes = 0;
};

class InternetMaps {
public:
    static constexpr std::u16string_view kBusyLabel = u".NetBmp.Busy";
    // How long the window waits for the worker's run before cutting it short.
    static constexpr std::chrono::milliseconds kRunPatience{250};

    InternetMaps(maps::MapCatalogue& catalogue, const std::string& dataFolder,
                 const HttpRequestFactory& makeRequest, InternetWorkerHooks hooks);
    ~InternetMaps();
    InternetMaps(const InternetMaps&) = delete;
    InternetMaps& operator=(const InternetMaps&) = delete;

    // Read by the window thread at any time; changed only through the calls below.
    // The worker writes fields of its own meanwhile (the maximum level, templates of
    // the update): a whole copy is taken under the busy lock.
    const netmaps::TileSettings& settings() const { return settings_; }
    const netmaps::SourceSettings& sources() const { return sources_; }
    std::pair<netmaps::TileSettings, netmaps::SourceSettings> copySettings();
    netmaps::TileCache& cache() { return cache_; }
    DataStore& store() { return store_; }
    // Null without a request: the settings and the cache still work, nothing downloads.
    netmaps::TileService* service() { return service_.get(); }
    BackgroundWorker* worker() { return worker_.get(); }

    // After each paint (window thread).
    void viewPainted(const netmaps::TileViewInput& view);
    // The text shown while tiles of the group (a source name) are painted.
    std::u16string attribution(std::u16string_view group) const;
    // The source whose maps the view shows, while downloading is on; none otherwise.
    std::optional<int> shownSource() const;

    // The "Internet maps" dialog's OK: the settings taken over; a changed folder
    // deletes the old cache; with downloading on only the displayed source's maps are
    // active. Then the signatures are forgotten, uncached tiles dropped, the worker
    // restarted. The cache index is marked for saving.
    void takeSettings(const netmaps::TileSettings& settings,
                      const netmaps::SourceSettings& sources);
    // Every tile and map of the cache gone, each source's folder deleted.
    void deleteCache();
    // The quick menu: the source displayed with its maps; downloading off; or the
    // service stopped until it is enabled again.
    void showSource(int source);
    void disable();
    void disableThisTime();
    // Starts the worker when the service is active, stops it when not.
    void startOrStop();
    // Shut-down: the request in progress and the conversion are cancelled.
    void cancelWork() { manager_.cancelAll(); }

    InternetCounters counters() const;

private:
    class BusyHold;
    void hold(bool on);
    void activateDisplayed();
    void afterChange();

    netmaps::TileSettings settings_;
    netmaps::SourceSettings sources_;
    netmaps::TileCache cache_;
    TileCacheStore store_;
    platform::HttpSession session_;
    std::unique_ptr<platform::HttpRequest> request_;
    std::unique_ptr<netmaps::TileService> service_;
    platform::ServicesManager manager_;
    std::unique_ptr<InternetWorker> worker_;
    bool cutShort_ = false;  // the window cancelled the worker's run to take the lock
};

}  // namespace wendra
