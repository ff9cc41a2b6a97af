#include "app/InternetMaps.h"

#include <thread>

#include "platform/Sync.h"
#include "records/Text.h"

namespace wendra {

namespace {
constexpr std::u16string_view kStartLabel = u".WndProc.3";
}

// The window's hold on the service while it changes what the worker reads.
class InternetMaps::BusyHold {
public:
    explicit BusyHold(InternetMaps& owner) : owner_(owner) { owner_.hold(true); }
    ~BusyHold() { owner_.hold(false); }
    BusyHold(const BusyHold&) = delete;
    BusyHold& operator=(const BusyHold&) = delete;

private:
    InternetMaps& owner_;
};

InternetMaps::InternetMaps(maps::MapCatalogue& catalogue, const std::string& dataFolder,
                           const HttpRequestFactory& makeRequest, InternetWorkerHooks hooks)
    : cache_(catalogue, settings_, sources_),
      store_(
          cache_, [this](bool on) { hold(on); },
          [this] { return service_ && service_->hasFlags(platform::InternetService::kBusy); }) {
    if (!makeRequest) return;
    request_ = makeRequest(session_);
    if (!request_) return;
    service_ = std::make_unique<netmaps::TileService>(cache_, *request_, dataFolder);
    manager_.add(*service_);
    hooks.programFolder = dataFolder;
    worker_ = std::make_unique<InternetWorker>(manager_, std::move(hooks));
}

InternetMaps::~InternetMaps() {
    if (!worker_) return;
    manager_.cancelAll();
    worker_.reset();  // waits for the thread
}

// The worker holds the lock for a whole run, which a stalled server stretches over
// three time-outs: rather than freeze the window that long, a run still going after
// a moment is cancelled, and what the cancel left is cleared before the lock goes back
// so that the worker asks that tile again in its next pass.
void InternetMaps::hold(bool on) {
    if (!service_) return;
    if (!on) {
        if (cutShort_) {
            cutShort_ = false;
            service_->clearFlags(platform::InternetService::kCancel);
            request_->clearCancel();
            service_->clearMessage();
            service_->setLastResult(platform::HttpRequest::kOk);
        }
        service_->unlockBusy();
        return;
    }
    const auto patience = std::chrono::steady_clock::now() + kRunPatience;
    while (!service_->tryLockBusy()) {
        if (std::chrono::steady_clock::now() >= patience) {
            service_->cancel();
            service_->lockBusy(kBusyLabel);
            cutShort_ = true;
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

std::pair<netmaps::TileSettings, netmaps::SourceSettings> InternetMaps::copySettings() {
    BusyHold busy(*this);
    return {settings_, sources_};
}

void InternetMaps::viewPainted(const netmaps::TileViewInput& view) {
    if (service_) service_->setView(view);
}

std::u16string InternetMaps::attribution(std::u16string_view group) const {
    return widen(sources_.attribution(netmaps::tileSourceByName(group)));
}

std::optional<int> InternetMaps::shownSource() const {
    if (!settings_.downloadMaps() || !netmaps::isTileSource(sources_.displayedSource))
        return std::nullopt;
    return sources_.displayedSource;
}

// Every map off, then the tiles of the displayed source on: the user's own maps and
// the other sources' tiles would otherwise cover them.
void InternetMaps::activateDisplayed() {
    maps::MapCatalogue& catalogue = cache_.catalogue();
    catalogue.pause(true);
    for (const maps::MapPtr& map : catalogue.maps()) map->setActive(false);
    for (const auto& tile : cache_.tiles())
        if (tile->map) tile->map->setActive(tile->source == sources_.displayedSource);
    catalogue.pause(false);
    catalogue.markChanged();  // the user's maps' active flags are the maps file's
}

void InternetMaps::takeSettings(const netmaps::TileSettings& settings,
                                const netmaps::SourceSettings& sources) {
    {
        BusyHold busy(*this);
        const std::string oldFolder = settings_.cacheFolder;
        const int maxLevel = settings_.maxLevel;
        settings_ = settings;
        settings_.maxLevel = maxLevel;
        sources_ = sources;
        sources_.normalise();
        if (settings_.cacheFolder.empty()) settings_.cacheFolder = oldFolder;
        if (settings_.cacheFolder != oldFolder) {
            settings_.cacheFolder = oldFolder;
            cache_.deleteCache(settings.cacheFolder.empty() ? oldFolder : settings.cacheFolder);
        }
        if (settings_.downloadMaps()) activateDisplayed();
        // Enabled again: a stop of "Disable this time" ends here.
        if (service_ && settings_.downloadMaps())
            service_->clearFlags(platform::InternetService::kStopped);
        cache_.markChanged();
    }
    afterChange();
}

void InternetMaps::deleteCache() {
    {
        BusyHold busy(*this);
        cache_.deleteCache();
        cache_.markChanged();
    }
    afterChange();
}

// The reset ends by releasing the busy lock, so it runs while the window holds it: a
// reset after letting go could release a lock the worker has taken since.
void InternetMaps::afterChange() {
    hold(true);
    cache_.forgetSignatures();
    cache_.forgetUncached();
    if (service_) {
        service_->setSettings(static_cast<std::uint32_t>(settings_.settingsFlags));
        service_->restartSpiral();
    }
    cutShort_ = false;  // the reset clears what a cut-short run left
    manager_.resetAll();
    startOrStop();
}

void InternetMaps::showSource(int source) {
    if (!sources_.active(source)) return;
    {
        BusyHold busy(*this);
        sources_.displayedSource = source;
        if (service_) service_->restartSpiral();
        activateDisplayed();
        cache_.markChanged();
    }
}

void InternetMaps::disable() {
    {
        BusyHold busy(*this);
        settings_.settingsFlags &= ~netmaps::tilesetting::kDownloadMaps;
        if (service_) service_->setSettings(static_cast<std::uint32_t>(settings_.settingsFlags));
        cache_.markChanged();
    }
    startOrStop();
}

void InternetMaps::disableThisTime() {
    if (!service_) return;
    service_->setFlags(platform::InternetService::kStopped);
    startOrStop();
}

void InternetMaps::startOrStop() {
    if (!worker_) return;
    service_->setSettings(static_cast<std::uint32_t>(settings_.settingsFlags));
    if (!manager_.refreshAll()) {
        worker_->requestStop();
        return;
    }
    if (worker_->running()) return;
    worker_->launch();
    platform::waitFor([this] { return worker_->running(); }, kStartLabel);
}

InternetCounters InternetMaps::counters() const {
    InternetCounters counters;
    counters.sessionTiles = session_.requestsCompleted();
    counters.sessionBytes = session_.bytesDownloaded();
    counters.cachedTiles = cache_.cachedTiles();
    counters.cachedBytes = cache_.cachedBytes();
    return counters;
}

}  // namespace wendra
