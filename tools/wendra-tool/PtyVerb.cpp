// wendra-tool simulate --pty: plays a receiver log (or the simulator's own walk) into a
// pseudo-terminal at the log's pace, prints the terminal's path and plays until it is
// killed, starting over at the end of the log. Play waits for a reader to open the
// terminal, so whoever opens it first hears the log from its first line.

#include <pthread.h>
#include <signal.h>

#include <cstdio>
#include <memory>

#include "Verbs.h"
#include "gps/FileReplay.h"
#include "gps/ReplayPlayer.h"
#include "platform/linux/PseudoTerminal.h"
#include "simulator/NmeaSimulator.h"

namespace wendra::tool {

namespace {

// The simulator's walk, a cycle at a time; rewinding starts the same walk again.
class SimulatorReplay final : public ReplaySource {
public:
    SimulatorReplay() { rewind(); }

    std::optional<std::string> nextLine() override {
        while (pending_.empty()) {
            std::optional<sim::ReceiverCycle> cycle = simulator_->next();
            if (!cycle) return std::nullopt;
            pending_ = std::move(cycle->sentences);
            at_ = 0;
        }
        const size_t newline = pending_.find('\n', at_);
        const size_t end = newline == std::string::npos ? pending_.size() : newline + 1;
        std::string line = pending_.substr(at_, end - at_);
        at_ = end;
        if (at_ >= pending_.size()) pending_.clear();
        return line;
    }

    void rewind() override {
        simulator_ = std::make_unique<sim::NmeaSimulator>(sim::SimulationOptions{});
        pending_.clear();
        at_ = 0;
    }

private:
    std::unique_ptr<sim::NmeaSimulator> simulator_;
    std::string pending_;
    size_t at_ = 0;
};

struct PtyRequest {
    double speed = 1.0;
    std::string path;  // empty: the simulator's walk
};

PtyRequest parsePtyRequest(const Args& args) {
    PtyRequest request;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--pty") continue;
        if (arg == "--speed") {
            request.speed = parseSpeed(optionValue(args, i));
        } else if (arg.size() > 1 && arg[0] == '-') {
            fail("simulate --pty: unknown option \"" + arg + "\"");
        } else if (!request.path.empty()) {
            fail("simulate --pty: more than one log (\"" + request.path + "\", \"" + arg + "\")");
        } else {
            request.path = arg;
        }
    }
    return request;
}

std::unique_ptr<ReplaySource> sourceFor(const std::string& path) {
    if (path.empty()) return std::make_unique<SimulatorReplay>();
    auto log = std::make_unique<FileReplay>();
    if (std::string error; !log->open(path, error)) fail("simulate --pty: " + error);
    return log;
}

}  // namespace

int runSimulatePty(const Args& args) {
    const PtyRequest request = parsePtyRequest(args);
    // Taken by sigwait below, not by whichever thread happens to run.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGHUP);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    ReplayPlayer player(std::make_unique<platform::PseudoTerminal>(), sourceFor(request.path),
                        ReplayPlayer::Options{request.speed, true});
    std::string error;
    if (!player.start(error)) fail("simulate --pty: " + error);
    std::printf("%s\n", player.path().c_str());
    std::fflush(stdout);
    int signal = 0;
    sigwait(&stopSignals, &signal);
    player.stop();
    return 0;
}

}  // namespace wendra::tool
