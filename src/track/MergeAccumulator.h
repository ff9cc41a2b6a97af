#pragma once
// Sums of the fixes merged into the last point of the main layer while the receiver
// stays within the minimum distance. count 1 means the last point stands alone; the
// sums hold only fixes merged after that point was created.

#include <cstdint>

namespace wendra {

struct MergeAccumulator {
    std::uint16_t count = 1;
    double sumLon = 0.0;
    double sumLat = 0.0;
    float sumAltitude = 0.0f;
    float sumSpeed = 0.0f;
    float sumSignal = 0.0f;
    int sumHeading = 0;  // unwrapped around the running mean, so 350 + 10 stays near 360
    double sumTime = 0.0;
    double earliest = 0.0;
    double latest = 0.0;

    void reset() { *this = MergeAccumulator{}; }
};

}  // namespace wendra
