// Treats arbitrary bytes as a downloaded tile: classified against a placeholder learned
// from their first half, and when they pass for a tile, converted as the base (and, for
// a PNG, also as the overlay) into a cached JPEG. A conversion either ends with the
// tile in cache and its file whole, or with neither.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

#include "MemoryInput.h"
#include "netmaps/TileConversion.h"
#include "netmaps/TileSignature.h"

namespace {

using namespace wendra::netmaps;

void check(bool condition) {
    if (!condition) __builtin_trap();
}

const std::filesystem::path& folder() {
    static const std::filesystem::path path =
        std::filesystem::temp_directory_path() / ("wendra-fuzz-tile-" + std::to_string(getpid()));
    return path;
}

const std::filesystem::path& target() {
    static const std::filesystem::path path = folder() / "04/00000005/00000003.jpg";
    return path;
}

struct Cleanup {
    ~Cleanup() {
        std::error_code ignored;
        std::filesystem::remove_all(folder(), ignored);
    }
} cleanup;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const wendra::fuzz::MemoryInput body("tile-body");
    const std::span<const std::uint8_t> bytes(data, size);
    const TileSignature half = signatureOf(bytes.first(size / 2));
    check(classify(bytes.first(size / 2), half) == TileType::None);
    const TileType type = classify(bytes, TileSignature{});
    if (type == TileType::None) return 0;

    body.store(data, size);
    Tile tile;
    tile.address = {3, 5, 4};
    tile.baseType = type;
    if (type == TileType::Png) {
        tile.flags |= tileflag::kHasOverlay;
        tile.overlayType = TileType::Png;
    }
    const ConversionFiles files{body.path(), body.path(), target()};
    std::error_code ignored;
    std::filesystem::remove(target(), ignored);
    const std::atomic<bool> cancel{false};
    const ConversionResult result = convertTile(tile, files, cancel);
    check(tile.inCache() == (result == ConversionResult::Done));
    check(std::filesystem::exists(target()) == (result == ConversionResult::Done));
    if (result == ConversionResult::Done)
        check(tile.fileSize == static_cast<std::int64_t>(std::filesystem::file_size(target())));
    return 0;
}
