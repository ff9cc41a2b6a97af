// Loading a 4000x3000 JPEG map into its 16-bit bitmap, against libjpeg-turbo decoding
// the same file alone in the same run: the load's own cost (row hand-over, night
// colours, packing) is the ratio of the two. The JPEG is made once with the program's
// own encoder. BM_LoadOverDecode alternates the two and reports the ratio of their
// processor times, which holds on a machine busy with other work.

#include <benchmark/benchmark.h>
#include <jpeglib.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "maps/JpegEncoder.h"
#include "maps/MapImageLoad.h"

namespace {

constexpr int kWidth = 4000;
constexpr int kHeight = 3000;

// A map-like picture: smooth areas with some detail, so the entropy decoder has work.
const std::filesystem::path& benchJpeg() {
    static const std::filesystem::path path = [] {
        const auto p = std::filesystem::temp_directory_path() /
                       ("wendra-map-bench-" + std::to_string(::getpid()) + ".jpg");
        wendra::maps::JpegEncoder encoder;
        if (!encoder.start(p, kWidth, kHeight)) std::abort();
        std::vector<std::uint8_t> row(kWidth * 3);
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) {
                row[x * 3] = static_cast<std::uint8_t>(x / 16 + y / 32);
                row[x * 3 + 1] = static_cast<std::uint8_t>(((x ^ y) & 64) ? 200 : 90);
                row[x * 3 + 2] = static_cast<std::uint8_t>((x * y) >> 9);
            }
            if (!encoder.writeRow(row.data())) std::abort();
        }
        if (!encoder.close()) std::abort();
        std::atexit([] { std::filesystem::remove(benchJpeg()); });
        return p;
    }();
    return path;
}

void decodeAlone(const std::filesystem::path& path) {
    jpeg_decompress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&info);
    std::FILE* file = std::fopen(path.c_str(), "rb");
    jpeg_stdio_src(&info, file);
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    std::vector<std::uint8_t> row(info.output_width * 3);
    JSAMPROW rows[1] = {row.data()};
    while (info.output_scanline < info.output_height) jpeg_read_scanlines(&info, rows, 1);
    benchmark::DoNotOptimize(row.data());
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    std::fclose(file);
}

void BM_LibjpegAlone(benchmark::State& state) {
    const auto& path = benchJpeg();
    for (auto _ : state) decodeAlone(path);
    state.counters["Mpixel/s"] =
        benchmark::Counter(static_cast<double>(kWidth) * kHeight * state.iterations() / 1e6,
                           benchmark::Counter::kIsRate);
}

void BM_LoadIntoMapBitmap(benchmark::State& state) {
    const auto& path = benchJpeg();
    const std::atomic<bool> never{false};
    const auto mode = static_cast<wendra::maps::NightMode>(state.range(0));
    for (auto _ : state) {
        auto load = wendra::maps::loadMapImage(path, mode, 1ull << 32, never);
        if (load.result != wendra::maps::LoadResult::Loaded) state.SkipWithError("load failed");
        benchmark::DoNotOptimize(load.image.get());
    }
    state.counters["Mpixel/s"] =
        benchmark::Counter(static_cast<double>(kWidth) * kHeight * state.iterations() / 1e6,
                           benchmark::Counter::kIsRate);
}

double processorMs() {
    return 1000.0 * static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
}

void BM_LoadOverDecode(benchmark::State& state) {
    const auto& path = benchJpeg();
    const std::atomic<bool> never{false};
    const auto mode = static_cast<wendra::maps::NightMode>(state.range(0));
    double alone = 0;
    double load = 0;
    for (auto _ : state) {
        const double start = processorMs();
        decodeAlone(path);
        const double decoded = processorMs();
        auto loaded = wendra::maps::loadMapImage(path, mode, 1ull << 32, never);
        if (loaded.result != wendra::maps::LoadResult::Loaded) state.SkipWithError("load failed");
        benchmark::DoNotOptimize(loaded.image.get());
        loaded.image.reset();
        const double end = processorMs();
        alone += decoded - start;
        load += end - decoded;
    }
    state.counters["alone_ms"] = alone / static_cast<double>(state.iterations());
    state.counters["load_ms"] = load / static_cast<double>(state.iterations());
    state.counters["ratio"] = alone > 0 ? load / alone : 0;
}

}  // namespace

BENCHMARK(BM_LibjpegAlone)->Unit(benchmark::kMillisecond)->MinTime(2.0);
// 0: daylight; 2: the night mode with the most work per pixel.
BENCHMARK(BM_LoadIntoMapBitmap)->Arg(0)->Arg(2)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_LoadOverDecode)->Arg(0)->Arg(2)->Unit(benchmark::kMillisecond)->MinTime(2.0);
