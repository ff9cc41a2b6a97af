#pragma once
// The shape of a simulated walk: legs of whole seconds, each with a pace, a general
// direction, a slope and whether the receiver has a fix. Legs are not checked here;
// checkOptions() in SimulationOptions.h rejects unusable ones.

#include <vector>

namespace wendra::sim {

struct WalkLeg {
    int seconds = 0;
    double speedKmh = 0.0;  // 0 for a stop
    double bearing = 0.0;   // general direction, degrees true; the path meanders around it
    double grade = 0.0;     // metres of climb per metre walked; steep legs zigzag
    bool fix = true;        // false: the receiver talks but reports no position
};

struct WalkProfile {
    std::vector<WalkLeg> legs;

    // About an hour above Lake Thun: a walk, a stop, a climb, a stretch under a rock
    // face without a fix, and a gentle descent.
    static WalkProfile demo();

    // The leg in force at a second from the start. After the last leg the walker
    // keeps its pace and direction on level ground with a fix, so long runs stay
    // within plausible altitudes.
    WalkLeg legAt(int second) const;
    // Seconds from the start to the beginning of the leg in force at `second`.
    int legStart(int second) const;
};

}  // namespace wendra::sim
