#pragma once
// The tile service, first service of the internet worker: on each pass it takes the
// next tile the view needs from the spiral, downloads it (learning the source's
// placeholder first), converts it into the cache on a low-priority thread and shows
// it as a map; it trims the cache, searches coarser levels where the view's level has
// no tiles and refreshes one expired tile once the view is complete. run() and
// checkOnce() belong to the worker thread, which holds the busy bit; the window sets
// the view from its own thread; cancel() reaches the request and the conversion.

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <mutex>
#include <optional>
#include <string>

#include "netmaps/SourceSettings.h"
#include "netmaps/TemplateUpdater.h"
#include "netmaps/TileCache.h"
#include "netmaps/TileConversion.h"
#include "netmaps/TileSpiral.h"
#include "netmaps/TileUrlBuilder.h"
#include "platform/HttpRequest.h"
#include "platform/InternetService.h"
#include "platform/Ticker.h"

namespace wendra::netmaps {

// What the window hands the service after each paint.
struct TileViewInput {
    double latitude = 0;  // view centre, degrees
    double longitude = 0;
    double scale = 0;  // view pixels per half-turn
    int width = 800;   // screen size, pixels
    int height = 480;
    bool zoomFollows = true;              // not in manual zoom, or the zoom follows the map scale
    int displayedSource = kNoTileSource;  // none: the source settings' displayed source
    bool placed = false;  // false until the window has a view: the service fetches nothing
};

// What the service is doing, for the status line.
enum class TileWork : int { Idle, Downloading, Converting, Refreshing, RefreshConverting };

// What a run did with the tile it took on.
struct TileReport {
    enum class Outcome {
        Cached,        // downloaded and converted into the cache, map shown
        NoTile,        // 404, 410 or the source's placeholder
        Failed,        // a request failure (the error code; the service's last result)
        NotConverted,  // downloaded, but the image could not be decoded or written
        Refreshed,     // an expired tile downloaded and converted again
        NotModified,   // an expired tile the server says is unchanged: stamp renewed
        Cancelled,
    };
    TileAddress address;
    int source = kNoTileSource;
    Outcome outcome = Outcome::Failed;
    int error = 0;           // of the base request, or of the overlay's when that failed
    std::int64_t bytes = 0;  // the bodies' bytes
    std::string path;        // the cached file; empty unless in cache
    bool probe = false;      // a tile of the coarser-level search
};

class TileService final : public platform::InternetService {
public:
    // No expired tile is refreshed once the run has made more requests than this.
    static constexpr std::uint32_t kRefreshRequestLimit = 100;

    // The cache (with its settings), the request for every download of the service
    // and the data folder of the scratch files outlive the service.
    TileService(TileCache& cache, platform::HttpRequest& request, std::filesystem::path dataFolder,
                platform::Ticker& ticker = platform::systemTicker());
    ~TileService() override;

    void run() override;
    // The template update, once per program run when "Download URL" is set; it never
    // fails the service.
    void checkOnce() override;

    // From the window thread, after each paint.
    void setView(const TileViewInput& view);
    TileViewInput view() const;

    TileWork work() const { return work_.load(std::memory_order_acquire); }
    // The tile of the last run that took one on (any thread).
    std::optional<TileReport> lastReport() const;
    // Runs so far that took a tile on (any thread).
    std::uint64_t reportCount() const { return reports_.load(std::memory_order_acquire); }

    // The program run's counters (completed requests, bytes), for the statistics.
    std::uint32_t requestsCompleted() const;
    std::uint64_t bytesDownloaded() const;

    TileCache& cache() { return cache_; }
    // Worker thread, or with the busy bit held.
    const TileSpiral& spiral() const { return spiral_; }
    // Settings changed (folder, source, signatures forgotten): the spiral starts again.
    void restartSpiral() {
        spiral_ = {};
        retry_.reset();
    }

private:
    struct Download;
    void onCancel() override;
    int currentSource() const;
    bool placeView();
    std::optional<TileSpiral::Candidate> nextCandidate();
    void take(const TileSpiral::Candidate& candidate);
    void probeCoarser();
    bool learnSignatures(int source, int baseSource);
    int learnSignature(int source, const std::string& url);
    void updateTemplates();
    TileReport fetchTile(Tile& tile, bool probe);
    int download(Tile& tile, Download& result, bool conditional);
    void downloadOverlay(Tile& tile, const std::string& url, const ConversionFiles& files,
                         Download& result);
    ConversionResult convert(Tile& tile);
    void refreshExpired();
    void finish(const TileReport& report);

    TileCache& cache_;
    platform::HttpRequest& request_;
    std::filesystem::path dataFolder_;
    TileSpiral spiral_;
    // The tile whose request failed: asked again first once the service is reset.
    std::optional<TileSpiral::Candidate> retry_;
    TemplateUpdater updater_;
    TileUrlBuilder urls_;
    mutable std::mutex viewMutex_;
    TileViewInput view_;
    std::atomic<TileWork> work_{TileWork::Idle};
    std::atomic<bool> conversionCancel_{false};
    std::atomic<std::uint64_t> reports_{0};
    mutable std::mutex reportMutex_;
    std::optional<TileReport> lastReport_;
};

}  // namespace wendra::netmaps
