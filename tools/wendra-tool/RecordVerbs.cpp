// wendra-tool record and restore: a receiver log (or a journal) recorded into the main
// layer the way the live reader does it, journal included, then the shut-down save;
// and the start-up recovery that follows a kill.

#include <sys/stat.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <thread>

#include "ReplayClock.h"
#include "TrackHome.h"
#include "Verbs.h"
#include "gps/FileReplay.h"
#include "gps/NmeaParser.h"
#include "gps/SerialSettings.h"
#include "track/FixHandOver.h"
#include "track/TrackStartup.h"
#include "track/TrackStatistics.h"

namespace wendra::tool {

namespace {

// A jump in the receiver's time longer than this is not waited out when pacing.
constexpr int64_t kLongestPaceStepMs = 60000;

struct RecordOptions {
    std::string home;
    double speed = 0.0;  // 0: as fast as possible
    bool printFixes = false;
    platform::Answer answer = platform::Answer::No;
    std::string log;
    std::string journal;  // instead of a log: the fixes of a journal
};

RecordOptions parseRecordOptions(const Args& args) {
    RecordOptions options;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--home") {
            options.home = optionValue(args, i);
        } else if (arg == "--speed") {
            options.speed = parseSpeed(optionValue(args, i));
        } else if (arg == "--print-fixes") {
            options.printFixes = true;
        } else if (arg == "--answer") {
            options.answer = parseAnswer(optionValue(args, i));
        } else if (arg == "--journal") {
            options.journal = optionValue(args, i);
        } else if (arg.size() > 1 && arg[0] == '-') {
            fail("record: unknown option \"" + arg + "\"");
        } else if (!options.log.empty()) {
            fail("record: more than one log (\"" + options.log + "\", \"" + arg + "\")");
        } else {
            options.log = arg;
        }
    }
    if (options.home.empty()) fail("record: --home DIR is required");
    if (options.log.empty() == options.journal.empty())
        fail("record: give either a receiver LOG or --journal FILE");
    return options;
}

std::string fixLine(const Fix& fix) {
    return "{\"lat\":" + jsonNumber(fix.latitude) + ",\"lon\":" + jsonNumber(fix.longitude) +
           ",\"speed\":" + jsonNumber(fix.speed) + ",\"alt\":" + jsonNumber(fix.altitude) +
           ",\"course\":" + std::to_string(fix.course) + ",\"signal\":" + jsonNumber(fix.signal) +
           ",\"time\":" + jsonNumber(fix.time) + "}\n";
}

class ToolListener final : public HandOverListener {
public:
    explicit ToolListener(bool print) : print_(print) {}
    void requestRepaint() override {}
    void positionUpdated(const Fix&) override {}
    void settingsChanged() override {}
    // Printed only once the fix is in the journal: a line seen is a fix kept.
    void fixJournaled(const Fix& fix) override {
        ++journaled;
        if (!print_) return;
        const std::string line = fixLine(fix);
        std::fwrite(line.data(), 1, line.size(), stdout);
        std::fflush(stdout);
    }
    long journaled = 0;

private:
    bool print_;
};

// Layers left by an earlier run are continued, as the program does when asked.
void loadPersistentLayers(TrackFiles& files) {
    for (int layer = 0; layer < Track::kLayerCount; ++layer) {
        const std::string path = files.folders().layerFile(layer);
        struct stat info {};
        if (::stat(path.c_str(), &info) == 0 && info.st_size > kSmallestTrackFile)
            files.loadLayer(layer, path);
    }
}

// Holds each line back until its receiver time, divided by the speed, has passed.
class Pacer {
public:
    explicit Pacer(double speed) : speed_(speed) {}
    void waitFor(int64_t receiverMs) {
        if (speed_ <= 0.0) return;
        const auto now = std::chrono::steady_clock::now();
        const int64_t step = receiverMs - lastMs_;
        if (!started_ || step < 0 || step > kLongestPaceStepMs) {
            started_ = true;
            startReal_ = now;
            startMs_ = receiverMs;
        }
        lastMs_ = receiverMs;
        const auto due =
            startReal_ + std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                             std::chrono::duration<double, std::milli>(
                                 static_cast<double>(receiverMs - startMs_) / speed_));
        std::this_thread::sleep_until(due);
    }

private:
    double speed_;
    bool started_ = false;
    std::chrono::steady_clock::time_point startReal_;
    int64_t startMs_ = 0;
    int64_t lastMs_ = 0;
};

void replayLog(FileReplay& log, double speed, FixHandOver& handOver) {
    ReplayClock clock(platform::systemClock().utcOffsetSeconds());
    clock.start(log);
    platform::ScopedClock useClock(clock);
    Pacer pacer(speed);
    while (const std::optional<std::string> line = log.nextLine()) {
        clock.follow(*line);
        pacer.waitFor(clock.utcMilliseconds());
        handOver.handle(*line);
    }
}

void replayJournal(const RecordOptions& options, const TrackHome& home, FixHandOver& handOver) {
    std::error_code error;
    if (std::filesystem::equivalent(options.journal, home.journal.path(), error))
        fail("record: --journal \"" + options.journal + "\" is the journal of --home itself");
    if (!std::filesystem::is_regular_file(options.journal, error))
        fail("cannot read \"" + options.journal + "\": not a file");
    const std::vector<Fix> fixes = FixJournal(options.journal).readAll();
    for (const Fix& fix : fixes) handOver.deliverFix(fix);
}

}  // namespace

int runRecord(const Args& args) {
    const RecordOptions options = parseRecordOptions(args);
    // Refused before the data folder is touched: a log that cannot play records nothing.
    FileReplay log;
    if (std::string error; options.journal.empty() && !log.open(options.log, error))
        fail("record: " + error);
    TrackHome home(options.home);
    AnsweringHost host(options.answer);
    home.files.finishInterruptedStore();
    if (const size_t left = home.journal.recordCount(); left > 0)
        fail("\"" + home.journal.path() + "\" holds " + std::to_string(left) +
             " fixes of a run that did not finish: run restore first");
    loadPersistentLayers(home.files);

    NmeaParser parser;
    parser.setFlags(home.config.nmea.flags);
    parser.setCorrection(home.config.nmea.correction);
    SerialSettings serial = home.config.serial;
    TrackStatistics statistics(home.track.settings.climbWindow);
    HandOverState state;
    ToolListener listener(options.printFixes);
    FixHandOver handOver({parser, serial, home.files, statistics, state, listener});
    if (options.journal.empty()) {
        replayLog(log, options.speed, handOver);
    } else {
        replayJournal(options, home, handOver);
    }
    const int points = home.track.main().count();
    if (!shutdownSave(home.files)) fail("record: the track files could not all be saved");
    std::printf("{\"fixes\":%ld,\"points\":%d}\n", listener.journaled, points);
    return std::fflush(stdout) == 0 ? 0 : 1;
}

int runRestore(const Args& args) {
    std::string homeFolder;
    std::optional<platform::Answer> answer;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--home") {
            homeFolder = optionValue(args, i);
        } else if (args[i] == "--answer") {
            answer = parseAnswer(optionValue(args, i));
        } else {
            fail("restore: unknown argument \"" + args[i] + "\"");
        }
    }
    if (homeFolder.empty() || !answer) fail("restore: --home DIR and --answer yes|no are required");
    TrackHome home(homeFolder);
    AnsweringHost host(*answer);
    const StartupOutcome outcome = startupLoad(home.files);
    bool stored = true;
    for (int layer = 0; layer < Track::kLayerCount; ++layer)
        stored = home.files.storeLayer(layer) && stored;
    if (!stored) fail("restore: the track files could not all be stored");
    std::printf("{\"recoveryPending\":%s,\"restored\":%s,\"points\":%d}\n",
                outcome.recoveryPending ? "true" : "false", outcome.restored ? "true" : "false",
                home.track.main().count());
    return std::fflush(stdout) == 0 ? 0 : 1;
}

}  // namespace wendra::tool
