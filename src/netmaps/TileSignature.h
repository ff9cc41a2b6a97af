#pragma once
// The missing-tile signature: a server answers a tile it does not have with one and the
// same placeholder image, which the service learns from a tile no server has (level 21,
// x 0x80000, y 0x7ffff) and then refuses. Bodies are hostile: any bytes, any length.

#include <cstdint>
#include <span>

#include "netmaps/Tile.h"

namespace wendra::netmaps {

// The tile asked to learn a source's placeholder.
inline constexpr TileAddress kSignatureProbe{0x80000, 0x7ffff, kMaxTileLevel};

struct TileSignature {
    std::int64_t length = -1;  // all -1 until learned
    std::int64_t word = -1;    // big-endian word at byte 100, 0 for shorter bodies
    std::int64_t hash = -1;

    bool learned() const { return length >= 0; }
    bool operator==(const TileSignature&) const = default;
};

TileSignature signatureOf(std::span<const std::uint8_t> body);
// PNG by its signature bytes; JPEG by its start-of-image marker FF D8 FF or by "JFIF"
// at bytes 6 to 9; None for anything else or a body with the placeholder's signature.
TileType classify(std::span<const std::uint8_t> body, const TileSignature& placeholder);

}  // namespace wendra::netmaps
