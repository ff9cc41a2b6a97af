#include "simulator/Random.h"

#include <cmath>
#include <numbers>

namespace wendra::sim {

double Random::uniform() {
    // The top 53 bits fill a double's mantissa exactly.
    return static_cast<double>(engine_() >> 11) * 0x1.0p-53;
}

double Random::gaussian() {
    if (hasSpare_) {
        hasSpare_ = false;
        return spare_;
    }
    const double radius = std::sqrt(-2.0 * std::log(1.0 - uniform()));  // 1 - u is never 0
    const double angle = 2.0 * std::numbers::pi * uniform();
    spare_ = radius * std::sin(angle);
    hasSpare_ = true;
    return radius * std::cos(angle);
}

}  // namespace wendra::sim
