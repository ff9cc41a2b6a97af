#pragma once
// PNG map images through libpng, every colour type and bit depth, interlaced or not.
// Palette images and opaque grey images come as palette indices (grey gets a grey
// palette); the rest as red, green, blue, 16-bit samples cut to their high byte and
// transparency kept for the alpha rows of tile overlays. An interlaced image is
// assembled whole before its first row is delivered (see workingMemory()).

#include <array>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <vector>

#include "maps/MapImageDecoder.h"

namespace wendra::maps {

class PngDecoder final : public MapImageDecoder {
public:
    PngDecoder();
    ~PngDecoder() override;

    OpenResult open(const std::filesystem::path& path) override;
    int nextRowIndex() const override;
    int readRow(std::uint8_t* row) override;
    int readRowWithAlpha(std::uint8_t* rgba) override;

    // The whole image when interlaced.
    std::uint64_t workingMemory() const override;

    struct Library;

private:
    // The next row in the library's form (indices, or red, green, blue, alpha).
    const std::uint8_t* nextRow();
    void takePalette();
    bool assembleInterlaced();

    std::unique_ptr<Library> png_;
    std::array<std::uint8_t, 256> alpha_;
    std::vector<std::uint8_t> line_;
    std::vector<std::uint8_t> wholeImage_;
    bool interlaced_ = false;
    int passes_ = 1;
    int rowsRead_ = 0;
};

}  // namespace wendra::maps
