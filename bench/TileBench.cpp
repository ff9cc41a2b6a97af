// The tile cache's two costs: converting one downloaded tile into its cached JPEG
// (target: under 3 ms), with a PNG or JPEG base, each with and without a PNG overlay
// blended in; and loading an index of 2000 tiles with their maps into a catalogue
// (target: under 20 ms). The images are textured, so the codecs work as on real tiles.

#include <benchmark/benchmark.h>
#include <png.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "maps/JpegEncoder.h"
#include "maps/MapCatalogue.h"
#include "netmaps/TileCacheFile.h"
#include "netmaps/TileConversion.h"

namespace {

namespace fs = std::filesystem;
using namespace wendra::netmaps;

constexpr int kSide = 256;
constexpr int kIndexTiles = 2000;

fs::path benchFolder() {
    static const fs::path folder = [] {
        fs::path f = fs::temp_directory_path() / ("wendra-tilebench-" + std::to_string(getpid()));
        fs::create_directories(f);
        return f;
    }();
    return folder;
}

struct Cleanup {
    ~Cleanup() { fs::remove_all(benchFolder()); }
} cleanup;

// Streets-like texture: smooth areas crossed by lines, enough detail for the codecs.
std::vector<std::uint8_t> texture(int channels, bool sparse) {
    std::vector<std::uint8_t> bytes;
    for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide; ++x) {
            const bool line = (x % 37) < 3 || (y % 29) < 2 || ((x + y) % 53) < 2;
            bytes.push_back(static_cast<std::uint8_t>(line ? 250 : 200 + (x * y) % 40));
            bytes.push_back(static_cast<std::uint8_t>(line ? 240 : 210 + (x ^ y) % 30));
            bytes.push_back(static_cast<std::uint8_t>(line ? 120 : 190 + y % 50));
            if (channels == 4)
                bytes.push_back(static_cast<std::uint8_t>(sparse && !line ? 0 : 255));
        }
    return bytes;
}

void writePng(const fs::path& path, bool alpha) {
    const std::vector<std::uint8_t> bytes = texture(alpha ? 4 : 3, alpha);
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    png.width = kSide;
    png.height = kSide;
    png.format = alpha ? PNG_FORMAT_RGBA : PNG_FORMAT_RGB;
    png_image_write_to_file(&png, path.c_str(), 0, bytes.data(), kSide * (alpha ? 4 : 3), nullptr);
}

void writeJpeg(const fs::path& path) {
    const std::vector<std::uint8_t> bytes = texture(3, false);
    wendra::maps::JpegEncoder encoder;
    encoder.start(path, kSide, kSide);
    for (int y = 0; y < kSide; ++y)
        encoder.writeRow(&bytes[static_cast<std::size_t>(y) * kSide * 3]);
    encoder.close();
}

void BM_ConvertTile(benchmark::State& state) {
    const bool jpegBase = state.range(0) != 0;
    const bool overlay = state.range(1) != 0;
    const fs::path folder =
        benchFolder() / (std::to_string(state.range(0)) + std::to_string(state.range(1)));
    fs::create_directories(folder);
    const ConversionFiles files =
        scratchFiles(folder, folder / "cache/OSM-Piste/14/00005000/00008000.jpg");
    if (jpegBase)
        writeJpeg(files.base);
    else
        writePng(files.base, false);
    if (overlay) writePng(files.overlay, true);
    const std::atomic<bool> cancel{false};
    for (auto _ : state) {
        Tile tile;
        tile.address = {8000, 5000, 14};
        tile.baseType = jpegBase ? TileType::Jpeg : TileType::Png;
        if (overlay) {
            tile.flags |= tileflag::kHasOverlay;
            tile.overlayType = TileType::Png;
        }
        if (convertTile(tile, files, cancel) != ConversionResult::Done) {
            state.SkipWithError("conversion failed");
            break;
        }
        benchmark::DoNotOptimize(tile.fileSize);
    }
    state.SetLabel(std::string(jpegBase ? "JPEG" : "PNG") + " base" +
                   (overlay ? " + PNG overlay" : ""));
}

void writeIndex(const fs::path& folder) {
    std::ofstream out(folder / std::string(kTileCacheFileName));
    out << "NetBmpMgr|1|4|2064|" << (folder / "cache").string().size() << '|'
        << (folder / "cache").string() << "|0||60|\n";
    for (int i = 0; i < kIndexTiles; ++i) {
        Tile t;
        t.address = {8000 + i % 50, 5000 + i / 50, 14};
        t.source = 4;
        t.fileSize = 12000 + i;
        t.stamp = 9500.5;
        out << netBmpRecord(t, 1 + i % 300, true);
    }
}

void BM_LoadIndex2000(benchmark::State& state) {
    const fs::path folder = benchFolder() / "index";
    fs::create_directories(folder);
    writeIndex(folder);
    int loaded = 0;
    for (auto _ : state) {
        wendra::maps::MapShell shell;
        auto catalogue = std::make_unique<wendra::maps::MapCatalogue>(shell);
        TileSettings settings;
        SourceSettings sources;
        TileCache cache(*catalogue, settings, sources);
        loaded = loadTileCacheFile(cache, folder);
        state.PauseTiming();
        cache.deleteCache();  // the maps go before their catalogue; no tile files exist
        catalogue.reset();
        state.ResumeTiming();
    }
    state.counters["tiles"] = loaded;
}

}  // namespace

BENCHMARK(BM_ConvertTile)->ArgsProduct({{0, 1}, {0, 1}})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadIndex2000)->Unit(benchmark::kMillisecond);
