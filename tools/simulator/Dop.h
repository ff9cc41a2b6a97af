#pragma once
// Dilution of precision of a set of satellites, from their directions alone (the
// usual least-squares geometry with a receiver clock term). Fewer than four
// satellites, or a degenerate geometry, give no value.

#include <optional>
#include <vector>

#include "simulator/SkyModel.h"

namespace wendra::sim {

struct Dop {
    double position = 0.0;
    double horizontal = 0.0;
    double vertical = 0.0;
};

std::optional<Dop> computeDop(const std::vector<SatellitePosition>& used);

}  // namespace wendra::sim
