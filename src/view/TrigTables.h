#pragma once
// cos and sin of every whole degree from 0 to 720, as doubles and as floats, so that
// an angle plus an offset of up to one turn needs no wrapping. Indices outside 0..720
// are not checked: callers wrap first (wrapDegrees).

#include <array>

namespace wendra {

class TrigTables {
public:
    static constexpr int kDegrees = 721;

    TrigTables();

    double cosD(int degrees) const { return doubles_[degrees]; }
    double sinD(int degrees) const { return doubles_[degrees + kDegrees]; }
    float cosF(int degrees) const { return floats_[degrees]; }
    float sinF(int degrees) const { return floats_[degrees + kDegrees]; }

    // Any whole angle brought into 0..359.
    static int wrapDegrees(int degrees);

private:
    std::array<double, 2 * kDegrees> doubles_{};
    std::array<float, 2 * kDegrees> floats_{};
};

}  // namespace wendra
