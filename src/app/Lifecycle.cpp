#include "app/Lifecycle.h"

#include <algorithm>
#include <filesystem>
#include <functional>
#include <new>
#include <thread>

#include "app/AppFlags.h"
#include "app/AppMessages.h"
#include "app/AppShell.h"
#include "app/AppState.h"
#include "app/GpsSettingsFlow.h"
#include "app/KeyCommands.h"
#include "app/KeyTable.h"
#include "app/MainView.h"
#include "app/ScreenServices.h"
#include "app/StartupDialog.h"
#include "app/TimerService.h"
#include "platform/MessageBox.h"
#include "platform/TraceLog.h"
#include "platform/Window.h"
#include "points/IconList.h"
#include "records/RecordFile.h"
#include "track/TrackFolders.h"
#include "track/TrackStartup.h"

namespace wendra {

namespace {

constexpr std::u16string_view kStatusOkButton = u"Button OK\nto display main menu";
constexpr std::u16string_view kStatusClick = u"Click on screen\nto display main menu";

// Every folder on the way to the journal; a failure shows when the journal is written.
void createJournalFolder(const std::string& dataFolder) {
    std::error_code error;
    std::filesystem::create_directories(TrackFolders::inDataFolder(dataFolder).journal, error);
}

// "Saving track..." and the like are the status banner's, shown while the file is read
// or written and taken away after; the status text (the start-up hint, the alerts)
// stays as it is. The banner waits for the window thread, which may itself be waiting
// for the GPS reader to stop: the reader's one store (a new track after a long gap)
// goes without it. Call on the window thread.
std::function<void(std::u16string_view)> bannerOfTheWindowThread(StatusBanner& banner) {
    return [&banner, windowThread = std::this_thread::get_id()](std::u16string_view text) {
        if (std::this_thread::get_id() != windowThread) return;
        if (text.empty())
            banner.hide();
        else
            banner.show(text);
    };
}

}  // namespace

Lifecycle::Lifecycle(const ApplicationServices& services, platform::LockWord& flags,
                     TimerService& timers, AppShell& shell)
    : services_(services), flags_(flags), timers_(timers), shell_(shell) {}

Lifecycle::~Lifecycle() = default;

void Lifecycle::begin(platform::Window& window) {
    window_ = &window;
    flags_.clear(~0u);
    flags_.set(AppFlag::kStartupNotFinished);
    const DisplayMetrics metrics = DisplayMetrics::of(window.clientSize());
    try {
        state_ = std::make_unique<AppState>(services_.dataFolder, services_.recordsFolder,
                                            *services_.ports, *services_.radio);
    } catch (const std::bad_alloc&) {
        platform::showMessage(u".Memory Error #0703#", u".Error", platform::Buttons::Ok,
                              platform::Icon::Error);
        return;
    }
    AppState& state = *state_;
    state.metrics = metrics;
    if (services_.afterConfigLoad) state.configStore.setAfterLoad(services_.afterConfigLoad);
    createJournalFolder(services_.dataFolder);
    // Saves cut short by a kill left their half-written files beside the real ones.
    sweepLeftoverTemporaries(services_.dataFolder);
    sweepLeftoverTemporaries(TrackFolders::inDataFolder(services_.dataFolder).journal);
    platform::traceLog().start(services_.dataFolder);
    state.trackFiles.hooks.showStatus = bannerOfTheWindowThread(state.banner);
    view_ = std::make_unique<MainView>(state);
    screen_ = std::make_unique<ScreenServices>(services_, state, timers_, window, shell_);
    gps_ = std::make_unique<GpsSettingsFlow>(services_, state, shell_, *screen_);
    commands_ = std::make_unique<KeyCommands>(state, shell_, *gps_, *screen_, window,
                                              services_.startupDialogTime);
    state.bridge.attach(&window);
    state.mapShell.attachWindow(&window);
    state.mapShell.attachScreen(&screen_->screen());
    makeInternetMaps();
    window.post(AppMessage::kStartupContinuation);
}

void Lifecycle::continueStartup() {
    timers_.start();
    screen_->startPowerThread();
    runStartupDialog();
    screen_->applyPowerOptions();
    loadTrackAtStartup();
    view_->takeStoredCentre();
    gps_->start(SerialPort::Attempts::Normal);

    timers_.set(window_, AppTimer::kRepaint, AppPeriod::kRepaint);
    timers_.set(window_, AppTimer::kPeriodicRedraw, AppPeriod::kPeriodicRedraw);
    timers_.set(window_, AppTimer::kButtonBarHide, AppPeriod::kButtonBarHide);

    drawView();
    const bool okShowsMenu = state_->config.keys.action(0, Slot::kButtonOk) == Action::kMainMenu;
    shell_.showStatusText(std::u16string(okShowsMenu ? kStatusOkButton : kStatusClick));

    startMapManager();
    if (services_.internetWorker)
        startWorker(services_.internetWorker, u".WndProc.3");
    else
        state_->internet->startOrStop();
    flags_.set(AppFlag::kStartupComplete);
}

// The data files load while the dialog shows; what they hold reaches the parts that
// keep their own copies.
void Lifecycle::runStartupDialog() {
    AppState& state = *state_;
    auto load = [this, &state] {
        state.icons.load(std::filesystem::path(services_.dataFolder) / points::kIconsFolderName,
                         state.metrics.pixelMultiplier);
        state.dataFiles.loadAll();
        flags_.clear(AppFlag::kStartupNotFinished);
        state.track.settings = state.config.track;
        state.statistics.setClimbWindow(state.config.track.climbWindow);
        state.trackFiles.oldSavingFormat =
            state.config.global.has(ProgramOptions::kOldSavingFormat);
        state.parser.setFlags(state.config.nmea.flags);
        state.parser.setCorrection(state.config.nmea.correction);
        state.bridge.setNoFixSound(state.config.global.noFixSound);
        state.maps.setBudgetMiB(
            static_cast<std::uint32_t>(std::max(0, state.config.global.mapMemoryMb)));
    };
    StartupDialog dialog(load, services_.startupDialogTime);
    shell_.runModalDialog(StartupDialog::dialogTemplate(), dialog);
    if (!dialog.loaded()) load();  // no dialog could be shown
}

void Lifecycle::loadTrackAtStartup() {
    const StartupOutcome outcome = startupLoad(state_->trackFiles, services_.trackLoadPause);
    state_->handOver.recoveryPending.store(outcome.recoveryPending);
}

void Lifecycle::drawView() {
    if (state_ && window_) view_->draw(window_->backBuffer(), false);
}

void Lifecycle::startWorker(BackgroundWorker* worker, std::u16string_view label) {
    if (!worker) return;
    worker->launch();
    platform::waitFor([worker] { return worker->running(); }, label);
}

void Lifecycle::stopWorker(BackgroundWorker* worker, std::u16string_view label) {
    if (!worker) return;
    worker->requestStop();
    platform::waitFor([worker] { return !worker->running(); }, label);
}

// The tile cache index loads with the other data files, so the maps exist first.
void Lifecycle::makeInternetMaps() {
    AppState& state = *state_;
    InternetWorkerHooks hooks;
    hooks.screenOff = [&state] { return state.mapShell.screenOff(); };
    hooks.notice = [&state](const std::u16string& text) { state.bridge.showStatus(text); };
    state.internet = std::make_unique<InternetMaps>(
        state.maps, services_.dataFolder,
        services_.internetWorker ? HttpRequestFactory{} : services_.makeHttpRequest,
        std::move(hooks));
    state.dataFiles.attach(DataFile::Cache, state.internet->store());
}

// A request in progress is cancelled, so that the worker ends within its poll.
void Lifecycle::stopInternetWorker() {
    BackgroundWorker* worker =
        services_.internetWorker ? services_.internetWorker : state_->internet->worker();
    if (!worker || !worker->running()) return;
    state_->banner.show(u"Closing Internet...");
    if (!services_.internetWorker) state_->internet->cancelWork();
    stopWorker(worker, u".WndProc.Internet");
    state_->banner.hide();
}

// The map manager is the map image worker, unless the services bring their own.
void Lifecycle::startMapManager() {
    if (services_.mapWorker)
        startWorker(services_.mapWorker, u".WndProc.2");
    else
        state_->mapManager.start(u".WndProc.2");
}

// After it has stopped, loads that are still ending find no manager to ask for a pass.
void Lifecycle::stopMapManager() {
    if (services_.mapWorker) {
        services_.mapWorker->request(BackgroundWorker::kStop);
        stopWorker(services_.mapWorker, u".WndProc.LoadBmp");
    } else {
        state_->mapManager.stop(u".WndProc.LoadBmp");
    }
    state_->mapShell.attachManager(nullptr);
}

void Lifecycle::shutdown() {
    if (!state_) return;
    timers_.stop();
    screen_->stopPowerThread();
    gps_->close();
    stopInternetWorker();
    stopMapManager();
    gps_->takeReaderSettings();
    // The view stored is the one the last fixes place, so that the next start, which
    // places the view over the same track, finds it where it was left.
    view_->update();
    state_->dataFiles.saveChanged(true);
    shutdownSave(state_->trackFiles);
    state_->bridge.attach(nullptr);
    state_->mapShell.attachWindow(nullptr);
    state_->mapShell.attachScreen(nullptr);
    commands_.reset();
    gps_.reset();
    view_.reset();
    screen_->releaseBacklight();
    screen_.reset();
    state_.reset();
    platform::traceLog().write("Closed");
}

}  // namespace wendra
