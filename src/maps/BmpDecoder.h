#pragma once
// The program's own BMP reader: the 40-byte info header with 8, 16, 24 or 32 bits per
// pixel, uncompressed or with bit-field masks. Other headers, bit counts and the RLE
// compressions are refused as unsupported. Rows come bottom-up unless the height is
// negative (a top-down file), and start at the pixel-data offset of the file header.

#include <cstdint>
#include <vector>

#include "maps/ImageFile.h"
#include "maps/MapImageDecoder.h"

namespace wendra::maps {

class BmpDecoder final : public MapImageDecoder {
public:
    OpenResult open(const std::filesystem::path& path) override;
    int nextRowIndex() const override;
    int readRow(std::uint8_t* row) override;

    // One colour channel of a bit-field pixel: where it sits and how wide it is.
    struct Channel {
        std::uint32_t mask = 0;
        int shift = 0;
        int bits = 0;
    };

private:
    struct Header;
    OpenResult readHeader(Header& header);
    OpenResult readLayout(const Header& header);
    bool readPalette(std::uint32_t entries);
    void convertMasked(const std::uint8_t* raw, std::uint8_t* rgb) const;

    ImageFile file_;
    int bitsPerPixel_ = 0;
    bool topDown_ = false;
    Channel channels_[3];
    std::vector<std::uint8_t> raw_;
    int rowsRead_ = 0;
};

}  // namespace wendra::maps
