#pragma once
// The simulator's only source of chance. The engine's sequence is fixed by the C++
// standard and the conversions are our own (the library's distributions differ
// between implementations), so one seed gives the same log everywhere.

#include <cstdint>
#include <random>

namespace wendra::sim {

class Random {
public:
    explicit Random(std::uint64_t seed) : engine_(seed) {}

    double uniform();   // in [0, 1)
    double gaussian();  // mean 0, standard deviation 1

private:
    std::mt19937_64 engine_;
    double spare_ = 0.0;
    bool hasSpare_ = false;
};

}  // namespace wendra::sim
