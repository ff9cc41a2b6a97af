// wendra-tool image decode: loads a map image into the 16-bit map bitmap exactly as a
// map load does (decoder chosen by the first bytes, night colours applied) and writes
// that bitmap back as an 8-bit PNG, so what a map will show can be looked at and
// compared. "-" instead of the output decodes without writing, for timing.

#include <png.h>

#include <atomic>
#include <cstdio>
#include <string>
#include <vector>

#include "Verbs.h"
#include "maps/MapImageLoad.h"
#include "platform/MemoryStatus.h"

namespace wendra::tool {

namespace {

// Without a figure from the machine, a budget that any map of sane size fits.
constexpr std::uint64_t kFallbackBudget = 1ull << 30;

std::uint8_t expand5(unsigned c) {
    return static_cast<std::uint8_t>(c << 3 | c >> 2);
}

std::vector<std::uint8_t> rgbOf(const maps::MapImage& image) {
    std::vector<std::uint8_t> rgb(static_cast<std::size_t>(image.width()) * image.height() * 3);
    std::uint8_t* out = rgb.data();
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x, out += 3) {
            const platform::Pixel16 p = image.pixelAt(x, y);
            out[0] = expand5(p >> 11 & 0x1F);
            out[1] = expand5(p >> 6 & 0x1F);
            out[2] = expand5(p & 0x1F);
        }
    }
    return rgb;
}

void writePng(const maps::MapImage& image, const std::string& path) {
    const std::vector<std::uint8_t> rgb = rgbOf(image);
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    png.width = static_cast<png_uint_32>(image.width());
    png.height = static_cast<png_uint_32>(image.height());
    png.format = PNG_FORMAT_RGB;
    if (!png_image_write_to_file(&png, path.c_str(), 0, rgb.data(), 0, nullptr))
        fail("cannot write " + path + ": " + png.message);
}

std::uint64_t memoryBudget() {
    const std::int64_t available = platform::availableMemoryBytes();
    return available > 0 ? static_cast<std::uint64_t>(available) : kFallbackBudget;
}

}  // namespace

int runImage(const Args& args) {
    if (args.empty() || args[0] != "decode") fail("image: expected \"decode FILE OUT.png|-\"");
    std::vector<std::string> files;
    int night = 0;
    for (size_t i = 1; i < args.size(); ++i) {
        if (args[i] == "--night") {
            night = static_cast<int>(parseInteger(optionValue(args, i), "--night"));
            if (night < 0 || night >= maps::kNightModeCount) fail("--night must be 0..4");
        } else {
            files.push_back(args[i]);
        }
    }
    if (files.size() != 2) fail("image decode: expected FILE and OUT.png (or -)");
    const std::atomic<bool> never{false};
    const maps::MapImageLoad load =
        maps::loadMapImage(files[0], maps::nightModeFromNumber(night), memoryBudget(), never);
    if (load.result != maps::LoadResult::Loaded) fail(maps::loadMessage(load.result, files[0]));
    if (files[1] != "-") writePng(*load.image, files[1]);
    std::printf("{\"width\":%d,\"height\":%d,\"palette\":%s,\"memory_need\":%llu}\n",
                load.image->width(), load.image->height(),
                load.image->hasPalette() ? "true" : "false",
                static_cast<unsigned long long>(load.image->memoryNeed()));
    return 0;
}

}  // namespace wendra::tool
