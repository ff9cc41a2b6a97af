#pragma once
// Where the walker truly is, second by second: pace and heading wander around the
// leg's, steep legs zigzag, and the ground rolls. Positions step on a local flat
// earth, which is exact enough for a day's walk; longitude wraps at the date line.

#include "simulator/NoiseProcess.h"
#include "simulator/Random.h"
#include "simulator/WalkProfile.h"

namespace wendra::sim {

struct WalkerState {
    double latitude = 0.0;   // degrees
    double longitude = 0.0;  // degrees
    double altitude = 0.0;   // metres above sea level
    double speedKmh = 0.0;   // over the ground during the last second
    double heading = 0.0;    // degrees true, in [0, 360)
    double distance = 0.0;   // metres walked since the start
};

class WalkModel {
public:
    WalkModel(double latitude, double longitude, double altitude, double heading);

    const WalkerState& state() const { return state_; }
    // Walks one second of `leg`; `secondsIntoLeg` picks the zigzag's side.
    void advance(const WalkLeg& leg, int secondsIntoLeg, Random& random);

private:
    double targetHeading(const WalkLeg& leg, int secondsIntoLeg) const;
    double terrain(double distance) const;

    WalkerState state_;
    double baseAltitude_;  // the altitude without the rolling of the ground
    double turnRate_ = 0.0;
    NoiseProcess pace_;
};

}  // namespace wendra::sim
