#include "simulator/WalkModel.h"

#include <cmath>
#include <numbers>

namespace wendra::sim {

namespace {

constexpr double kEarthRadius = 6371000.0;  // metres
constexpr double kDegree = std::numbers::pi / 180.0;
constexpr double kKmhToMetresPerSecond = 1.0 / 3.6;

// Walkers drift off their line and come back: the turn rate wanders, and a weak
// pull brings the heading back to the leg's direction within a minute or so.
constexpr double kTurnRateMemory = 0.85;
constexpr double kTurnRateSpread = 1.5;  // degrees per second
constexpr double kHeadingPull = 0.05;    // of the remaining angle, per second
// Paths up steep slopes zigzag: this far either side, switching this often.
constexpr double kZigzagFromGrade = 0.12;
constexpr double kZigzagAngle = 50.0;
constexpr int kZigzagSeconds = 150;
constexpr double kPaceSpread = 0.06;  // of the leg's speed
constexpr double kPaceMemory = 20.0;  // seconds

double wrapDegrees(double degrees) {
    degrees = std::fmod(degrees, 360.0);
    return degrees < 0.0 ? degrees + 360.0 : degrees;
}

double signedAngle(double degrees) {
    const double wrapped = wrapDegrees(degrees);
    return wrapped > 180.0 ? wrapped - 360.0 : wrapped;
}

}  // namespace

WalkModel::WalkModel(double latitude, double longitude, double altitude, double heading)
    : baseAltitude_(altitude), pace_(kPaceMemory) {
    state_.latitude = latitude;
    state_.longitude = longitude;
    state_.altitude = altitude;
    state_.heading = wrapDegrees(heading);
}

double WalkModel::targetHeading(const WalkLeg& leg, int secondsIntoLeg) const {
    if (leg.grade < kZigzagFromGrade) return leg.bearing;
    const bool left = (secondsIntoLeg / kZigzagSeconds) % 2 == 0;
    return leg.bearing + (left ? -kZigzagAngle : kZigzagAngle);
}

// Hills a few metres high on top of the leg's slope, so that even level legs
// climb and descend a little as real paths do.
double WalkModel::terrain(double distance) const {
    return 6.0 * std::sin(2.0 * std::numbers::pi * distance / 650.0) +
           3.0 * std::sin(2.0 * std::numbers::pi * distance / 230.0 + 1.0);
}

void WalkModel::advance(const WalkLeg& leg, int secondsIntoLeg, Random& random) {
    turnRate_ = kTurnRateMemory * turnRate_ + kTurnRateSpread * random.gaussian();
    const double pace = pace_.step(random);
    if (leg.speedKmh <= 0.0) {
        state_.speedKmh = 0.0;
        return;
    }
    const double pull = signedAngle(targetHeading(leg, secondsIntoLeg) - state_.heading);
    state_.heading = wrapDegrees(state_.heading + turnRate_ + kHeadingPull * pull);
    state_.speedKmh = leg.speedKmh * (1.0 + kPaceSpread * pace);
    const double step = state_.speedKmh * kKmhToMetresPerSecond;
    const double north = step * std::cos(state_.heading * kDegree);
    const double east = step * std::sin(state_.heading * kDegree);
    state_.latitude += north / kEarthRadius / kDegree;
    state_.longitude += east / (kEarthRadius * std::cos(state_.latitude * kDegree)) / kDegree;
    state_.longitude = signedAngle(state_.longitude);
    state_.distance += step;
    baseAltitude_ += leg.grade * step;
    state_.altitude = baseAltitude_ + terrain(state_.distance) - terrain(0.0);
}

}  // namespace wendra::sim
