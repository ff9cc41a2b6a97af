#include "maps/MapImageDecoder.h"

namespace wendra::maps {

int MapImageDecoder::readRowWithAlpha(std::uint8_t* rgba) {
    const int width = shape_.width;
    alphaScratch_.resize(static_cast<std::size_t>(width) * pixelBytes_);
    const int row = readRow(alphaScratch_.data());
    if (row < 0) return -1;
    for (int x = 0; x < width; ++x) {
        const std::uint8_t* c =
            shape_.palette ? &palette_[alphaScratch_[x] * 3] : &alphaScratch_[x * pixelBytes_];
        rgba[x * 4] = c[0];
        rgba[x * 4 + 1] = c[1];
        rgba[x * 4 + 2] = c[2];
        rgba[x * 4 + 3] = 255;
    }
    return row;
}

bool MapImageDecoder::startEncoding(const std::filesystem::path&, int, int) {
    return false;
}

bool MapImageDecoder::writeRow(const std::uint8_t*) {
    return false;
}

bool MapImageDecoder::close() {
    return true;
}

void MapImageDecoder::setGreyPalette() {
    for (int i = 0; i < 256; ++i) {
        palette_[i * 3] = palette_[i * 3 + 1] = palette_[i * 3 + 2] = static_cast<std::uint8_t>(i);
    }
}

}  // namespace wendra::maps
