#pragma once
// Turns a pinch's scale changes into zoom steps: the fingers spread by one step's
// factor make one step closer, pinched by it one step farther. What is left over
// waits for the rest of the gesture, so a slow pinch zooms as far as a quick one.

#include <cmath>

namespace wendra::platform {

class PinchSteps {
public:
    explicit PinchSteps(double stepFactor) : logStep_(std::log(stepFactor)) {}

    // The scale change since the last call (1.1: spread by a tenth); the whole steps
    // it completes, positive when spread.
    int add(double factor) {
        if (!(factor > 0.0) || !std::isfinite(factor)) return 0;
        rest_ += std::log(factor) / logStep_;
        const int steps = static_cast<int>(std::trunc(rest_));
        rest_ -= steps;
        return steps;
    }
    // The gesture ended: a part step is forgotten.
    void reset() { rest_ = 0.0; }

private:
    double logStep_;
    double rest_ = 0.0;
};

}  // namespace wendra::platform
