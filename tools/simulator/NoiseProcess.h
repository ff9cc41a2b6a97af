#pragma once
// Slowly wandering noise sampled once a second (a first-order Gauss-Markov process):
// receiver position errors, signal fading and a walker's pace drift this way rather
// than jumping independently each second. Its spread is 1 once settled; callers scale.

#include <cmath>

#include "simulator/Random.h"

namespace wendra::sim {

class NoiseProcess {
public:
    explicit NoiseProcess(double correlationSeconds)
        : keep_(std::exp(-1.0 / correlationSeconds)), fresh_(std::sqrt(1.0 - keep_ * keep_)) {}

    double step(Random& random) {
        value_ = keep_ * value_ + fresh_ * random.gaussian();
        return value_;
    }
    double value() const { return value_; }

private:
    double keep_;
    double fresh_;
    double value_ = 0.0;
};

}  // namespace wendra::sim
