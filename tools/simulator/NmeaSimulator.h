#pragma once
// A GPS receiver carried on a walk, one cycle per call: the sentences of one second
// (CRLF-terminated) and their UTC time. The same options and seed always give the
// same cycles, and a shorter run is a prefix of a longer one, so a log can be
// streamed at its own pace or written at once. Unusable options give no cycles.

#include <optional>
#include <string>
#include <vector>

#include "simulator/NoiseProcess.h"
#include "simulator/Random.h"
#include "simulator/ReceiverReport.h"
#include "simulator/SimulationOptions.h"
#include "simulator/WalkModel.h"

namespace wendra::sim {

struct ReceiverCycle {
    UtcSeconds utc;
    std::string sentences;
};

class NmeaSimulator {
public:
    explicit NmeaSimulator(const SimulationOptions& options);

    // The next second's sentences, or nothing once the run is complete.
    std::optional<ReceiverCycle> next();
    int cyclesDone() const { return done_; }
    // Where the walker truly is after the last cycle, before the receiver's errors.
    const WalkerState& walker() const { return walk_.state(); }

private:
    static constexpr int kPrnSlots = 33;  // indexed by PRN 1..32

    ReceiverReport observe(const WalkLeg& leg);
    void addSatellites(ReceiverReport& report, const WalkLeg& leg);
    int signalOf(const SatellitePosition& sat, const WalkLeg& leg, double fading) const;
    void addPosition(ReceiverReport& report);
    void addMotion(ReceiverReport& report);

    SimulationOptions options_;
    bool usable_;
    int done_ = 0;
    Random random_;
    WalkModel walk_;
    std::vector<NoiseProcess> fading_;  // per PRN
    NoiseProcess errorNorth_, errorEast_, errorUp_, speedError_;
};

// The whole log of a run, as `wendra-tool simulate` writes it.
std::string simulateLog(const SimulationOptions& options);

}  // namespace wendra::sim
