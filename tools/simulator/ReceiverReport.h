#pragma once
// What the simulated receiver says in one cycle, before it is written as sentences.
// A report with `fix` set has a position, a DOP and at least four used satellites;
// the writer does not check this.

#include <optional>
#include <vector>

#include "simulator/Dop.h"
#include "simulator/SimulationOptions.h"

namespace wendra::sim {

struct SatelliteReport {
    int prn = 0;
    int elevation = 0;  // whole degrees
    int azimuth = 0;    // whole degrees, 0..359
    int snr = 0;        // dB-Hz; 0 when the satellite is not tracked (field left empty)
};

struct ReceiverReport {
    UtcSeconds utc;
    bool fix = false;
    double latitude = 0.0;   // degrees
    double longitude = 0.0;  // degrees
    double altitude = 0.0;   // metres above mean sea level
    double geoidSeparation = 0.0;
    double speedKmh = 0.0;
    std::optional<double> course;         // degrees true; none when standing still
    std::vector<SatelliteReport> inView;  // in the order the sky sentences list them
    std::vector<int> used;                // PRNs in the solution, at most 12
    Dop dop;
};

}  // namespace wendra::sim
