#pragma once
// The arithmetic of the ranking, apart from the catalogue's locks: how far a map lies
// from the view position, how badly its scale fits the view's, the score that orders
// the candidates and the sort that keeps equal scores in catalogue order.

#include <cstddef>
#include <span>
#include <vector>

#include "maps/CalibratedMap.h"
#include "maps/MapEntry.h"

namespace wendra::maps {

inline constexpr float kNoScaleMismatch = 999999.0f;

// How badly a map of `lonScale` fits a view of `a` pixels per half-turn of longitude;
// a map that must be enlarged counts double.
float scaleMismatch(float lonScale, float a);

// Updates distance and contains flag unless the position moved less than a map pixel
// since the last evaluation. `c` is the cosine of the view latitude.
void evaluateDistance(const CalibratedMap& map, MapSelection& selection, double latitude,
                      double longitude, float c);

// The bounds of one pass that the scores are measured against.
struct ScoreBase {
    double maxIn = 1e-8;
    double maxOut = 1e-8;
    float minMismatch = 9999999.0f;
    double outsideFactor = 0;  // k: view scale / screen diagonal / 1.41
};

float rankScore(const MapSelection& selection, const ScoreBase& base);

// Ascending by key with gaps 1, 4, 13, 40...; an element moves back only past a
// strictly greater key, so equal keys keep their order.
template <typename T, typename Key>
void shellSort(std::vector<T>& items, Key key) {
    const std::size_t n = items.size();
    if (n < 2) return;
    std::size_t gap = 1;
    while (gap < (n - 1) / 3) gap = 3 * gap + 1;
    for (; gap > 0; gap /= 3) {
        for (std::size_t i = gap; i < n; ++i) {
            T moving = std::move(items[i]);
            const auto k = key(moving);
            std::size_t j = i;
            for (; j >= gap && key(items[j - gap]) > k; j -= gap)
                items[j] = std::move(items[j - gap]);
            items[j] = std::move(moving);
        }
    }
}

}  // namespace wendra::maps
