// The application in its real window (Qt's offscreen platform): start-up, a replayed
// receiver recorded into the track, shut-down and the next start.

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <memory>

#include "QtTestApplication.h"
#include "app/Application.h"
#include "app/ConfigFolders.h"
#include "app/ConfigurationStore.h"
#include "app/DataFiles.h"
#include "app/KeyTable.h"
#include "app/MainMenu.h"
#include "app/MainView.h"
#include "app/MapGroupDialog.h"
#include "app/ToolsMenu.h"
#include "gps/ReplayPlayer.h"
#include "maps/MapCatalogue.h"
#include "maps/MapShell.h"
#include "maps/MapsFile.h"
#include "maps/OziMapImport.h"
#include "netmaps/SourceRecords.h"
#include "netmaps/TileImages.h"
#include "platform/StatusBanner.h"
#include "platform/Sync.h"
#include "platform/TraceLog.h"
#include "platform/linux/CurlHttp.h"
#include "platform/linux/LinuxSerialPorts.h"
#include "platform/linux/PseudoTerminal.h"
#include "platform/qt/QtWindow.h"
#include "points/PointDialog.h"
#include "points/PointsFile.h"
#include "records/Text.h"
#include "support/FakeClock.h"
#include "support/FakeVoiceRecorder.h"
#include "support/LoopbackHttpServer.h"
#include "support/ScriptedDialogHost.h"
#include "support/ScriptedMessageBoxes.h"
#include "support/TestPaths.h"
#include "track/FixJournal.h"
#include "track/StatisticsScreen.h"
#include "track/TrackFiles.h"
#include "track/TrackPoint.h"
#include "view/ViewGeometry.h"
#include "view/ViewModes.h"

namespace wendra {
namespace {

using std::chrono::milliseconds;
using std::chrono::seconds;

constexpr int kReplaySlot = 9;
constexpr int kSecondAppKey = Slot::kApplicationKey1 + 1;

class NoRadio final : public platform::BluetoothRadio {
public:
    bool available() override { return false; }
    int mode() override { return kUnknown; }
    bool setMode(int) override { return false; }
};

// A map worker that never comes up.
class SilentWorker final : public BackgroundWorker {
public:
    void launch() override { ++launches; }
    bool running() const override { return false; }
    void requestStop() override {}
    void request(int) override {}
    int launches = 0;
};

std::string demoLog() {
    return test::readFile(test::testData().parent_path().parent_path() / "data" / "demo.nmea");
}

// One run of the program on a data folder: the application in its window, the
// receiver a replayed log on COM9:.
class ProgramRun {
public:
    ProgramRun(const std::filesystem::path& home, std::optional<std::string> log,
               BackgroundWorker* mapWorker = nullptr, bool receiverSetsClock = false,
               bool withHttp = false)
        : ports_(home) {
        if (log) {
            replay_ = std::make_unique<ReplayPlayer>(std::make_unique<platform::PseudoTerminal>(),
                                                     std::make_unique<TextReplay>(*log),
                                                     ReplayPlayer::Options{200.0, false});
            std::string error;
            EXPECT_TRUE(replay_->start(error)) << error;
            ports_.overrideSlot(kReplaySlot, replay_->path(), "replay");
        }
        ApplicationServices services;
        services.dataFolder = home.string();
        services.ports = &ports_;
        services.radio = &radio_;
        services.mapWorker = mapWorker;
        services.startupDialogTime = milliseconds(0);
        services.trackLoadPause = milliseconds(0);
        services.receiverSetsClock = receiverSetsClock;
        if (withHttp)
            services.makeHttpRequest = [](platform::HttpSession& session) {
                return std::make_unique<platform::CurlHttp>(session);
            };
        if (log) {
            services.portOverride = [](SerialSettings& serial) { serial.portId = kReplaySlot; };
            services.afterConfigLoad = [](Configuration& config) {
                config.serial.options &= ~SerialOptions::kDeactivated;
            };
        }
        application_ = std::make_unique<Application>(std::move(services));
        window_ = std::make_unique<platform::qt::QtWindow>(*application_, platform::Size{480, 320});
        window_->show();
    }
    ~ProgramRun() {
        if (!application_->shutDown()) close();
        if (replay_) replay_->stop();
    }

    bool waitFor(const std::function<bool()>& done, seconds limit = seconds(30)) {
        test::processEventsFor(limit, done);
        return done();
    }
    bool started() {
        return waitFor([this] { return application_->startupComplete(); });
    }
    int mainPoints() {
        AppState* state = application_->state();
        if (!state) return -1;
        TrackLock::Hold hold(state->track.lock(), u".Test");  // the reader appends meanwhile
        return state->track.main().count();
    }
    void close() {
        window_->close();
        waitFor([this] { return application_->shutDown(); });
    }

    Application& application() { return *application_; }
    platform::qt::QtWindow& window() { return *window_; }

private:
    platform::LinuxSerialPorts ports_;
    NoRadio radio_;
    std::unique_ptr<ReplayPlayer> replay_;
    std::unique_ptr<Application> application_;
    std::unique_ptr<platform::qt::QtWindow> window_;
};

// A window started on a fresh folder with no receiver.
class WindowWithoutReceiver : public ::testing::Test {
protected:
    test::TempDir home;
    test::ScriptedMessageBoxes boxes;
    ProgramRun run{home.path(), std::nullopt};
};

long long fileSize(const std::filesystem::path& path) {
    std::error_code error;
    const auto size = std::filesystem::file_size(path, error);
    return error ? -1 : static_cast<long long>(size);
}

TEST(ApplicationWindow, RecordsTheReplayedReceiverAndKeepsTheTrackAcrossARestart) {
    test::TempDir home;
    test::ScriptedMessageBoxes boxes;
    int recorded = 0;
    {
        ProgramRun run(home.path(), demoLog());
        ASSERT_TRUE(run.started());
        ASSERT_TRUE(run.waitFor([&] { return run.mainPoints() >= 20; }))
            << "points: " << run.mainPoints();
        EXPECT_GT(fileSize(home / "journal/WendraTrc.raw"), 0)
            << "fixes are journaled as they come";
        recorded = run.mainPoints();
        run.close();
        EXPECT_EQ(run.mainPoints(), -1) << "the state goes with the window";
    }
    ASSERT_GT(recorded, 0);
    EXPECT_GT(fileSize(home / "Wendra0.trc"), 10);
    EXPECT_LE(fileSize(home / "journal/WendraTrc.raw"), 0) << "a clean shut-down leaves no journal";
    EXPECT_GT(fileSize(home / "Wendra.ini"), 0);
    EXPECT_TRUE(boxes.shown().empty()) << "a first start asks nothing";

    // The default delete mode asks whether to go on with the stored track.
    boxes.answer(platform::Answer::Yes);
    ProgramRun again(home.path(), std::nullopt);
    ASSERT_TRUE(again.started());
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].text, u"Do you want to continue previous track?");
    EXPECT_GE(again.mainPoints(), recorded);
    // The replay's port is not saved as the user's: COM0 stays.
    EXPECT_EQ(again.application().state()->config.serial.portId, 0);
}

// A close that comes before start-up has loaded the files must not save defaults and
// empty layers over them: it waits for start-up, then shuts down as usual.
TEST(ApplicationWindow, ACloseDuringStartUpWaitsAndLosesNothing) {
    test::TempDir home;
    test::ScriptedMessageBoxes boxes;
    {
        ProgramRun run(home.path(), demoLog());
        ASSERT_TRUE(run.started());
        ASSERT_TRUE(run.waitFor([&] { return run.mainPoints() >= 10; }));
    }
    const long long stored = fileSize(home / "Wendra0.trc");
    const std::string config = test::readFile(home / "Wendra.ini");
    ASSERT_GT(stored, 10);

    boxes.answer(platform::Answer::Yes);
    ProgramRun early(home.path(), std::nullopt);
    EXPECT_FALSE(early.application().closeRequested()) << "start-up has not run yet";
    ASSERT_TRUE(early.waitFor([&] { return early.application().shutDown(); }))
        << "the close is carried out once start-up is done";
    EXPECT_EQ(fileSize(home / "Wendra0.trc"), stored);
    EXPECT_EQ(test::readFile(home / "Wendra.ini"), config);
}

// "Old saving format" (bit 0x80 of the options word in Global4) reaches the track
// files: the layers are stored as text lines, no longer in the binary form.
TEST(ApplicationWindow, TheOldSavingFormatStoresTheLayersAsText) {
    test::TempDir home;
    test::ScriptedMessageBoxes boxes;
    test::writeFile(home / "Wendra.ini", "Global4|132|0|0||\n");
    const std::filesystem::path golden = test::testData() / "track";
    std::filesystem::copy_file(golden / "points-v1.trc", home / "Wendra1.trc");
    {
        ProgramRun run(home.path(), std::nullopt);
        ASSERT_TRUE(run.started());
        run.close();
    }
    EXPECT_EQ(test::readFile(home / "Wendra1.trc"), test::readFile(golden / "points-trc5.wdt"));
}

// With "Update time" on, only a real receiver sets the clock: a replayed log would set
// it to the day it was recorded. Either way the correction the parser learns from the
// receiver (48.7 m in the demo log) is saved.
TEST(ApplicationWindow, OnlyARealReceiverSetsTheClockAndTheLearntCorrectionIsSaved) {
    struct Case {
        const char* legend;
        bool realReceiver;
    };
    const Case cases[] = {{"a replayed log", false}, {"a real receiver", true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.legend);
        test::TempDir home;
        test::ScriptedMessageBoxes boxes;
        test::writeFile(home / "Wendra.ini", "NMEA2|44|48.0|\n");
        test::FakeClock clock;
        clock.allowSetting = false;  // records the attempts only: the reader makes them
        platform::ScopedClock scope(clock);
        {
            ProgramRun run(home.path(), demoLog(), nullptr, c.realReceiver);
            ASSERT_TRUE(run.started());
            ASSERT_TRUE(run.waitFor([&] { return run.mainPoints() >= 5; }));
            run.close();
        }
        EXPECT_EQ(clock.settings.empty(), !c.realReceiver);
        const std::string saved = test::readFile(home / "Wendra.ini");
        EXPECT_NE(saved.find("NMEA2|44|48.7|\n"), std::string::npos) << saved;
    }
}

std::string firstLines(const std::string& text, int lines) {
    std::size_t at = 0;
    for (int i = 0; i < lines && at != std::string::npos; ++i) {
        at = text.find('\n', at);
        if (at != std::string::npos) ++at;
    }
    return text.substr(0, at);
}

bool breadcrumbSeen(const std::string& note) {
    for (const std::string& crumb : platform::traceLog().breadcrumbs())
        if (crumb == note) return true;
    return false;
}

// The receiver falls silent: the reader tells the window, which shows the alert and
// reopens the port on the reader's request (message 40001).
TEST(ApplicationWindow, ASilentReceiverIsReportedAndReconnected) {
    test::TempDir home;
    test::ScriptedMessageBoxes boxes;
    ProgramRun run(home.path(), firstLines(demoLog(), 140));  // 20 s of the walk, then silence
    ASSERT_TRUE(run.started());
    ASSERT_TRUE(run.waitFor([&] { return run.mainPoints() >= 2; }));
    ASSERT_TRUE(
        run.waitFor([&] { return run.application().state()->statusText == u"Alert: No signal!"; },
                    seconds(40)));
    EXPECT_TRUE(run.waitFor([&] { return breadcrumbSeen("Msg 40001 0"); }, seconds(10)))
        << "the reconnect request reached the window";
}

// Keys reach their slot's bindings: the application keys are "Display button" by
// default, and a soft key bound to it names itself.
TEST_F(WindowWithoutReceiver, KeysRunTheActionsBoundToTheirSlots) {
    ASSERT_TRUE(run.started());
    Application& application = run.application();
    const auto statusIs = [&](std::u16string_view text) {
        return run.waitFor([&] { return application.state()->statusText == text; }, seconds(5));
    };
    application.hotKey(keyCode(Slot::kApplicationKey1));
    EXPECT_TRUE(statusIs(u"Key application 1"));
    application.state()->config.keys.bind(0, Slot::kSoftkeyRight, Action::kDisplayButton);
    application.state()->config.keys.bind(0, Slot::kSoftkeyLeft, Action::kDisplayButton);
    application.softKey(platform::SoftKey::Right);
    EXPECT_TRUE(statusIs(u"Softkey Right"));
    application.softKey(platform::SoftKey::Left);
    EXPECT_TRUE(statusIs(u"Softkey Left"));
    // Recording on and off, with the program's own words.
    application.state()->config.keys.bind(0, kSecondAppKey, Action::kToggleTrack);
    application.hotKey(keyCode(kSecondAppKey));
    EXPECT_TRUE(statusIs(u"Track: Deactivated"));
}

// A key tries its sets in order: an action that does not apply here hands the key to
// the next set, while "Do nothing" ends the search.
TEST_F(WindowWithoutReceiver, AKeyTriesItsSetsInOrderUntilOneApplies) {
    ASSERT_TRUE(run.started());
    Application& application = run.application();
    const auto statusIs = [&](std::u16string_view text) {
        return run.waitFor([&] { return application.state()->statusText == text; }, seconds(5));
    };
    KeyBindings& keys = application.state()->config.keys;
    const int third = Slot::kApplicationKey1 + 2;
    // No route is navigated, so "Next point (of the route)" does not apply.
    keys.bind(0, third, Action::kNextRoutePoint);
    keys.bind(1, third, Action::kDisplayButton);
    application.hotKey(keyCode(third));
    EXPECT_TRUE(statusIs(u"Key application 3"));

    keys.bind(0, third, Action::kDoNothing);
    keys.bind(1, third, Action::kToggleTrack);
    const bool recording = application.state()->track.settings.recordTrack;
    application.hotKey(keyCode(third));
    // The fourth key names itself once both keys were handled, in order.
    application.hotKey(keyCode(Slot::kApplicationKey1 + 3));
    ASSERT_TRUE(statusIs(u"Key application 4"));
    EXPECT_EQ(application.state()->track.settings.recordTrack, recording) << "set 1 was tried";
}

TEST_F(WindowWithoutReceiver, PaintsTheViewOnceStartedAndClearsTheStatusText) {
    ASSERT_TRUE(run.started());
    EXPECT_EQ(run.application().state()->statusText, u"Button OK\nto display main menu");
    // Start-up complete means painting is allowed: a repaint draws the back buffer.
    ASSERT_TRUE(
        run.waitFor([&] { return !run.application().flags().test(AppFlag::kRepaintPending); }));
    ASSERT_TRUE(
        run.waitFor([&] { return run.application().state()->statusText.empty(); }, seconds(10)))
        << "the status text goes after 5 s";
}

// The wheel zooms from manual zoom, which it enters first; the pen moves the map once
// it leaves its dead square, drawing the quick way.
TEST_F(WindowWithoutReceiver, TheWheelZoomsAndAPenDragMovesTheMap) {
    ASSERT_TRUE(run.started());
    Application& application = run.application();
    Status7Record& status = application.state()->config.status;
    EXPECT_EQ(status.trackWord & zoom::kManual, 0);
    application.wheel(1);
    const float closer = status.manualScale;
    EXPECT_NE(status.trackWord & zoom::kManual, 0) << "the wheel switched to manual zoom";
    application.wheel(-2);
    EXPECT_LT(status.manualScale, closer);

    const double lon = status.centreLon;
    application.stylus(platform::StylusAction::Down, {100, 100});
    application.stylus(platform::StylusAction::Move, {110, 100});
    EXPECT_EQ(status.centreLon, lon) << "inside the dead square";
    EXPECT_FALSE(application.state()->handOver.quickDraw.load());
    application.stylus(platform::StylusAction::Move, {160, 100});
    application.stylus(platform::StylusAction::Up, {160, 100});
    EXPECT_LT(status.centreLon, lon) << "the map follows the pen east: the view looks west";
    EXPECT_TRUE(application.state()->handOver.quickDraw.load());
    run.close();
}

// A tap (no drag) on a drawn point stamps it, so that its label shows in a balloon.
TEST_F(WindowWithoutReceiver, ATapOnAPointStampsItForItsBalloon) {
    ASSERT_TRUE(run.started());
    Application& application = run.application();
    const ViewGeometry& view = application.view().geometry();
    points::GpsPoint hut;
    hut.setPositionUnits(view.centreLon(), view.centreLat());
    hut.name = u"Hut";
    points::GpsPoint& stored = application.state()->points.addPoint(hut);
    application.requestRepaint();
    ASSERT_TRUE(run.waitFor([&] { return !application.state()->points.drawnPoints().empty(); }));
    const platform::Point at = view.centrePixel();
    application.stylus(platform::StylusAction::Down, {at.x + 60, at.y});
    application.stylus(platform::StylusAction::Up, {at.x + 60, at.y});
    EXPECT_EQ(stored.alertTime, 0.0) << "a tap away from it";
    application.stylus(platform::StylusAction::Down, {at.x + 3, at.y - 2});
    application.stylus(platform::StylusAction::Up, {at.x + 3, at.y - 2});
    EXPECT_GT(stored.alertTime, 0.0);
    run.close();
}

TEST(ApplicationWindow, AWorkerThatNeverStartsIsReportedAndStartUpGoesOn) {
    test::TempDir home;
    test::ScriptedMessageBoxes boxes;
    platform::ScopedSyncLimits shortWait({milliseconds(50), 100000, milliseconds(1)});
    SilentWorker worker;
    ProgramRun run(home.path(), std::nullopt, &worker);
    ASSERT_TRUE(run.started());
    EXPECT_EQ(worker.launches, 1);
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].title, u".Sync error!");
    EXPECT_EQ(boxes.shown()[0].text, u".WndProc.2");
    const std::string log = test::readFile(home / "TraceLog.txt");
    EXPECT_EQ(log.rfind(".Sync.Error\n.WndProc.2\n", 0), 0u) << log;
}

// A journal folder that cannot be written (here a plain file in its place): the window
// says so while the track goes on in memory, and the shut-down stores it whatever the
// journal's state.
TEST(ApplicationWindow, ATrackWithoutAJournalIsReportedAndStoredAtShutDown) {
    test::TempDir home;
    test::ScriptedMessageBoxes boxes;
    test::writeFile(home / "journal", "not a folder");
    ProgramRun run(home.path(), demoLog());
    ASSERT_TRUE(run.started());
    ASSERT_TRUE(run.waitFor([&] {
        return run.application().state()->statusText == FixHandOver::kJournalFailedText;
    })) << "status: "
        << toUtf8(run.application().state()->statusText);
    ASSERT_TRUE(run.waitFor([&] { return run.mainPoints() >= 10; }));
    run.close();
    EXPECT_GT(fileSize(home / "Wendra0.trc"), 10);
    const std::string log = test::readFile(home / "TraceLog.txt");
    EXPECT_NE(log.find("Journal not written: "), std::string::npos) << log;
}

// What a data folder holds before the program starts: a configuration, a stored track.
Configuration storedConfiguration(const std::filesystem::path& home) {
    Configuration config(u"");
    ConfigurationStore store(config);
    NoStatusBanner banner;
    DataFiles files(home.string(), banner);
    files.attach(DataFile::Configuration, store);
    files.load(DataFile::Configuration);
    return config;
}

void storeConfiguration(const std::filesystem::path& home,
                        const std::function<void(Configuration&)>& change) {
    Configuration config = storedConfiguration(home);
    change(config);
    ConfigurationStore store(config);
    NoStatusBanner banner;
    DataFiles files(home.string(), banner);
    files.attach(DataFile::Configuration, store);
    ASSERT_TRUE(files.save(DataFile::Configuration));
}

void storeTrack(const std::filesystem::path& home, int points) {
    Track track;
    for (int i = 0; i < points; ++i)
        track.addFix(TrackFix{45.0 + i * 1e-3, 7.0, 20.0f, 400.0f, 0, 40.0f, 9000.0 + i / 86400.0},
                     true);
    const TrackFolders folders = TrackFolders::inDataFolder(home.string());
    FileBusy busy;
    FixJournal journal(folders.journalFile());
    TrackFiles files(track, folders, busy, journal);
    ASSERT_TRUE(files.storeLayer(Track::kMainLayer));
}

// Every banner the program puts up, in order ("" for taking it away); `onShow` runs on
// the window thread inside the operation the banner announces.
class BannerLog final : public platform::StatusBannerHost {
public:
    void show(std::u16string_view text) override {
        texts.emplace_back(text);
        if (onShow) onShow(text);
    }
    std::vector<std::u16string> texts;
    std::function<void(std::u16string_view)> onShow;

private:
    platform::ScopedStatusBannerHost scope_{*this};
};

bool contains(const std::vector<std::u16string>& texts, std::u16string_view text) {
    return std::find(texts.begin(), texts.end(), text) != texts.end();
}

// The track files' own words are the banner's while they work; the start-up hint on
// the map stays.
TEST(ApplicationWindow, TrackFileTextsShowInTheBannerAndLeaveTheStartUpHint) {
    test::TempDir home;
    test::ScriptedMessageBoxes boxes;
    storeTrack(home.path(), 5);
    BannerLog banners;
    boxes.answer(platform::Answer::Yes);
    ProgramRun run(home.path(), std::nullopt);
    ASSERT_TRUE(run.started());
    ASSERT_EQ(run.mainPoints(), 5);
    const auto loading = std::find(banners.texts.begin(), banners.texts.end(), u"Loading track...");
    ASSERT_NE(loading, banners.texts.end());
    ASSERT_NE(loading + 1, banners.texts.end());
    EXPECT_EQ(*(loading + 1), u"") << "taken away once loaded";
    // The messages of start-up are handled too before the hint is looked at.
    test::processEventsFor(milliseconds(300));
    EXPECT_EQ(run.application().state()->statusText, u"Button OK\nto display main menu");
    run.close();
    EXPECT_TRUE(contains(banners.texts, u"Saving track..."));
    EXPECT_TRUE(contains(banners.texts, u"Saving layer 1..."));
}

// A resize before start-up is complete (here while the track loads, under the question
// whether to continue it) must not keep the window from ever painting.
TEST(ApplicationWindow, AResizeDuringStartUpStillLetsTheWindowPaint) {
    test::TempDir home;
    test::ScriptedMessageBoxes boxes;
    storeTrack(home.path(), 5);
    BannerLog banners;
    std::unique_ptr<ProgramRun> run;
    banners.onShow = [&run](std::u16string_view text) {
        if (text != u"Loading track...") return;
        run->application().resized(platform::Size{480, 320});
        // What the question's own loop does meanwhile: the window's events are handled.
        test::processEventsFor(milliseconds(200));
    };
    boxes.answer(platform::Answer::Yes);
    run = std::make_unique<ProgramRun>(home.path(), std::nullopt);
    ASSERT_TRUE(run->started());
    ASSERT_TRUE(contains(banners.texts, u"Loading track..."));
    EXPECT_TRUE(run->waitFor([&] { return run->application().framesPainted() > 0; }, seconds(5)))
        << "no frame painted";
    EXPECT_TRUE(run->waitFor(
        [&] { return !run->application().flags().test(AppFlag::kRepaintPending); }, seconds(5)));
    run.reset();
}

// A kill after a key's action must not take the changed setting with it: a handled
// action saves the changed files at once.
TEST_F(WindowWithoutReceiver, AHandledKeySavesTheChangedSettingsAtOnce) {
    ASSERT_TRUE(run.started());
    Application& application = run.application();
    application.state()->config.keys.bind(0, kSecondAppKey, Action::kToggleTrack);
    application.hotKey(keyCode(kSecondAppKey));
    ASSERT_TRUE(run.waitFor(
        [&] { return application.state()->statusText == u"Track: Deactivated"; }, seconds(5)));
    EXPECT_FALSE(storedConfiguration(home.path()).track.recordTrack)
        << "Wendra.ini holds the change before any shut-down";
}

// The statistics screen is two presses away from the main menu's key: "Tools", then
// "Statistics", with the rows of the track recorded so far.
TEST(ApplicationWindow, TheMainMenuLeadsToTheStatisticsOfTheTrack) {
    test::TempDir home;
    test::ScriptedMessageBoxes boxes;
    ProgramRun run(home.path(), demoLog());
    ASSERT_TRUE(run.started());
    ASSERT_TRUE(run.waitFor([&] { return run.mainPoints() >= 5; }));
    test::ScriptedDialogHost dialogs;
    dialogs.expect(
        [](test::ScriptedDialog& menu) { EXPECT_TRUE(menu.press(MainMenuButton::kTools)); });
    dialogs.expect([](test::ScriptedDialog& tools) {
        EXPECT_FALSE(tools.press(ToolsMenuButton::kGraphics)) << "no graph window yet";
        EXPECT_TRUE(tools.press(ToolsMenuButton::kStatistics));
    });
    bool rowsShown = false;
    dialogs.expect([&](test::ScriptedDialog& statistics) {
        rowsShown =
            statistics.findTreeItem(StatisticsScreen::kTree, {u"Time"}) != platform::kNoTreeItem;
        EXPECT_TRUE(statistics.press(StatisticsScreen::kBack));
    });
    Application& application = run.application();
    application.state()->config.keys.bind(0, kSecondAppKey, Action::kMainMenu);
    application.hotKey(keyCode(kSecondAppKey));
    ASSERT_TRUE(run.waitFor([&] { return dialogs.scriptsLeft() == 0; }, seconds(5)));
    EXPECT_EQ(dialogs.shown(),
              (std::vector<std::u16string>{u"Main menu", u"Tools", u"Statistics"}));
    EXPECT_TRUE(rowsShown);
}

// "Display" on the speed's maximum shows its place on the map, no longer following the
// GPS, with the hint the first time; a tap on the map brings the statistics back.
TEST(ApplicationWindow, StatisticsDisplayShowsThePlaceAndATapComesBack) {
    test::TempDir home;
    test::ScriptedMessageBoxes boxes;
    ProgramRun run(home.path(), demoLog());
    ASSERT_TRUE(run.started());
    ASSERT_TRUE(run.waitFor([&] { return run.mainPoints() >= 20; }));
    Application& application = run.application();
    test::ScriptedDialogHost dialogs;
    auto childStarting = [](const test::ScriptedDialog& d, platform::TreeItem parent,
                            std::u16string_view start) {
        for (platform::TreeItem item : d.treeChildren(StatisticsScreen::kTree, parent))
            if (d.treeItemText(StatisticsScreen::kTree, item).starts_with(start)) return item;
        return platform::kNoTreeItem;
    };
    dialogs.expect([](test::ScriptedDialog& menu) { menu.press(MainMenuButton::kTools); });
    dialogs.expect([](test::ScriptedDialog& tools) { tools.press(ToolsMenuButton::kStatistics); });
    dialogs.expect([&](test::ScriptedDialog& rows) {
        const platform::TreeItem speed = childStarting(rows, platform::kNoTreeItem, u"Speed");
        const platform::TreeItem maximum = childStarting(rows, speed, u"Maxi:");
        ASSERT_NE(maximum, platform::kNoTreeItem);
        EXPECT_TRUE(rows.select(StatisticsScreen::kTree, maximum));
        EXPECT_TRUE(rows.press(StatisticsScreen::kDisplay));
    });
    application.state()->config.keys.bind(0, kSecondAppKey, Action::kMainMenu);
    application.hotKey(keyCode(kSecondAppKey));
    ASSERT_TRUE(run.waitFor([&] { return dialogs.scriptsLeft() == 0; }, seconds(5)));
    EXPECT_EQ(application.state()->statusText, StatisticsDisplay::kHint);
    const ViewGeometry& view = application.view().geometry();
    EXPECT_TRUE(view.has(viewflag::kFreeMovement));
    const StatisticsExtreme& fastest = application.state()->statistics.results().maxSpeed;
    EXPECT_DOUBLE_EQ(view.centreLat(), fastest.lat);
    EXPECT_DOUBLE_EQ(view.centreLon(), fastest.lon);

    dialogs.expect([](test::ScriptedDialog& rows) { rows.press(StatisticsScreen::kBack); });
    application.stylus(platform::StylusAction::Down, {100, 100});
    application.stylus(platform::StylusAction::Up, {100, 100});
    ASSERT_TRUE(run.waitFor([&] { return dialogs.scriptsLeft() == 0; }, seconds(5)));
    EXPECT_EQ(dialogs.shown().back(), u"Statistics");
}

// The live climb speed is taken over the configured number of fixes, not over the
// default the statistics were made with before the configuration loaded.
TEST(ApplicationWindow, TheLiveClimbSpeedUsesTheConfiguredWindow) {
    test::TempDir home;
    test::ScriptedMessageBoxes boxes;
    storeConfiguration(home.path(), [](Configuration& config) { config.track.climbWindow = 3; });
    ProgramRun run(home.path(), std::nullopt);
    ASSERT_TRUE(run.started());
    TrackStatistics& statistics = run.application().state()->statistics;
    // Ten seconds climbing a metre a second, then three on the level.
    for (int second = 0; second < 13; ++second) {
        const float altitude = static_cast<float>(std::min(second, 10));
        statistics.liveUpdate(Fix{45.0, 7.0, 0.0f, altitude, 0, 40.0f, 9000.0 + second / 86400.0});
    }
    EXPECT_FLOAT_EQ(statistics.liveClimbSpeed(), 0.0f)
        << "a window of three holds only the level fixes";
}

// The demo map imported into a fresh folder as wendra-tool does it: the maps file loads
// at start-up, the map manager loads the image, the frames show it under the walk, and
// the file is saved again at shut-down.
void importDemoMap(const std::filesystem::path& home) {
    const std::filesystem::path demo =
        test::testData().parent_path().parent_path() / "data" / "demo-map.map";
    maps::OziImport import = maps::importOziMap(demo, std::nullopt);
    ASSERT_EQ(import.result, maps::OziResult::Imported);
    import.definition.userFlags |= maps::kMapActive;
    maps::MapShell shell;
    maps::MapCatalogue catalogue(shell);
    ASSERT_TRUE(catalogue.newMap()->setDefinition(import.definition));
    ASSERT_TRUE(maps::saveMapsFile(catalogue, home));
}

// The share of the frame's middle (half its width and height, around the position)
// that maps painted: their pixels have the "not yet painted" bit clear.
double mapShare(platform::qt::QtWindow& window) {
    const platform::PixelBuffer& pixels = window.backBuffer().pixels();
    const int w = pixels.width(), h = pixels.height();
    int painted = 0, all = 0;
    for (int y = h / 4; y < h * 3 / 4; ++y)
        for (int x = w / 4; x < w * 3 / 4; ++x, ++all)
            painted += (pixels.at(x, y) & platform::kUnpaintedBit) == 0;
    return all ? double(painted) / all : 0.0;
}

TEST(ApplicationWindow, TheImportedMapIsPaintedUnderTheWalk) {
    test::TempDir home;
    test::ScriptedMessageBoxes boxes;
    importDemoMap(home.path());
    BannerLog banners;
    {
        ProgramRun run(home.path(), demoLog());
        ASSERT_TRUE(run.started());
        ASSERT_EQ(run.application().state()->maps.size(), 1u);
        EXPECT_TRUE(run.waitFor([&] { return mapShare(run.window()) > 0.8; }))
            << "share of map pixels: " << mapShare(run.window());
        // The statistics count the loaded map and the defined one.
        test::ScriptedDialogHost dialogs;
        dialogs.expect([](test::ScriptedDialog& menu) { menu.press(MainMenuButton::kTools); });
        dialogs.expect(
            [](test::ScriptedDialog& tools) { tools.press(ToolsMenuButton::kStatistics); });
        dialogs.expect([](test::ScriptedDialog& rows) { rows.press(StatisticsScreen::kBack); });
        Application& application = run.application();
        application.state()->config.keys.bind(0, 9, 3);  // "Key application 2": the main menu
        application.hotKey(194);
        ASSERT_TRUE(run.waitFor([&] { return dialogs.scriptsLeft() == 0; }, seconds(5)));
        const TrackStatistics& statistics = application.state()->statistics;
        EXPECT_EQ(toUtf8(statistics.row(kRowMapsAllocated).value).substr(0, 2), "1=");
        EXPECT_EQ(toUtf8(statistics.row(kRowMapsDefined).value).substr(0, 2), "1=");
        run.close();
    }
    EXPECT_TRUE(contains(banners.texts, u"Loading maps..."));
    EXPECT_TRUE(contains(banners.texts, u"Saving maps..."));
    EXPECT_NE(test::readFile(home / "Wendra.wdm").find("RIRUvo|Bmp|GPSBmp4|"), std::string::npos);
    EXPECT_TRUE(boxes.shown().empty());
}

}  // namespace
}  // namespace wendra

namespace wendra {
namespace {

maps::MapDefinition storedMap(std::u16string path) {
    maps::MapDefinition d;
    d.imagePath = std::move(path);
    d.cornerLatitudes = {46.5, 46.5, 46.0, 46.0};
    d.cornerLongitudes = {6.5, 7.0, 6.5, 7.0};
    d.width = d.height = 500;
    d.bytesPerPixel = 3;
    d.userFlags = maps::kMapActive;
    return d;
}

std::vector<bool> storedActiveFlags(const std::filesystem::path& home) {
    maps::MapShell shell;
    maps::MapCatalogue catalogue{shell};
    maps::loadMapsFile(catalogue, home);
    std::vector<bool> flags;
    for (const auto& m : catalogue.maps()) flags.push_back(m->active());
    return flags;
}

// The maps file is read at start; the main menu's group line opens "Maps group", whose
// choice reaches the file and the line at once.
TEST(ApplicationWindow, TheMainMenuSelectsAGroupOfMapsAndSavesIt) {
    test::TempDir home;
    test::ScriptedMessageBoxes boxes;
    {
        maps::MapShell shell;
        maps::MapCatalogue catalogue{shell};
        for (const char16_t* path : {u"/m/alps/a.bmp", u"/m/jura/j.bmp"})
            catalogue.newMap()->setDefinition(storedMap(path));
        ASSERT_TRUE(maps::saveMapsFile(catalogue, home.path()));
    }
    ProgramRun run(home.path(), std::nullopt);
    ASSERT_TRUE(run.started());
    test::ScriptedDialogHost dialogs;
    std::vector<std::u16string> lines;
    dialogs.expect([&](test::ScriptedDialog& menu) {
        lines.push_back(menu.text(MainMenuButton::kMapGroup));
        EXPECT_TRUE(menu.press(MainMenuButton::kMapGroup));
    });
    dialogs.expect([](test::ScriptedDialog& group) {
        EXPECT_EQ(group.text(MapGroupControl::kFirstGroup + 1), u"jura");
        EXPECT_TRUE(group.press(MapGroupControl::kFirstGroup + 1));
    });
    dialogs.expect([&](test::ScriptedDialog& menu) {
        lines.push_back(menu.text(MainMenuButton::kMapGroup));
        EXPECT_TRUE(menu.press(MainMenuButton::kBack));
    });
    Application& application = run.application();
    application.state()->config.keys.bind(0, kSecondAppKey, Action::kMainMenu);
    application.hotKey(keyCode(kSecondAppKey));
    ASSERT_TRUE(run.waitFor([&] { return dialogs.scriptsLeft() == 1; }, seconds(5)));
    EXPECT_EQ(storedActiveFlags(home.path()), (std::vector<bool>{false, true}));
    application.hotKey(keyCode(kSecondAppKey));
    ASSERT_TRUE(run.waitFor([&] { return dialogs.scriptsLeft() == 0; }, seconds(5)));
    // "All" says nothing of the internet maps while their downloads are off.
    EXPECT_EQ(lines, (std::vector<std::u16string>{u"Grp of maps: All", u"Grp of maps: jura"}));
}

}  // namespace
}  // namespace wendra

namespace wendra {
namespace {

// The points file is read at start; "Add point" in the main menu puts a point at the
// receiver's position through the point dialog, and the file holds both once closed.
TEST(ApplicationWindow, ThePointsFileLoadsAndKeepsAPointAddedFromTheMainMenu) {
    test::TempDir home;
    test::ScriptedMessageBoxes boxes;
    const std::string pointsFile = (home.path() / std::string(points::kPointsFileName)).string();
    {
        points::PointStore stored;
        points::GpsPoint house;
        house.name = u"Home";
        house.setPosition(46.9479, 7.4474);
        stored.addPoint(house);
        ASSERT_TRUE(points::savePointsFile(pointsFile, stored, false));
    }
    BannerLog banners;
    std::u16string title;
    {
        ProgramRun run(home.path(), demoLog());
        ASSERT_TRUE(run.started());
        Application& application = run.application();
        ASSERT_EQ(application.state()->points.size(), 1u);
        ASSERT_TRUE(run.waitFor(
            [&] { return application.state()->handOver.position == PositionMark::Shown; }));
        test::ScriptedDialogHost dialogs;
        dialogs.expect(
            [](test::ScriptedDialog& menu) { EXPECT_TRUE(menu.press(MainMenuButton::kAddPoint)); });
        dialogs.expect([&](test::ScriptedDialog& point) {
            title = point.title();
            point.setText(points::point_dialog::kName, u"Bridge");
            EXPECT_TRUE(point.press(platform::kIdOk));
        });
        application.state()->config.keys.bind(0, kSecondAppKey, Action::kMainMenu);
        application.hotKey(keyCode(kSecondAppKey));
        ASSERT_TRUE(run.waitFor([&] { return dialogs.scriptsLeft() == 0; }, seconds(5)));
        ASSERT_EQ(application.state()->points.size(), 2u);
        run.close();
    }
    EXPECT_EQ(title, u"Add a point (1)") << "the first number of a fresh configuration";
    EXPECT_TRUE(contains(banners.texts, u"Loading points..."));
    EXPECT_TRUE(contains(banners.texts, u"Saving points..."));
    EXPECT_EQ(storedConfiguration(home.path()).status.lastPointNumber, 1) << "the counter";
    points::PointStore reloaded;
    ASSERT_TRUE(points::loadPointsFile(pointsFile, reloaded).opened);
    ASSERT_EQ(reloaded.size(), 2u);
    EXPECT_EQ(reloaded.at(0).name, u"Home");
    const points::GpsPoint& added = reloaded.at(1);
    EXPECT_EQ(added.name, u"Bridge");
    EXPECT_EQ(added.group, u"Now");
    EXPECT_EQ(added.number, 1);
    EXPECT_TRUE(added.positionValid()) << "at the replayed walk";
    EXPECT_TRUE(boxes.shown().empty());
}

// "Add voice point" in the main menu opens the point dialog recording the memo into the
// memo folder; Cancel drops the point and its memo.
TEST(ApplicationWindow, ACancelledVoicePointLeavesNoMemo) {
    test::TempDir home;
    test::ScriptedMessageBoxes boxes;
    test::FakeVoiceRecorder recorder;
    const std::filesystem::path memos = home / "memos";
    ProgramRun run(home.path(), demoLog());
    ASSERT_TRUE(run.started());
    Application& application = run.application();
    ASSERT_TRUE(
        run.waitFor([&] { return application.state()->handOver.position == PositionMark::Shown; }));
    application.state()->config.setFolder(Folder::RecorderPath, fromUtf8(memos.string()));
    const std::size_t before = application.state()->points.size();
    test::ScriptedDialogHost dialogs;
    dialogs.expect([](test::ScriptedDialog& menu) {
        EXPECT_TRUE(menu.press(MainMenuButton::kAddVoicePoint));
    });
    dialogs.expect([&](test::ScriptedDialog& point) {
        EXPECT_EQ(point.text(points::point_dialog::kMemoState), u"Recording...");
        EXPECT_TRUE(point.press(platform::kIdCancel));
    });
    application.state()->config.keys.bind(0, kSecondAppKey, Action::kMainMenu);
    application.hotKey(keyCode(kSecondAppKey));
    ASSERT_TRUE(run.waitFor([&] { return dialogs.scriptsLeft() == 0; }, seconds(5)));
    ASSERT_TRUE(run.waitFor([&] { return application.state()->statusText == u"Point not added"; },
                            seconds(5)));
    EXPECT_EQ(recorder.started(), std::vector<std::filesystem::path>{memos / "00001.wav"});
    EXPECT_FALSE(std::filesystem::exists(memos / "00001.wav"));
    EXPECT_EQ(application.state()->points.size(), before);
    run.close();
    EXPECT_TRUE(boxes.shown().empty());
}

// With "Download maps" on, the worker fills the cache from a tile server around the
// view and the frame shows their attribution; the index keeps the tiles, which show
// again at the next start without a server.
TEST(ApplicationWindow, DownloadsTilesAroundTheViewAndKeepsThemInTheCacheIndex) {
    test::TempDir home;
    test::ScriptedMessageBoxes boxes;
    test::writeTilePng(
        home / "tile.png",
        [](int, int) {
            return test::Rgba{0, 160, 0, 255};
        },
        false);
    const std::string png = test::readFile(home / "tile.png");
    std::atomic<int> served{0};
    auto server =
        std::make_unique<test::LoopbackHttpServer>([&](test::LoopbackHttpServer::Connection& c) {
            if (c.path().rfind("/20/", 0) == 0) {  // the placeholder probe: no such level
                c.answer(404, "none");
                return;
            }
            ++served;
            c.answer(200, png, "Content-Type: image/png\r\n");
        });
    netmaps::TileServiceFields fields;
    fields.settingsFlags = 1;  // "Download maps"
    fields.cacheFolder = widen((home / "cache").string());
    netmaps::SourceSettings sources;
    sources.activeSources = 1u << netmaps::source::kOsmMapnikRoad;
    sources.templates[netmaps::source::kOsmMapnikRoad] =
        "http://127.0.0.1:" + std::to_string(server->port()) + "/*ZM1*/*GMX*/*GMY*.png";
    std::string index = netmaps::netBmpMgrRecord(fields, sources);
    for (const std::string& line : netmaps::sourceRecords(sources)) index += line;
    test::writeFile(home / "Wendra.net", index);

    {
        ProgramRun run(home.path(), std::nullopt, nullptr, false, true);
        ASSERT_TRUE(run.started());
        InternetMaps& internet = *run.application().state()->internet;
        ASSERT_TRUE(run.waitFor([&] { return internet.cache().cachedTiles() >= 3; }))
            << "served " << served.load();
        EXPECT_TRUE(std::filesystem::exists(home / "cache" / "OSM-Mapnik-Road"));
        EXPECT_GE(internet.counters().sessionTiles, 3u);
        // Painted once the map manager has loaded them, with their servers' text.
        maps::MapCatalogue& catalogue = run.application().state()->maps;
        ASSERT_TRUE(run.waitFor([&] { return !catalogue.paintedInternetGroups().empty(); }));
        EXPECT_EQ(internet.attribution(catalogue.paintedInternetGroups()[0]),
                  u"\u00a9 OpenStreetMap contributors");
        run.close();
    }
    EXPECT_NE(test::readFile(home / "Wendra.net").find("\nNetBmp|"), std::string::npos);
    EXPECT_TRUE(boxes.shown().empty());

    server.reset();  // offline now
    ProgramRun again(home.path(), std::nullopt, nullptr, false, true);
    ASSERT_TRUE(again.started());
    EXPECT_GE(again.application().state()->internet->cache().cachedTiles(), 3)
        << "the cached tiles are read back with their maps";
}

}  // namespace
}  // namespace wendra
