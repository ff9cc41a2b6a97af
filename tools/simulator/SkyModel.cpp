#include "simulator/SkyModel.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace wendra::sim {

namespace {

constexpr double kDegree = std::numbers::pi / 180.0;
constexpr double kEarthRadius = 6371000.0;   // metres
constexpr double kOrbitRadius = 26560000.0;  // metres from the earth's centre
constexpr double kInclination = 55.0;        // degrees
constexpr double kSiderealDay = 86164.0905;  // seconds
constexpr double kOrbitPeriod = kSiderealDay / 2.0;
constexpr std::int64_t kEpoch = 946684800;  // 2000-01-01T00:00:00Z, Unix seconds

struct Slot {
    int prn;
    int plane;     // 0..5, ascending nodes 60 degrees apart
    double phase;  // argument of latitude at the epoch, degrees
};

// Six planes of five or six satellites, unevenly spaced within each plane as the
// real constellation is; one PRN of 1..32 is left out as one usually is.
constexpr std::array<Slot, 31> kConstellation{{
    {9, 0, 11.0},   {31, 0, 81.0},  {8, 0, 146.0},  {30, 0, 214.0}, {7, 0, 303.0},  {25, 1, 33.0},
    {26, 1, 98.0},  {5, 1, 170.0},  {27, 1, 236.0}, {1, 1, 318.0},  {19, 2, 5.0},   {22, 2, 69.0},
    {6, 2, 122.0},  {2, 2, 187.0},  {11, 2, 251.0}, {18, 2, 322.0}, {24, 3, 48.0},  {14, 3, 116.0},
    {21, 3, 169.0}, {10, 3, 228.0}, {4, 3, 292.0},  {16, 4, 22.0},  {20, 4, 90.0},  {28, 4, 152.0},
    {13, 4, 219.0}, {32, 4, 281.0}, {29, 5, 57.0},  {15, 5, 125.0}, {17, 5, 196.0}, {12, 5, 264.0},
    {3, 5, 333.0},
}};

struct Vector {
    double x, y, z;
};

double dot(const Vector& a, const Vector& b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

// The satellite in earth-fixed axes: the orbit's node drifts west as the earth turns.
Vector satelliteAt(const Slot& slot, double secondsSinceEpoch) {
    const double turns = std::fmod(secondsSinceEpoch / kOrbitPeriod, 1.0);
    const double earthTurns = std::fmod(secondsSinceEpoch / kSiderealDay, 1.0);
    const double u = slot.phase * kDegree + 2.0 * std::numbers::pi * turns;
    const double node = slot.plane * 60.0 * kDegree - 2.0 * std::numbers::pi * earthTurns;
    const double inclination = kInclination * kDegree;
    const double inPlaneX = std::cos(u), inPlaneY = std::sin(u);
    return {kOrbitRadius *
                (inPlaneX * std::cos(node) - inPlaneY * std::cos(inclination) * std::sin(node)),
            kOrbitRadius *
                (inPlaneX * std::sin(node) + inPlaneY * std::cos(inclination) * std::cos(node)),
            kOrbitRadius * inPlaneY * std::sin(inclination)};
}

}  // namespace

std::vector<SatellitePosition> SkyModel::view(UtcSeconds utc, double latitude, double longitude,
                                              double altitude, double minElevation) {
    const double seconds = static_cast<double>(utc.time_since_epoch().count() - kEpoch);
    const double phi = latitude * kDegree, lambda = longitude * kDegree;
    const double r = kEarthRadius + altitude;
    const Vector up{std::cos(phi) * std::cos(lambda), std::cos(phi) * std::sin(lambda),
                    std::sin(phi)};
    const Vector east{-std::sin(lambda), std::cos(lambda), 0.0};
    const Vector north{-std::sin(phi) * std::cos(lambda), -std::sin(phi) * std::sin(lambda),
                       std::cos(phi)};
    const Vector observer{r * up.x, r * up.y, r * up.z};

    std::vector<SatellitePosition> visible;
    for (const Slot& slot : kConstellation) {
        const Vector sat = satelliteAt(slot, seconds);
        const Vector line{sat.x - observer.x, sat.y - observer.y, sat.z - observer.z};
        const double range = std::sqrt(dot(line, line));
        const double elevation = std::asin(dot(line, up) / range) / kDegree;
        if (elevation < minElevation) continue;
        double azimuth = std::atan2(dot(line, east), dot(line, north)) / kDegree;
        if (azimuth < 0.0) azimuth += 360.0;
        visible.push_back({slot.prn, elevation, azimuth});
    }
    std::sort(visible.begin(), visible.end(),
              [](const auto& a, const auto& b) { return a.elevation > b.elevation; });
    return visible;
}

}  // namespace wendra::sim
