#include "view/TrigTables.h"

#include <cmath>

#include "track/TrackUnits.h"

namespace wendra {

namespace {
constexpr int kTurn = 360;
constexpr double kHalfTurnDegrees = 180.0;
}  // namespace

TrigTables::TrigTables() {
    for (int i = 0; i < kDegrees; ++i) {
        const double radians = i * kPi / kHalfTurnDegrees;
        doubles_[i] = std::cos(radians);
        doubles_[i + kDegrees] = std::sin(radians);
        floats_[i] = static_cast<float>(doubles_[i]);
        floats_[i + kDegrees] = static_cast<float>(doubles_[i + kDegrees]);
    }
}

int TrigTables::wrapDegrees(int degrees) {
    const int wrapped = degrees % kTurn;
    return wrapped < 0 ? wrapped + kTurn : wrapped;
}

}  // namespace wendra
