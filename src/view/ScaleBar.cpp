#include "view/ScaleBar.h"

#include <cmath>

#include "records/UnitFormat.h"

namespace wendra {

namespace {

constexpr int kNominalPixels = 65;
constexpr double kKmPerUnit = 20037.5;
constexpr double kMetresPerUnit = 20037508.342789244;
constexpr double kMetresPerKm = 1000.0;
constexpr double kMilesPerKm = 0.62137002;
constexpr double kFeetPerMetre = 3.2808299;
constexpr double kNauticalMilesPerKm = 0.53996998;
// Below 100 of the large unit's thousandths, the small unit reads better.
constexpr double kSmallUnitBelow = 100.0;
// Keeps exact powers of ten from rounding down to the power below.
constexpr double kLogNudge = 2e-6;
constexpr double kPowerNudge = 1e-6;
constexpr int kStatute = 1;
constexpr int kNautical = 2;

struct Unit {
    double factor = 1.0;
    bool small = false;
};

Unit unitFor(double metres, int unitSystem) {
    if (unitSystem == kStatute)
        return metres * kMilesPerKm < kSmallUnitBelow ? Unit{kFeetPerMetre, true}
                                                      : Unit{kMilesPerKm, false};
    if (unitSystem == kNautical)
        return metres * kNauticalMilesPerKm < kSmallUnitBelow ? Unit{1.0, true}
                                                              : Unit{kNauticalMilesPerKm, false};
    return Unit{};
}

}  // namespace

ScaleBar ScaleBar::compute(float scale, int unitSystem, int pixelMultiplier) {
    ScaleBar bar;
    if (!(scale > 0.0f) || !std::isfinite(scale)) return bar;
    const double metres = kNominalPixels * pixelMultiplier / (scale / kKmPerUnit) * kMetresPerKm;
    const Unit unit = unitFor(metres, unitSystem);
    const double value = metres * unit.factor;
    const int power = static_cast<int>(std::log10(value) + kLogNudge);
    const int step = std::max(1, static_cast<int>(std::pow(10.0, power) + kPowerNudge));
    double shown = std::round(value / step) * step;
    if (shown == 0.0) shown = 1.0;
    bar.metres = shown / unit.factor;
    bar.smallUnit = unit.small;
    bar.lengthPixels = static_cast<int>(bar.metres / kMetresPerUnit * scale);
    formatDistance(bar.label, static_cast<float>(bar.metres / kMetresPerKm), unitSystem,
                   unit.small ? 1 : -1);
    return bar;
}

}  // namespace wendra
