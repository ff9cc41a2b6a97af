#include "simulator/Dop.h"

#include <array>
#include <cmath>
#include <numbers>
#include <utility>

namespace wendra::sim {

namespace {

constexpr double kDegree = std::numbers::pi / 180.0;
constexpr double kSingular = 1e-12;

using Matrix = std::array<std::array<double, 4>, 4>;

// Gauss-Jordan with partial pivoting; false when the matrix is (nearly) singular.
bool invert(Matrix a, Matrix& inverse) {
    inverse = {};
    for (int i = 0; i < 4; ++i) inverse[i][i] = 1.0;
    for (int col = 0; col < 4; ++col) {
        int pivot = col;
        for (int row = col + 1; row < 4; ++row)
            if (std::abs(a[row][col]) > std::abs(a[pivot][col])) pivot = row;
        if (std::abs(a[pivot][col]) < kSingular) return false;
        std::swap(a[pivot], a[col]);
        std::swap(inverse[pivot], inverse[col]);
        const double scale = 1.0 / a[col][col];
        for (int k = 0; k < 4; ++k) {
            a[col][k] *= scale;
            inverse[col][k] *= scale;
        }
        for (int row = 0; row < 4; ++row) {
            if (row == col) continue;
            const double factor = a[row][col];
            for (int k = 0; k < 4; ++k) {
                a[row][k] -= factor * a[col][k];
                inverse[row][k] -= factor * inverse[col][k];
            }
        }
    }
    return true;
}

}  // namespace

std::optional<Dop> computeDop(const std::vector<SatellitePosition>& used) {
    if (used.size() < 4) return std::nullopt;
    Matrix normal{};
    for (const SatellitePosition& sat : used) {
        const double el = sat.elevation * kDegree, az = sat.azimuth * kDegree;
        const std::array<double, 4> row{std::cos(el) * std::sin(az), std::cos(el) * std::cos(az),
                                        std::sin(el), 1.0};
        for (int i = 0; i < 4; ++i)
            for (int j = 0; j < 4; ++j) normal[i][j] += row[i] * row[j];
    }
    Matrix q;
    if (!invert(normal, q)) return std::nullopt;
    const double east = q[0][0], north = q[1][1], up = q[2][2];
    if (east < 0.0 || north < 0.0 || up < 0.0) return std::nullopt;
    return Dop{std::sqrt(east + north + up), std::sqrt(east + north), std::sqrt(up)};
}

}  // namespace wendra::sim
