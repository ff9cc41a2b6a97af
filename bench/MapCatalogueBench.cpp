// One ranking pass over 1000 maps (target: under 1 ms): a 40 x 25 grid of maps of
// 0.1 degree with stored sizes, so no image is touched. "Moving" shifts the view by
// more than a map pixel each pass, so every distance is measured again; "Still" keeps
// it, so each map costs one comparison.

#include <benchmark/benchmark.h>

#include "maps/MapCatalogue.h"

namespace {

using wendra::maps::MapCatalogue;
using wendra::maps::MapDefinition;

constexpr int kColumns = 40;
constexpr int kRows = 25;
constexpr double kSpan = 0.1;

void fill(MapCatalogue& catalogue) {
    for (int row = 0; row < kRows; ++row)
        for (int column = 0; column < kColumns; ++column) {
            MapDefinition d;
            d.imagePath = u"/maps/grid/" + std::u16string(1, u'a' + column % 26) + u".jpg";
            d.userFlags = wendra::maps::kMapActive;
            const double top = 47.0 + row * kSpan, left = 7.0 + column * kSpan;
            d.cornerLatitudes = {top, top, top - kSpan, top - kSpan};
            d.cornerLongitudes = {left, left + kSpan, left, left + kSpan};
            d.width = 1000 + (row * kColumns + column) % 7 * 500;
            d.height = 1000;
            d.bytesPerPixel = 2;
            catalogue.newMap()->setDefinition(d);
        }
}

void rankPass(benchmark::State& state, bool moving) {
    wendra::maps::MapShell shell;
    MapCatalogue catalogue(shell);
    catalogue.setFreeMemorySource([] { return std::int64_t{1} << 40; },
                                  wendra::maps::kFreeMemoryMargin);
    fill(catalogue);
    wendra::maps::RankingView view{48.2, 8.9, 1.2e6f, 1166};
    int step = 0;
    for (auto _ : state) {
        if (moving) view.latitude = 48.2 + 0.001 * (++step % 100);
        catalogue.rank(view);
        benchmark::DoNotOptimize(catalogue.limitOfLoadedMaps());
    }
    state.counters["maps"] = static_cast<double>(catalogue.size());
}

void BM_RankMoving(benchmark::State& state) {
    rankPass(state, true);
}
void BM_RankStill(benchmark::State& state) {
    rankPass(state, false);
}

BENCHMARK(BM_RankMoving)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RankStill)->Unit(benchmark::kMicrosecond);

}  // namespace
