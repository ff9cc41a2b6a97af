#pragma once
// Tile images for the tests: 256-pixel PNG and JPEG files of a colour given per pixel,
// and the decoded rows of a cached tile.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <vector>

namespace wendra::test {

struct Rgba {
    std::uint8_t r = 0, g = 0, b = 0, a = 255;
};
using PixelAt = std::function<Rgba(int x, int y)>;  // y from the top

void writeTilePng(const std::filesystem::path& path, const PixelAt& pixel, bool alpha,
                  int side = 256);
void writeTileJpeg(const std::filesystem::path& path, const PixelAt& pixel, int side = 256);
// Red, green, blue rows top first; empty when the file cannot be decoded.
std::vector<std::uint8_t> decodeTileRgb(const std::filesystem::path& path);

}  // namespace wendra::test
