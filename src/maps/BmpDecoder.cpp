#include "maps/BmpDecoder.h"

#include <cstring>

namespace wendra::maps {

namespace {

constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr long kFileHeaderSize = 14;
constexpr std::uint32_t kUncompressed = 0;
constexpr std::uint32_t kBitFields = 3;

// A mask is usable when it is one run of set bits.
bool describe(std::uint32_t mask, BmpDecoder::Channel& channel) {
    if (mask == 0) return false;
    channel.mask = mask;
    channel.shift = __builtin_ctz(mask);
    const std::uint32_t run = mask >> channel.shift;
    if ((run & (run + 1)) != 0) return false;
    channel.bits = __builtin_popcount(mask);
    return true;
}

// A channel value of any width as 8 bits: wide ones keep their top bits, narrow ones
// are scaled so that full intensity stays 255.
std::uint8_t toByte(std::uint32_t pixel, const BmpDecoder::Channel& c) {
    const std::uint32_t v = (pixel & c.mask) >> c.shift;
    if (c.bits >= 8) return static_cast<std::uint8_t>(v >> (c.bits - 8));
    return static_cast<std::uint8_t>(v * 255 / ((1u << c.bits) - 1));
}

}  // namespace

struct BmpDecoder::Header {
    std::uint32_t dataOffset = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::uint16_t bits = 0;
    std::uint32_t compression = 0;
    std::uint32_t coloursUsed = 0;
};

OpenResult BmpDecoder::open(const std::filesystem::path& path) {
    if (!file_.open(path)) return OpenResult::CannotOpen;
    Header header;
    if (const OpenResult r = readHeader(header); r != OpenResult::Opened) return r;
    if (const OpenResult r = readLayout(header); r != OpenResult::Opened) return r;
    // Rows start where the file header says, whatever lies between palette and pixels.
    // An offset inside the headers is a writer's slip: the rows then follow the palette.
    if (header.dataOffset >= kFileHeaderSize + kInfoHeaderSize && !file_.seek(header.dataOffset))
        return OpenResult::Unsupported;
    const std::size_t rowBytes =
        (static_cast<std::size_t>(shape_.width) * bitsPerPixel_ / 8 + 3) / 4 * 4;
    raw_.resize(rowBytes);
    return OpenResult::Opened;
}

OpenResult BmpDecoder::readHeader(Header& h) {
    char signature[2];
    std::uint32_t infoSize = 0;
    std::uint16_t planes = 0;
    if (!file_.read(signature, 2)) return OpenResult::Unsupported;
    if (std::memcmp(signature, "BM", 2) != 0 && std::memcmp(signature, "BA", 2) != 0)
        return OpenResult::Unsupported;
    if (!file_.skip(8) || !file_.u32(h.dataOffset) || !file_.u32(infoSize) ||
        infoSize != kInfoHeaderSize || !file_.i32(h.width) || !file_.i32(h.height) ||
        !file_.u16(planes) || !file_.u16(h.bits) || !file_.u32(h.compression) || !file_.skip(12) ||
        !file_.u32(h.coloursUsed) || !file_.skip(4))
        return OpenResult::Unsupported;
    return OpenResult::Opened;
}

OpenResult BmpDecoder::readLayout(const Header& h) {
    const bool knownBits = h.bits == 8 || h.bits == 16 || h.bits == 24 || h.bits == 32;
    const bool maskable = h.bits == 16 || h.bits == 32;
    if (!knownBits) return OpenResult::Unsupported;
    if (h.compression != kUncompressed && !(h.compression == kBitFields && maskable))
        return OpenResult::Unsupported;
    const std::int64_t height = h.height;
    topDown_ = height < 0;
    shape_ = {h.width, static_cast<int>(topDown_ ? -height : height), h.bits == 8};
    if (h.height == INT32_MIN || !shape_.valid()) return OpenResult::Unsupported;
    bitsPerPixel_ = h.bits;
    std::uint32_t masks[3] = {0x7C00, 0x03E0, 0x001F};  // 16 bits uncompressed: 5-5-5
    if (h.bits == 32) {
        masks[0] = 0xFF0000, masks[1] = 0xFF00, masks[2] = 0xFF;
    }
    if (h.compression == kBitFields &&
        (!file_.u32(masks[0]) || !file_.u32(masks[1]) || !file_.u32(masks[2])))
        return OpenResult::Unsupported;
    if (maskable) {
        for (int i = 0; i < 3; ++i) {
            if (!describe(masks[i], channels_[i])) return OpenResult::Unsupported;
        }
    }
    // "Colours used" 0 means the full table of the bit count.
    if (h.bits == 8 && !readPalette(h.coloursUsed == 0 ? 256 : h.coloursUsed))
        return OpenResult::Unsupported;
    return OpenResult::Opened;
}

bool BmpDecoder::readPalette(std::uint32_t entries) {
    const std::uint32_t kept = entries < 256 ? entries : 256;
    for (std::uint32_t i = 0; i < kept; ++i) {
        std::uint8_t bgrx[4];
        if (!file_.read(bgrx, 4)) return false;
        palette_[i * 3] = bgrx[2];
        palette_[i * 3 + 1] = bgrx[1];
        palette_[i * 3 + 2] = bgrx[0];
    }
    return true;
}

int BmpDecoder::nextRowIndex() const {
    if (rowsRead_ >= shape_.height) return -1;
    return topDown_ ? rowsRead_ : shape_.height - 1 - rowsRead_;
}

int BmpDecoder::readRow(std::uint8_t* row) {
    const int index = nextRowIndex();
    if (index < 0 || !file_.read(raw_.data(), raw_.size())) return -1;
    ++rowsRead_;
    const int width = shape_.width;
    switch (bitsPerPixel_) {
        case 8:
            std::memcpy(row, raw_.data(), width);
            break;
        case 24:
            for (int x = 0; x < width; ++x) {
                row[x * 3] = raw_[x * 3 + 2];
                row[x * 3 + 1] = raw_[x * 3 + 1];
                row[x * 3 + 2] = raw_[x * 3];
            }
            break;
        default:
            convertMasked(raw_.data(), row);
    }
    return index;
}

void BmpDecoder::convertMasked(const std::uint8_t* raw, std::uint8_t* rgb) const {
    const int bytes = bitsPerPixel_ / 8;
    for (int x = 0; x < shape_.width; ++x, raw += bytes, rgb += 3) {
        std::uint32_t pixel = raw[0] | raw[1] << 8;
        if (bytes == 4)
            pixel |= static_cast<std::uint32_t>(raw[2]) << 16 | static_cast<std::uint32_t>(raw[3])
                                                                    << 24;
        for (int c = 0; c < 3; ++c) rgb[c] = toByte(pixel, channels_[c]);
    }
}

}  // namespace wendra::maps
