#include "simulator/SimulationOptions.h"

#include <cmath>

namespace wendra::sim {

namespace {

// Nearer the poles the walk's flat-earth stepping breaks down.
constexpr double kMaxAbsLatitude = 80.0;
constexpr double kMaxAbsLongitude = 180.0;
constexpr double kMaxSpeedKmh = 30.0;
constexpr double kMaxAbsGrade = 1.0;

int yearOf(UtcSeconds instant) {
    const std::chrono::year_month_day date{std::chrono::floor<std::chrono::days>(instant)};
    return static_cast<int>(date.year());
}

std::string checkLeg(const WalkLeg& leg, size_t index) {
    const std::string where = "leg " + std::to_string(index + 1) + ": ";
    if (leg.seconds <= 0 || leg.seconds > kMaxSeconds)
        return where + "must last between 1 and " + std::to_string(kMaxSeconds) + " seconds";
    if (!(leg.speedKmh >= 0.0 && leg.speedKmh <= kMaxSpeedKmh))
        return where + "speed must be between 0 and 30 km/h";
    if (!(std::abs(leg.grade) <= kMaxAbsGrade)) return where + "grade must be between -1 and 1";
    if (!std::isfinite(leg.bearing)) return where + "bearing must be a number";
    return {};
}

}  // namespace

std::string checkOptions(const SimulationOptions& options) {
    if (options.seconds < 1 || options.seconds > kMaxSeconds)
        return "seconds must be between 1 and " + std::to_string(kMaxSeconds);
    const UtcSeconds last = options.start + std::chrono::seconds{options.seconds - 1};
    if (yearOf(options.start) < kFirstYear || yearOf(last) > kLastYear)
        return "the log must lie within the years 2000 to 2099";
    if (!(std::abs(options.latitude) <= kMaxAbsLatitude))
        return "start latitude must be between -80 and 80 degrees";
    if (!(std::abs(options.longitude) <= kMaxAbsLongitude))
        return "start longitude must be between -180 and 180 degrees";
    if (!(options.altitude >= -500.0 && options.altitude <= 9000.0))
        return "start altitude must be between -500 and 9000 m";
    if (!(std::abs(options.geoidSeparation) <= 150.0))
        return "geoid separation must be between -150 and 150 m";
    if (options.profile.legs.empty()) return "the walk needs at least one leg";
    for (size_t i = 0; i < options.profile.legs.size(); ++i)
        if (std::string problem = checkLeg(options.profile.legs[i], i); !problem.empty())
            return problem;
    return {};
}

}  // namespace wendra::sim
