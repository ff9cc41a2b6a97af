#include "netmaps/TileImages.h"

#include <png.h>

#include <stdexcept>

#include "maps/JpegDecoder.h"
#include "maps/JpegEncoder.h"

namespace wendra::test {

void writeTilePng(const std::filesystem::path& path, const PixelAt& pixel, bool alpha, int side) {
    const int channels = alpha ? 4 : 3;
    std::vector<std::uint8_t> bytes;
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) {
            const Rgba p = pixel(x, y);
            bytes.insert(bytes.end(), {p.r, p.g, p.b});
            if (alpha) bytes.push_back(p.a);
        }
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    png.width = static_cast<png_uint_32>(side);
    png.height = static_cast<png_uint_32>(side);
    png.format = alpha ? PNG_FORMAT_RGBA : PNG_FORMAT_RGB;
    if (!png_image_write_to_file(&png, path.c_str(), 0, bytes.data(), side * channels, nullptr))
        throw std::runtime_error("cannot write " + path.string());
}

void writeTileJpeg(const std::filesystem::path& path, const PixelAt& pixel, int side) {
    maps::JpegEncoder encoder;
    if (!encoder.start(path, side, side, 95)) throw std::runtime_error("cannot write JPEG");
    std::vector<std::uint8_t> row(static_cast<std::size_t>(side) * 3);
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x) {
            const Rgba p = pixel(x, y);
            row[3 * x] = p.r;
            row[3 * x + 1] = p.g;
            row[3 * x + 2] = p.b;
        }
        encoder.writeRow(row.data());
    }
    if (!encoder.close()) throw std::runtime_error("cannot finish JPEG");
}

std::vector<std::uint8_t> decodeTileRgb(const std::filesystem::path& path) {
    maps::JpegDecoder decoder;
    if (decoder.open(path) != maps::OpenResult::Opened) return {};
    const maps::ImageShape shape = decoder.shape();
    std::vector<std::uint8_t> rgb(static_cast<std::size_t>(shape.width) * shape.height * 3);
    for (int y = 0; y < shape.height; ++y)
        if (decoder.readRow(rgb.data() + static_cast<std::size_t>(y) * shape.width * 3) != y)
            return {};
    return rgb;
}

}  // namespace wendra::test
