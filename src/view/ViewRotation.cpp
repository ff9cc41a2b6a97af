// The turning view: target heading, smoothed rotation and the turning commands.
#include <algorithm>
#include <cmath>

#include "view/ViewGeometry.h"
#include "view/ViewMessages.h"

namespace wendra {

namespace {

constexpr double kTurn = 360.0;
constexpr double kHalfTurn = 180.0;
// Degrees turned per 180 ms of paint, and at least per paint.
constexpr double kDegreesPer180Ms = 10.0;
constexpr double kMinimumStep = 1.0;
constexpr int kTurnStepDegrees = 5;

double signedDifference(double target, double current) {
    double d = target - current;
    while (d > kHalfTurn) d -= kTurn;
    while (d <= -kHalfTurn) d += kTurn;
    return d;
}

}  // namespace

void ViewGeometry::jumpRotation() {
    rotation = static_cast<float>(heading);
    rotationDegrees_ = heading;
    refreshCentre();
}

void ViewGeometry::smoothRotation(int paintMs) {
    if (!setting(settings::kSmoothRotate)) {
        jumpRotation();
        return;
    }
    const double step = std::max(kMinimumStep, kDegreesPer180Ms * std::max(paintMs, 0) / kHalfTurn);
    const double difference = signedDifference(heading, rotation);
    if (std::fabs(difference) < step) {
        jumpRotation();
        return;
    }
    double turned = std::fmod(rotation + std::copysign(step, difference), kTurn);
    if (turned < 0.0) turned += kTurn;
    rotation = static_cast<float>(turned);
    rotationDegrees_ = TrigTables::wrapDegrees(static_cast<int>(std::lround(turned)));
    refreshCentre();
}

std::u16string_view ViewGeometry::setTurning(bool on) {
    settingsWord =
        on ? (settingsWord | settings::kTurningView) : (settingsWord & ~settings::kTurningView);
    if (!on) {
        heading = 0;
        jumpRotation();
    }
    return on ? viewmsg::kTurning : viewmsg::kNorthUp;
}

std::u16string_view ViewGeometry::turnStep(int direction) {
    if (!has(viewflag::kFreeMovement)) return viewmsg::kNotAvailable;
    const int base = (heading / kTurnStepDegrees) * kTurnStepDegrees;
    if (direction > 0)
        heading = TrigTables::wrapDegrees(base + kTurnStepDegrees);
    else if (direction < 0)
        heading = TrigTables::wrapDegrees(base - kTurnStepDegrees);
    else
        heading = 0;
    jumpRotation();
    return direction > 0 ? viewmsg::kTurningRight
                         : (direction < 0 ? viewmsg::kTurningLeft : viewmsg::kTurningCenter);
}

}  // namespace wendra
