#include "netmaps/TileService.h"

#include <chrono>
#include <utility>

#include "netmaps/TileConversion.h"
#include "netmaps/TileSignature.h"
#include "records/DayNumber.h"

namespace wendra::netmaps {
namespace {

using platform::HttpRequest;
using platform::HttpSession;
using Outcome = TileReport::Outcome;

std::uint64_t tickMilliseconds(const platform::Ticker& ticker) {
    return static_cast<std::uint64_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(ticker.now().time_since_epoch())
            .count());
}

// A request that got no tile counts as done for its tile; other failures leave the
// tile to be asked again once the connection is back.
bool keepsTile(int error) {
    return error == HttpRequest::kOk || error == HttpRequest::kNoTile;
}

// A failure of the request, which stops the tile work; "no tile" never is one.
bool isFailure(int error) {
    return !keepsTile(error);
}

TileReport::Outcome outcomeOf(ConversionResult result) {
    switch (result) {
        case ConversionResult::Done:
            return TileReport::Outcome::Cached;
        case ConversionResult::Cancelled:
            return TileReport::Outcome::Cancelled;
        default:
            return TileReport::Outcome::NotConverted;
    }
}

}  // namespace

// What one download left for the conversion.
struct TileService::Download {
    std::int64_t bytes = 0;
    bool saved = true;  // the scratch files were written
    bool notModified = false;
    int overlayError = HttpRequest::kOk;
};

TileService::TileService(TileCache& cache, HttpRequest& request, std::filesystem::path dataFolder,
                         platform::Ticker& ticker)
    : InternetService(std::chrono::milliseconds(0), ticker),
      cache_(cache),
      request_(request),
      dataFolder_(std::move(dataFolder)) {
    setCurrentRequest(&request_);
}

TileService::~TileService() {
    setCurrentRequest(nullptr);
}

void TileService::setView(const TileViewInput& view) {
    std::lock_guard lock(viewMutex_);
    view_ = view;
}

TileViewInput TileService::view() const {
    std::lock_guard lock(viewMutex_);
    return view_;
}

std::optional<TileReport> TileService::lastReport() const {
    std::lock_guard lock(reportMutex_);
    return lastReport_;
}

std::uint32_t TileService::requestsCompleted() const {
    return request_.session().requestsCompleted();
}

std::uint64_t TileService::bytesDownloaded() const {
    return request_.session().bytesDownloaded();
}

void TileService::onCancel() {
    conversionCancel_.store(true, std::memory_order_release);
}

void TileService::checkOnce() {
    updateTemplates();
}

void TileService::updateTemplates() {
    if (!cache_.settings().downloadUrl() || updater_.done()) return;
    const auto fetch = [this](const std::string& url) -> std::optional<std::string> {
        if (request_.request(url, HttpSession::kTileSlot) != HttpRequest::kOk) return std::nullopt;
        const auto body = request_.body();
        return std::string(reinterpret_cast<const char*>(body.data()), body.size());
    };
    // A failed update is no failure of the service: the templates it has still serve.
    if (updater_.runOnce(cache_.sources(), tickMilliseconds(ticker()), fetch)) {
        cache_.markChanged();
        setMessage(u"Tile sources updated");
    }
}

int TileService::currentSource() const {
    const int shown = view().displayedSource;
    return isTileSource(shown) ? shown : cache_.sources().displayedSource;
}

// The spiral follows the view; after a restart the maximum level is back at the top,
// so the level is worked out again with it.
bool TileService::placeView() {
    const TileViewInput input = view();
    const int source = currentSource();
    if (!input.placed || !isTileSource(source)) return false;
    const auto viewAt = [&](int maxLevel) {
        return spiralView(input.latitude, input.longitude, input.scale, input.width, input.height,
                          input.zoomFollows, source, maxLevel);
    };
    if (spiral_.follow(viewAt(spiral_.maxLevel()))) {
        spiral_.follow(viewAt(spiral_.maxLevel()));
        retry_.reset();
    }
    cache_.settings().maxLevel = spiral_.maxLevel();
    return true;
}

std::optional<TileSpiral::Candidate> TileService::nextCandidate() {
    const int source = spiral_.view().source;
    while (auto candidate = spiral_.next())
        if (!cache_.find(source, candidate->tile)) return candidate;
    return std::nullopt;
}

void TileService::run() {
    cache_.trim();
    if (!cancelRequested() && placeView()) {
        if (retry_) {
            const TileSpiral::Candidate again = *retry_;
            retry_.reset();
            take(again);
        } else if (spiral_.searching()) {
            probeCoarser();
        } else if (const auto candidate = nextCandidate()) {
            take(*candidate);
        } else {
            refreshExpired();
        }
    }
    cache_.updateCounters();
    work_.store(TileWork::Idle, std::memory_order_release);
}

// A centre without a tile starts the coarser-level search; a probe that finds one caps
// the spiral at its level.
void TileService::take(const TileSpiral::Candidate& candidate) {
    const int source = spiral_.view().source;
    if (cache_.find(source, candidate.tile)) return;
    const TileReport report =
        fetchTile(cache_.add(source, candidate.tile), candidate.step == TileSpiral::Step::Probe);
    if (report.outcome == Outcome::Failed || report.outcome == Outcome::Cancelled)
        retry_ = candidate;
    else if (candidate.step == TileSpiral::Step::Centre && report.outcome == Outcome::NoTile)
        spiral_.startCoarserSearch();
    else if (candidate.step == TileSpiral::Step::Probe && report.outcome == Outcome::Cached)
        spiral_.capAt(candidate.tile.level);
}

// One probe per run; levels whose centre tile is known to be missing are passed over
// in the same run, a level whose centre tile is cached caps the spiral at once.
void TileService::probeCoarser() {
    const int source = spiral_.view().source;
    while (const auto probe = spiral_.nextProbe()) {
        const Tile* held = cache_.find(source, probe->tile);
        if (!held) {
            take(*probe);
            return;
        }
        if (held->inCache()) {
            spiral_.capAt(probe->tile.level);
            return;
        }
    }
    spiral_.endSearch();
}

// Learns the placeholder of the base's source and, for an overlay source, of its own
// overlay template. A probe answered "no tile" (servers without level 21 say 404)
// counts as learned: no placeholder then, and the probe is not asked again.
bool TileService::learnSignatures(int source, int baseSource) {
    auto& signatures = cache_.signatures();
    if (isTileSource(baseSource) && !signatures[baseSource].learned()) {
        const TileUrls urls = urls_.build(kSignatureProbe, baseSource, cache_.sources());
        if (learnSignature(baseSource, urls.base) != HttpRequest::kOk) return false;
    }
    if (isOverlaySource(source) && !signatures[source].learned()) {
        const TileUrls urls = urls_.build(kSignatureProbe, source, cache_.sources());
        if (learnSignature(source, urls.overlay) != HttpRequest::kOk) return false;
    }
    return true;
}

int TileService::learnSignature(int source, const std::string& url) {
    const int error = request_.request(url, HttpSession::kTileSlot);
    if (error == HttpRequest::kOk)
        cache_.signatures()[source] = signatureOf(request_.body());
    else if (error == HttpRequest::kNoTile)
        cache_.signatures()[source] = signatureOf({});
    else
        return error;
    return HttpRequest::kOk;
}

// The base into slot 0, classified against its source's placeholder and saved to the
// scratch file; then the overlay, classified against the tile's own source. An
// overlay that fails leaves the tile without one.
int TileService::download(Tile& tile, Download& result, bool conditional) {
    updateTemplates();
    if (cancelRequested()) return HttpRequest::kCancelled;
    const TileUrls urls = urls_.build(tile.address, tile.source, cache_.sources());
    tile.baseSource = urls.baseSource;
    if (!learnSignatures(tile.source, urls.baseSource)) return request_.error();
    const ConversionFiles files = scratchFiles(dataFolder_, cache_.cachePath(tile));
    if (conditional) request_.setConditions({tile.validators.lastModified, tile.validators.etag});
    int error = request_.request(urls.base, HttpSession::kTileSlot);
    result.bytes += static_cast<std::int64_t>(request_.length());
    if (error == HttpRequest::kOk && request_.notModified()) {
        result.notModified = true;
        return error;
    }
    if (error == HttpRequest::kOk) {
        tile.baseType = classify(request_.body(), cache_.signatures()[urls.baseSource]);
        if (tile.baseType == TileType::None) {
            request_.setError(HttpRequest::kNoTile);
            error = HttpRequest::kNoTile;
        }
    }
    tile.baseResult = error;
    if (error != HttpRequest::kOk) return error;
    const auto& answer = request_.answer().validators;
    tile.validators = {answer.etag, answer.lastModified};
    result.saved = request_.saveBody(files.base);
    tile.flags &= ~tileflag::kHasOverlay;
    tile.overlayType = TileType::None;
    if (!urls.overlay.empty()) downloadOverlay(tile, urls.overlay, files, result);
    return cancelRequested() ? HttpRequest::kCancelled : HttpRequest::kOk;
}

void TileService::downloadOverlay(Tile& tile, const std::string& url, const ConversionFiles& files,
                                  Download& result) {
    int error = request_.request(url, HttpSession::kTileSlot);
    result.bytes += static_cast<std::int64_t>(request_.length());
    // Only a PNG has the alpha that the blend needs.
    if (error == HttpRequest::kOk &&
        classify(request_.body(), cache_.signatures()[tile.source]) != TileType::Png)
        error = HttpRequest::kNoTile;
    tile.overlayResult = error;
    result.overlayError = error;
    if (error != HttpRequest::kOk || !request_.saveBody(files.overlay)) return;
    tile.overlayType = TileType::Png;
    tile.flags |= tileflag::kHasOverlay;
}

ConversionResult TileService::convert(Tile& tile) {
    const ConversionFiles files = scratchFiles(dataFolder_, cache_.cachePath(tile));
    // Cleared before the bit is looked at: a cancel in between still reaches it.
    conversionCancel_.store(false, std::memory_order_release);
    if (cancelRequested()) conversionCancel_.store(true, std::memory_order_release);
    tile.flags |= tileflag::kConverting;
    const ConversionResult result = convertTileInBackground(tile, files, conversionCancel_);
    tile.flags &= ~tileflag::kConverting;
    return result;
}

TileReport TileService::fetchTile(Tile& tile, bool probe) {
    TileReport report;
    report.address = tile.address;
    report.source = tile.source;
    report.probe = probe;
    work_.store(TileWork::Downloading, std::memory_order_release);
    Download result;
    report.error = download(tile, result, false);
    report.bytes = result.bytes;
    if (report.error == HttpRequest::kOk && !result.saved) report.error = HttpRequest::kReadFailed;
    if (report.error == HttpRequest::kOk) {
        work_.store(TileWork::Converting, std::memory_order_release);
        const ConversionResult converted = convert(tile);
        report.outcome = outcomeOf(converted);
        if (converted == ConversionResult::Done) {
            cache_.showTile(tile);
            cache_.markChanged();
            report.path = cache_.cachePath(tile);
        }
        if (converted == ConversionResult::Cancelled) report.error = HttpRequest::kCancelled;
        if (isFailure(result.overlayError)) report.error = result.overlayError;
    } else {
        report.outcome = report.error == HttpRequest::kNoTile      ? TileReport::Outcome::NoTile
                         : report.error == HttpRequest::kCancelled ? TileReport::Outcome::Cancelled
                                                                   : TileReport::Outcome::Failed;
    }
    if (!keepsTile(report.error) && !tile.inCache()) cache_.forget(tile);
    if (isFailure(report.error)) setLastResult(report.error);
    finish(report);
    return report;
}

// Among the expired tiles the one painted last, downloaded again while the run has
// made few requests; an unchanged or vanished tile keeps its file and gets a new
// stamp, so that it is not asked again before it expires once more.
void TileService::refreshExpired() {
    if (lastResult() != HttpRequest::kOk || requestsCompleted() > kRefreshRequestLimit) return;
    Tile* tile = cache_.expiredTile(currentDayNumber());
    if (!tile) return;
    TileReport report;
    report.address = tile->address;
    report.source = tile->source;
    work_.store(TileWork::Refreshing, std::memory_order_release);
    Download result;
    report.error = download(*tile, result, true);
    report.bytes = result.bytes;
    if (report.error == HttpRequest::kOk && !result.saved) report.error = HttpRequest::kReadFailed;
    if (report.error == HttpRequest::kOk && !result.notModified) {
        if (tile->map) tile->map->unload();
        work_.store(TileWork::RefreshConverting, std::memory_order_release);
        const ConversionResult converted = convert(*tile);
        report.outcome = converted == ConversionResult::Done ? TileReport::Outcome::Refreshed
                                                             : outcomeOf(converted);
        if (converted == ConversionResult::Cancelled) report.error = HttpRequest::kCancelled;
    } else if (report.error == HttpRequest::kOk || report.error == HttpRequest::kNoTile) {
        tile->stamp = currentDayNumber();
        report.outcome =
            result.notModified ? TileReport::Outcome::NotModified : TileReport::Outcome::NoTile;
    } else {
        report.outcome = report.error == HttpRequest::kCancelled ? TileReport::Outcome::Cancelled
                                                                 : TileReport::Outcome::Failed;
    }
    if (report.outcome != TileReport::Outcome::Failed &&
        report.outcome != TileReport::Outcome::Cancelled)
        cache_.markChanged();
    if (isFailure(report.error)) setLastResult(report.error);
    report.path = tile->inCache() ? cache_.cachePath(*tile) : std::string();
    finish(report);
}

void TileService::finish(const TileReport& report) {
    std::lock_guard lock(reportMutex_);
    lastReport_ = report;
    reports_.fetch_add(1, std::memory_order_acq_rel);
}

}  // namespace wendra::netmaps
