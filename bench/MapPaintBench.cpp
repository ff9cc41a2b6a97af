// Painting one loaded map into a 1920x1080 view, at one map pixel per screen pixel
// and at 2x zoom, against a plain memcpy of the same frame in the same run: the
// painter's cost over moving the pixels is the ratio of the two.
// Frame/<zoom in percent>/<fresh>/<palette>: the whole of a frame's map, at a zoom that is no
// whole fraction of a pixel (the common case: 103 is a map shown a little enlarged,
// 70 one shown reduced). Fresh 0 fills the unpainted background and paints into it;
// fresh 1 lets the painter write the cell whole, as the catalogue does where the
// cells tile the view. Palette 1 paints a bitmap of 256 colours.

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <memory>
#include <vector>

#include "maps/MapPainter.h"

namespace {

using wendra::maps::CalibratedMap;
using wendra::maps::MapImage;
using wendra::platform::PixelBuffer;

constexpr int kViewWidth = 1920;
constexpr int kViewHeight = 1080;
constexpr int kMapWidth = 4000;
constexpr int kMapHeight = 3000;
constexpr double kDegreesPerMapPixel = 1e-5;
constexpr double kLon0 = 7.0, kLat0 = 46.0;

const CalibratedMap& benchMap() {
    static const CalibratedMap map = [] {
        wendra::maps::MapDefinition d;
        d.imagePath = u"/maps/bench.jpg";
        const double east = kLon0 + (kMapWidth - 1) * kDegreesPerMapPixel;
        const double south = kLat0 - (kMapHeight - 1) * kDegreesPerMapPixel;
        d.cornerLatitudes = {kLat0, kLat0, south, south};
        d.cornerLongitudes = {kLon0, east, kLon0, east};
        d.width = kMapWidth;
        d.height = kMapHeight;
        d.bytesPerPixel = 2;
        CalibratedMap m;
        if (!m.setDefinition(d)) std::abort();
        return m;
    }();
    return map;
}

const MapImage& benchImage(bool palette) {
    static const auto make = [](bool indexed) {
        auto image = MapImage::allocate({kMapWidth, kMapHeight, indexed});
        if (indexed)
            for (int i = 0; i < 256; ++i) image->palette()[i] = std::uint16_t(i * 0x0101 & ~0x20);
        for (int y = 0; y < kMapHeight; ++y) {
            for (int x = 0; x < kMapWidth; ++x) {
                if (indexed)
                    image->indexRow(y)[x] = std::uint8_t(x ^ y);
                else
                    image->pixelRow(y)[x] = std::uint16_t((x * 31 + y * 7) & ~0x20);
            }
        }
        return image;
    };
    static const std::unique_ptr<MapImage> trueColour = make(false), indexed = make(true);
    return palette ? *indexed : *trueColour;
}

// The whole view as one cell, `zoom` screen pixels per map pixel, away from the
// image's edges.
wendra::maps::MapCell viewCell(double zoom) {
    auto at = [zoom](int x, int y) {
        const double step = kDegreesPerMapPixel / zoom;
        return wendra::maps::CellCorner{kLat0 - 100 * kDegreesPerMapPixel - y * step,
                                        kLon0 + 100 * kDegreesPerMapPixel + x * step, x, y};
    };
    return {at(0, 0), at(kViewWidth, 0), at(0, kViewHeight), at(kViewWidth, kViewHeight)};
}

constexpr std::uint16_t kBackground = 0x7BEF | wendra::platform::kUnpaintedBit;

using Clock = std::chrono::steady_clock;

// Times the painting alone (the view is reset to unpainted between frames) and
// reports it as a multiple of the memcpy.
void paint(benchmark::State& state, int zoom, bool palette) {
    const CalibratedMap& map = benchMap();
    const MapImage& image = benchImage(palette);
    const wendra::maps::MapCell cell = viewCell(zoom);
    PixelBuffer view({kViewWidth, kViewHeight}, kBackground);
    std::vector<std::uint16_t> copy(view.data(), view.data() + kViewWidth * kViewHeight);
    double painting = 0, copying = 0;
    for (auto _ : state) {
        // The memcpy runs beside each frame, so both see the same load of the machine.
        const auto copyStart = Clock::now();
        std::memcpy(copy.data(), view.data(), copy.size() * 2);
        benchmark::DoNotOptimize(copy.data());
        benchmark::ClobberMemory();
        copying += std::chrono::duration<double>(Clock::now() - copyStart).count();
        view.fill(kBackground);
        std::int64_t unpainted = std::int64_t{kViewWidth} * kViewHeight;
        const auto start = Clock::now();
        wendra::maps::paintMapCell(map, image, cell, view, unpainted);
        benchmark::DoNotOptimize(view.data());
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        state.SetIterationTime(seconds);
        painting += seconds;
        if (unpainted != 0) state.SkipWithError("the view was not covered");
    }
    state.SetBytesProcessed(state.iterations() * kViewWidth * kViewHeight * 2);
    state.counters["x_memcpy"] = painting / copying;
}

void BM_PaintOneToOne(benchmark::State& state) {
    paint(state, 1, false);
}
void BM_PaintZoom2(benchmark::State& state) {
    paint(state, 2, false);
}
void BM_PaintPaletteOneToOne(benchmark::State& state) {
    paint(state, 1, true);
}
void BM_PaintPaletteZoom2(benchmark::State& state) {
    paint(state, 2, true);
}

void BM_Frame(benchmark::State& state) {
    const CalibratedMap& map = benchMap();
    const MapImage& image = benchImage(state.range(2) != 0);
    const wendra::maps::MapCell cell = viewCell(static_cast<double>(state.range(0)) / 100.0);
    const bool fresh = state.range(1) != 0;
    PixelBuffer view({kViewWidth, kViewHeight}, kBackground);
    for (auto _ : state) {
        std::int64_t unpainted = std::int64_t{kViewWidth} * kViewHeight;
        if (fresh) {
            wendra::maps::paintMapCell(map, image, cell, view, unpainted, kBackground);
        } else {
            view.fill(kBackground);
            wendra::maps::paintMapCell(map, image, cell, view, unpainted);
        }
        benchmark::DoNotOptimize(view.data());
        benchmark::ClobberMemory();
        if (unpainted != 0) state.SkipWithError("the view was not covered");
    }
    state.SetBytesProcessed(state.iterations() * kViewWidth * kViewHeight * 2);
}

void BM_MemcpyFrame(benchmark::State& state) {
    std::vector<std::uint16_t> from(kViewWidth * kViewHeight, 1), to(from.size());
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), from.size() * 2);
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * kViewWidth * kViewHeight * 2);
}

BENCHMARK(BM_MemcpyFrame)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PaintOneToOne)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PaintZoom2)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PaintPaletteOneToOne)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PaintPaletteZoom2)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Frame)
    ->Args({103, 0, 0})
    ->Args({103, 1, 0})
    ->Args({70, 0, 0})
    ->Args({70, 1, 0})
    ->Args({100, 1, 0})
    ->Args({103, 1, 1})
    ->Args({70, 1, 1})
    ->Unit(benchmark::kMicrosecond);

}  // namespace
