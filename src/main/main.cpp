// wendra: the track logger and moving map. Finds its data folder, makes sure it runs
// only once per folder, sets up the window on Qt (offscreen with snapshots when there
// is no display), optionally replays a receiver log as the GPS, and runs the window.

#include <QApplication>
#include <QGuiApplication>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "SignalCloser.h"
#include "app/AppMessages.h"
#include "app/Application.h"
#include "app/CommandLine.h"
#include "app/DataFolder.h"
#include "gps/FileReplay.h"
#include "gps/ReplayPlayer.h"
#include "platform/AssumedAnswers.h"
#include "platform/linux/CurlHttp.h"
#include "platform/linux/DisplayState.h"
#include "platform/linux/LinuxSerialPorts.h"
#include "platform/linux/PseudoTerminal.h"
#include "platform/linux/RfkillRadio.h"
#include "platform/linux/SingleInstance.h"
#include "platform/linux/SuspendTime.h"
#include "platform/linux/WavPlayer.h"
#include "platform/linux/WavRecorder.h"
#include "platform/qt/QtHosts.h"
#include "platform/qt/QtSnapshotWriter.h"
#include "platform/qt/QtWindow.h"
#include "points/IconList.h"
#include "records/Text.h"

namespace {

using namespace wendra;

constexpr int kReplaySlot = 9;
constexpr int kOffscreenSnapshotSeconds = 5;
constexpr int kLastGpsdDigit = 9;
constexpr int kFastestRateIndex = 6;  // 115200
// Where a build that was not installed finds the icons it ships.
constexpr const char* kSourceIcons = WENDRA_SOURCE_ICONS;

int failure(const std::string& text) {
    std::fprintf(stderr, "wendra: %s\n", text.c_str());
    return 1;
}

bool haveDisplay() {
    const char* platformName = std::getenv("QT_QPA_PLATFORM");
    if (platformName && *platformName) return std::string(platformName) != "offscreen";
    const char* x11 = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return (x11 && *x11) || (wayland && *wayland);
}

// The log plays into a pseudo-terminal that COM9: stands for during this run.
std::unique_ptr<ReplayPlayer> startReplay(const CommandLine& options,
                                          std::unique_ptr<FileReplay> log,
                                          platform::LinuxSerialPorts& ports, std::string& error) {
    auto player =
        std::make_unique<ReplayPlayer>(std::make_unique<platform::PseudoTerminal>(), std::move(log),
                                       ReplayPlayer::Options{options.speed, true});
    if (!player->start(error)) return nullptr;
    const std::string name =
        "Replay of " + std::filesystem::path(options.replay).filename().string();
    ports.overrideSlot(kReplaySlot, player->path(), name);
    return player;
}

int runWindow(const CommandLine& options, const std::string& dataFolder,
              platform::SingleInstance& instance, std::unique_ptr<FileReplay> log) {
    platform::LinuxSerialPorts ports(dataFolder);
    platform::RfkillRadio radio;
    platform::WavPlayer sounds([] { return platform::makeAlsaSink(); });
    const platform::ScopedSoundPlayer soundScope(sounds);
    platform::WavRecorder memos([] { return platform::makeAlsaSource(); });
    const platform::ScopedVoiceRecorder memoScope(memos);
    std::unique_ptr<ReplayPlayer> replay;
    if (log) {
        std::string error;
        replay = startReplay(options, std::move(log), ports, error);
        if (!replay) return failure("replay: " + error);
        std::printf("Replaying %s on %s (COM%d:)\n", options.replay.c_str(), replay->path().c_str(),
                    kReplaySlot);
    }

    if (options.gpsdPort > 0)
        for (int digit = 0; digit <= kLastGpsdDigit; ++digit)
            ports.overrideGpsd(digit, {options.gpsdHost, options.gpsdPort + digit});

    ApplicationServices services;
    services.dataFolder = dataFolder;
    services.recordsFolder = widen(recordsFolder(FolderEnvironment::fromProcess()));
    services.ports = &ports;
    services.radio = &radio;
    services.readDisplay = [] { return platform::readBacklightLit(); };
    services.suspendClock = platform::timeSuspended;
    services.fullScreen = options.fullScreen;
    services.receiverSetsClock = replay == nullptr;
    services.makeHttpRequest = [](platform::HttpSession& session) {
        return std::make_unique<platform::CurlHttp>(session);
    };
    // A receiver named on the command line is read this run whatever the settings say;
    // the saved port stays the user's.
    std::optional<int> portId;
    if (replay) portId = kReplaySlot;
    if (!options.port.empty()) portId = platform::portIdOfName(options.port);
    if (portId) {
        // A replayed log comes through a terminal that has no line speed: it is read
        // at the highest rate, so that --speed is not held to a 4800 baud line.
        const bool replayed = replay != nullptr;
        services.portOverride = [id = *portId, replayed](SerialSettings& serial) {
            serial.portId = id;
            if (replayed) serial.readingRateIndex = kFastestRateIndex;
        };
        services.afterConfigLoad = [](Configuration& config) {
            config.serial.options &= ~SerialOptions::kDeactivated;
        };
    }
    Application application(std::move(services));
    platform::qt::QtWindow window(application, {options.width, options.height});
    const int multiplier = DisplayMetrics::of({options.width, options.height}).pixelMultiplier;
    platform::qt::QtHosts hosts(&window.widget(), multiplier);
    std::unique_ptr<platform::AssumedAnswers> assumed;
    std::unique_ptr<platform::ScopedMessageBoxHost> assumedScope;
    if (options.assume) {
        assumed = std::make_unique<platform::AssumedAnswers>(*options.assume);
        assumedScope = std::make_unique<platform::ScopedMessageBoxHost>(*assumed);
    }
    SignalCloser closer(window);
    instance.listen([&window] { window.post(AppMessage::kBringToFront); });

    const int snapshotSeconds = options.snapshotSeconds.value_or(
        QGuiApplication::platformName() == "offscreen" ? kOffscreenSnapshotSeconds : 0);
    std::unique_ptr<platform::qt::QtSnapshotWriter> snapshots;
    if (snapshotSeconds > 0) {
        snapshots = std::make_unique<platform::qt::QtSnapshotWriter>(
            window.widget(), std::filesystem::path(dataFolder) / "snapshots",
            snapshotSeconds * 1000);
        std::printf("Snapshots: %s every %d s\n", snapshots->file().c_str(), snapshotSeconds);
    }
    std::fflush(stdout);

    window.show();
    const int status = QApplication::exec();
    if (snapshots) snapshots->write();
    instance.stopListening();
    if (replay) replay->stop();
    return status;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    const ParsedCommandLine parsed = parseCommandLine(arguments, platform::portIdOfName);
    if (!parsed.error.empty()) return failure(parsed.error);
    const CommandLine& options = parsed.options;
    if (options.help) {
        std::fputs(programUsage().c_str(), stdout);
        return 0;
    }
    if (options.version) {
        std::puts(programVersion().c_str());
        return 0;
    }

    std::string error;
    // A log that cannot play is refused before the data folder is touched.
    std::unique_ptr<FileReplay> log;
    if (!options.replay.empty()) {
        log = std::make_unique<FileReplay>();
        if (!log->open(options.replay, error)) return failure("replay: " + error);
    }
    const std::string folder = dataFolder(options.home, FolderEnvironment::fromProcess());
    if (folder.empty()) return failure("no data folder: set --home DIR or $HOME");
    if (!createDataFolder(folder, error)) return failure(error);
    std::printf("Data folder: %s\n", folder.c_str());
    std::fflush(stdout);

    platform::SingleInstance instance(folder);
    error.clear();
    switch (instance.claim(error)) {
        case platform::SingleInstance::Outcome::First:
            if (!error.empty()) std::fprintf(stderr, "wendra: %s\n", error.c_str());
            break;
        case platform::SingleInstance::Outcome::NotifiedRunning:
            std::printf("Wendra already runs on %s: its window was brought to the front\n",
                        folder.c_str());
            return 0;
        case platform::SingleInstance::Outcome::InUse:
            return failure("the data folder \"" + folder + "\" is in use by another program");
        case platform::SingleInstance::Outcome::Failed:
            return failure(error);
    }
    // A fresh data folder gets the shipped icons; icons the user changed are kept.
    std::error_code noProgram;
    const std::filesystem::path program =
        std::filesystem::read_symlink("/proc/self/exe", noProgram);
    provideShippedIcons(folder, {points::installedIconsFolder(program), kSourceIcons});

    if (!haveDisplay()) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication qt(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Wendra"));
    return runWindow(options, folder, instance, std::move(log));
}
