#pragma once
// What a simulated receiver log is made of. The defaults make the demo log: an hour's
// walk above Lake Thun (inside the Swiss grid) on a summer morning.
// checkOptions() says what is unusable; the simulator emits nothing for such options.

#include <chrono>
#include <cstdint>
#include <string>

#include "simulator/WalkProfile.h"

namespace wendra::sim {

using UtcSeconds = std::chrono::sys_seconds;

inline constexpr UtcSeconds kDemoStart{
    std::chrono::sys_days{std::chrono::year{2024} / std::chrono::June / 15} +
    std::chrono::hours{8}};
inline constexpr int kDemoSeconds = 3600;
// A day of cycles; longer runs would only repeat level walking.
inline constexpr int kMaxSeconds = 86400;
// The receiver writes a two-digit year, so a log stays inside one century.
inline constexpr int kFirstYear = 2000;
inline constexpr int kLastYear = 2099;

struct SimulationOptions {
    UtcSeconds start = kDemoStart;  // UTC instant of the first cycle
    double latitude = 46.6950;      // degrees north of the walk's start
    double longitude = 7.7950;      // degrees east
    double altitude = 1150.0;       // metres above sea level
    // What the receiver's coarse geoid table gives for the Swiss Alps, in GGA.
    double geoidSeparation = 48.7;
    int seconds = kDemoSeconds;  // number of one-second cycles
    std::uint64_t seed = 1;
    WalkProfile profile = WalkProfile::demo();
};

// Empty when the options can be simulated, else a one-line reason.
std::string checkOptions(const SimulationOptions& options);

}  // namespace wendra::sim
