#pragma once
// Where the GPS satellites stand in the sky of a place at an instant: a fixed
// constellation of 31 satellites in six planes on circular orbits of half a
// sidereal day, seen from a spherical earth. Close enough to the real geometry
// that counts in view, rising, setting and dilution of precision look right; it is
// not an almanac and does not match the real sky of the date.

#include <vector>

#include "simulator/SimulationOptions.h"

namespace wendra::sim {

struct SatellitePosition {
    int prn = 0;
    double elevation = 0.0;  // degrees above the horizon
    double azimuth = 0.0;    // degrees true, in [0, 360)
};

class SkyModel {
public:
    // Satellites at or above `minElevation` degrees, highest first.
    static std::vector<SatellitePosition> view(UtcSeconds utc, double latitude, double longitude,
                                               double altitude, double minElevation);
};

}  // namespace wendra::sim
