// Start-up and shut-down of the main window, in their fixed orders.

#include <filesystem>
#include <functional>
#include <new>
#include <thread>

#include "app/AppMessages.h"
#include "app/Application.h"
#include "app/MainView.h"
#include "app/PowerThread.h"
#include "app/ScreenPower.h"
#include "app/StartupDialog.h"
#include "platform/MessageBox.h"
#include "platform/Sync.h"
#include "platform/TraceLog.h"
#include "platform/Window.h"
#include "records/RecordFile.h"
#include "track/TrackFolders.h"
#include "track/TrackStartup.h"

namespace wendra {

namespace {

constexpr std::u16string_view kStatusOkButton = u"Button OK\nto display main menu";
constexpr std::u16string_view kStatusClick = u"Click on screen\nto display main menu";
constexpr int kMainMenuAction = 3;

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

void Application::earlyStartup() {
    flags_.clear(~0u);
    flags_.set(AppFlag::kStartupNotFinished);
    const DisplayMetrics metrics = DisplayMetrics::of(window_->clientSize());
    try {
        state_ = std::make_unique<AppState>(services_.dataFolder, services_.recordsFolder,
                                            *services_.ports, *services_.radio);
    } catch (const std::bad_alloc&) {
        platform::showMessage(u".Memory Error #0703#", u".Error", platform::Buttons::Ok,
                              platform::Icon::Error);
        return;
    }
    state_->metrics = metrics;
    if (services_.afterConfigLoad) state_->configStore.setAfterLoad(services_.afterConfigLoad);
    createJournalFolder(services_.dataFolder);
    // Saves cut short by a kill left their half-written files beside the real ones.
    sweepLeftoverTemporaries(services_.dataFolder);
    sweepLeftoverTemporaries(TrackFolders::inDataFolder(services_.dataFolder).journal);
    platform::traceLog().start(services_.dataFolder);
    state_->trackFiles.hooks.showStatus = bannerOfTheWindowThread(state_->banner);
    view_ = std::make_unique<MainView>(*state_);
    createScreenServices();
    state_->bridge.attach(window_);
    window_->post(AppMessage::kStartupContinuation);
}

void Application::startupContinuation() {
    if (!state_) return;
    timers_.start();
    power_->start();
    runStartupDialog();
    applyPowerOptions();
    loadTrackAtStartup();
    view_->takeStoredCentre();
    startGps(SerialPort::Attempts::Normal);

    armTimer(AppTimer::kRepaint, AppPeriod::kRepaint);
    armTimer(AppTimer::kPeriodicRedraw, AppPeriod::kPeriodicRedraw);
    armTimer(AppTimer::kButtonBarHide, AppPeriod::kButtonBarHide);

    drawView();
    const bool okShowsMenu = state_->config.keys.action(0, 0) == kMainMenuAction;
    showStatusText(std::u16string(okShowsMenu ? kStatusOkButton : kStatusClick));

    startWorker(services_.mapWorker, u".WndProc.2");
    startWorker(services_.internetWorker, u".WndProc.3");
    flags_.set(AppFlag::kStartupComplete);
    applyFullScreen();
    requestRepaint();
    closeIfPending();
}

// The data files load while the dialog shows; what they hold reaches the parts that
// keep their own copies.
void Application::runStartupDialog() {
    AppState& state = *state_;
    auto load = [this, &state] {
        state.dataFiles.loadAll();
        flags_.clear(AppFlag::kStartupNotFinished);
        state.track.settings = state.config.track;
        state.statistics.setClimbWindow(state.config.track.climbWindow);
        state.trackFiles.oldSavingFormat =
            state.config.global.has(ProgramOptions::kOldSavingFormat);
        state.parser.setFlags(state.config.nmea.flags);
        state.parser.setCorrection(state.config.nmea.correction);
        state.bridge.setNoFixSound(state.config.global.noFixSound);
    };
    StartupDialog dialog(load, services_.startupDialogTime);
    const platform::DialogTemplate startupTemplate = StartupDialog::dialogTemplate();
    runModalDialog(startupTemplate, nullptr, dialog);
    if (!dialog.loaded()) load();  // no dialog could be shown
}

void Application::loadTrackAtStartup() {
    const StartupOutcome outcome = startupLoad(state_->trackFiles, services_.trackLoadPause);
    state_->handOver.recoveryPending.store(outcome.recoveryPending);
}

void Application::startGps(SerialPort::Attempts attempts) {
    AppState& state = *state_;
    state.port.close();
    takeReaderSettings();  // the stopped reader's last answers, before they are copied back
    state.port.settings() = state.config.serial;
    state.parser.allowClockSetting(services_.receiverSetsClock);
    if (services_.portOverride) services_.portOverride(state.port.settings());
    state.port.start(attempts);
}

void Application::startWorker(BackgroundWorker* worker, std::u16string_view label) {
    if (!worker) return;
    worker->launch();
    platform::waitFor([worker] { return worker->running(); }, label);
}

void Application::stopWorker(BackgroundWorker* worker, std::u16string_view label) {
    if (!worker) return;
    worker->requestStop();
    platform::waitFor([worker] { return !worker->running(); }, label);
}

void Application::shutdown() {
    timers_.stop();
    power_->stop();
    AppState& state = *state_;
    state.port.close();
    stopWorker(services_.internetWorker, u".WndProc.Internet");
    if (services_.mapWorker) services_.mapWorker->request(BackgroundWorker::kStop);
    stopWorker(services_.mapWorker, u".WndProc.LoadBmp");
    takeReaderSettings();
    saveChangedFiles(true);
    shutdownSave(state.trackFiles);
    state.bridge.attach(nullptr);
    view_.reset();
    screen_->releaseBacklight();
    power_.reset();
    screen_.reset();
    state_.reset();
    platform::traceLog().write("Closed");
}

}  // namespace wendra
