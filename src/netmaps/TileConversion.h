#pragma once
// Turns a downloaded tile into its cached JPEG: the base image decoded (its recognised
// type picks the decoder), a PNG overlay blended in by its alpha, the rows re-projected
// to even latitude steps as a calibrated map assumes, then written at the tile quality
// beside the cache path and renamed over it, so that a kill mid-way leaves no
// half-written tile. Images of another size than 256 are cut or padded with black;
// one claiming more than 2048 pixels a side is refused unread.

#include <array>
#include <atomic>
#include <cstdint>
#include <filesystem>
#include <string_view>

#include "netmaps/Tile.h"

namespace wendra::netmaps {

// The download scratch files, in the data folder.
inline constexpr std::string_view kBaseScratchName = "NetBmp";
inline constexpr std::string_view kOverlayScratchName = "NetBmp2";

struct ConversionFiles {
    std::filesystem::path base;     // body of the base request
    std::filesystem::path overlay;  // body of the overlay request, when the tile has one
    std::filesystem::path target;   // the tile's cache path
};

ConversionFiles scratchFiles(const std::filesystem::path& dataFolder,
                             const std::filesystem::path& target);

enum class ConversionResult : int {
    Done = 0,
    BaseUnreadable = 1,  // the base cannot be opened or decoded
    WriteFailed = 2,     // folders, encoder, disk or rename
    Cancelled = 3,
};

// (o*a + (255 - a)*b)/255 in integers: o overlay, a its alpha, b base.
inline std::uint8_t blendComponent(int o, int a, int b) {
    return static_cast<std::uint8_t>((o * a + (255 - a) * b) / 255);
}

// For each output row counted from the top, the image row it takes: rows evenly
// spaced in latitude between the tile's north and south edges.
std::array<int, kTilePixels> reprojectionRows(const TileAddress& tile);

// The conversion on the calling thread. The tile's types and kHasOverlay say what the
// files hold (an overlay that is not PNG is left out). On Done the tile has its file
// size, today's stamp and kInCache; otherwise it is left as it was and no file of this
// conversion remains. `cancel` is looked at between rows.
ConversionResult convertTile(Tile& tile, const ConversionFiles& files,
                             const std::atomic<bool>& cancel);

// The same on a thread of the lowest priority, waited for with a 1 ms poll (the
// worker's way). `cancel` may be set from any thread meanwhile.
ConversionResult convertTileInBackground(Tile& tile, const ConversionFiles& files,
                                         const std::atomic<bool>& cancel);

}  // namespace wendra::netmaps
