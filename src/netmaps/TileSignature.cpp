#include "netmaps/TileSignature.h"

#include <algorithm>
#include <array>

namespace wendra::netmaps {

namespace {

constexpr std::size_t kWordOffset = 100;
constexpr std::uint32_t kHashMask = 0xBC614E;
constexpr std::uint32_t kHashAddend = 87654321;
constexpr std::array<std::uint8_t, 4> kPngStart{0x89, 'P', 'N', 'G'};
constexpr std::array<std::uint8_t, 3> kJpegStart{0xFF, 0xD8, 0xFF};
constexpr std::array<std::uint8_t, 4> kJfif{'J', 'F', 'I', 'F'};
constexpr std::size_t kJfifOffset = 6;

std::uint32_t bigEndianWord(std::span<const std::uint8_t> body, std::size_t at) {
    if (at + 4 > body.size()) return 0;
    return std::uint32_t{body[at]} << 24 | std::uint32_t{body[at + 1]} << 16 |
           std::uint32_t{body[at + 2]} << 8 | std::uint32_t{body[at + 3]};
}

template <std::size_t N>
bool hasAt(std::span<const std::uint8_t> body, std::size_t at,
           const std::array<std::uint8_t, N>& bytes) {
    return body.size() >= at + N && std::equal(bytes.begin(), bytes.end(), body.begin() + at);
}

}  // namespace

TileSignature signatureOf(std::span<const std::uint8_t> body) {
    TileSignature s;
    s.length = static_cast<std::int64_t>(body.size());
    s.word = bigEndianWord(body, kWordOffset);
    // The handheld's 32-bit arithmetic, wrapping; the last word read ends before the
    // final byte, as its loop bound had it.
    std::uint32_t h = 0;
    for (std::size_t i = 0; i + 4 < body.size(); i += 4)
        h = bigEndianWord(body, i) ^ ((h ^ kHashMask) + kHashAddend);
    s.hash = h;
    return s;
}

TileType classify(std::span<const std::uint8_t> body, const TileSignature& placeholder) {
    if (placeholder.learned() && signatureOf(body) == placeholder) return TileType::None;
    if (hasAt(body, 0, kPngStart)) return TileType::Png;
    // Exif and bare JPEGs have no "JFIF" but every JPEG starts with its SOI marker.
    if (hasAt(body, 0, kJpegStart) || hasAt(body, kJfifOffset, kJfif)) return TileType::Jpeg;
    return TileType::None;
}

}  // namespace wendra::netmaps
