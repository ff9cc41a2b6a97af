#include "netmaps/TileConversion.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <system_error>
#include <thread>
#include <vector>

#include "maps/DecoderChoice.h"
#include "maps/JpegEncoder.h"
#include "netmaps/Mercator.h"
#include "platform/ThreadPriority.h"
#include "records/DayNumber.h"

namespace wendra::netmaps {

namespace {

constexpr int kSide = kTilePixels;
constexpr std::size_t kRgbRow = kSide * 3;
constexpr std::size_t kRgbaRow = kSide * 4;
constexpr int kLastRow = kSide - 1;
// The encoder writes here first; a kill leaves at worst this file, never a torn tile.
constexpr char kPartSuffix[] = ".part";
// Servers send 256 or, for high-density screens, 512 pixels. A body that claims far more
// is refused before a decoder assembles it (an interlaced PNG is decoded whole).
constexpr int kMaxBodySide = 2048;

// The images as the conversion holds them: 256 rows top first, padded with zeros.
struct TileRows {
    std::vector<std::uint8_t> base = std::vector<std::uint8_t>(kRgbRow * kSide, 0);
    std::vector<std::uint8_t> overlay = std::vector<std::uint8_t>(kRgbaRow * kSide, 0);
    std::uint8_t* baseRow(int r) { return base.data() + kRgbRow * static_cast<std::size_t>(r); }
    std::uint8_t* overlayRow(int r) {
        return overlay.data() + kRgbaRow * static_cast<std::size_t>(r);
    }
};

std::unique_ptr<maps::MapImageDecoder> decoderFor(TileType type) {
    return maps::createDecoder(type == TileType::Png ? maps::ImageFormat::Png
                                                     : maps::ImageFormat::Jpeg);
}

bool usableShape(const maps::ImageShape& shape) {
    return shape.valid() && shape.width <= kMaxBodySide && shape.height <= kMaxBodySide;
}

bool cancelled(const std::atomic<bool>& cancel) {
    return cancel.load(std::memory_order_acquire);
}

// One decoded row into the tile's row: palette indices expanded, cut to 256 pixels.
void takeBaseRow(const maps::MapImageDecoder& decoder, const std::uint8_t* row, std::uint8_t* out) {
    const maps::ImageShape& shape = decoder.shape();
    const int width = std::min(shape.width, kSide);
    if (!shape.palette) {
        std::memcpy(out, row, static_cast<std::size_t>(width) * 3);
        return;
    }
    const maps::Palette& palette = decoder.palette();
    for (int x = 0; x < width; ++x)
        std::memcpy(out + 3 * x, palette.data() + 3 * std::size_t{row[x]}, 3);
}

ConversionResult decodeBase(const Tile& tile, const std::filesystem::path& path, TileRows& rows,
                            const std::atomic<bool>& cancel) {
    const auto decoder = decoderFor(tile.baseType);
    decoder->watch(&cancel);
    if (decoder->open(path) != maps::OpenResult::Opened || !usableShape(decoder->shape()))
        return ConversionResult::BaseUnreadable;
    const maps::ImageShape& shape = decoder->shape();
    std::vector<std::uint8_t> row(static_cast<std::size_t>(shape.width) * 3);
    const int height = std::min(shape.height, kSide);
    for (int r = 0; r < height; ++r) {
        if (cancelled(cancel)) return ConversionResult::Cancelled;
        const int delivered = decoder->readRow(row.data());
        if (delivered < 0 || delivered >= shape.height) return ConversionResult::BaseUnreadable;
        if (delivered < kSide) takeBaseRow(*decoder, row.data(), rows.baseRow(delivered));
    }
    return ConversionResult::Done;
}

// Rows that cannot be read stay fully transparent.
ConversionResult decodeOverlay(const std::filesystem::path& path, TileRows& rows,
                               const std::atomic<bool>& cancel) {
    const auto decoder = decoderFor(TileType::Png);
    decoder->watch(&cancel);
    if (decoder->open(path) != maps::OpenResult::Opened || !usableShape(decoder->shape()))
        return ConversionResult::Done;
    const maps::ImageShape& shape = decoder->shape();
    std::vector<std::uint8_t> row(static_cast<std::size_t>(shape.width) * 4);
    const std::size_t bytes = static_cast<std::size_t>(std::min(shape.width, kSide)) * 4;
    for (int r = 0; r < std::min(shape.height, kSide); ++r) {
        if (cancelled(cancel)) return ConversionResult::Cancelled;
        const int delivered = decoder->readRowWithAlpha(row.data());
        if (delivered < 0 || delivered >= shape.height) break;
        if (delivered < kSide) std::memcpy(rows.overlayRow(delivered), row.data(), bytes);
    }
    return ConversionResult::Done;
}

void blendOverlay(TileRows& rows) {
    for (int r = 0; r < kSide; ++r) {
        std::uint8_t* b = rows.baseRow(r);
        const std::uint8_t* o = rows.overlayRow(r);
        for (int x = 0; x < kSide; ++x, b += 3, o += 4)
            for (int c = 0; c < 3; ++c) b[c] = blendComponent(o[c], o[3], b[c]);
    }
}

ConversionResult encode(const TileAddress& address, TileRows& rows,
                        const std::filesystem::path& part, const std::atomic<bool>& cancel) {
    const std::array<int, kSide> source = reprojectionRows(address);
    maps::JpegEncoder encoder;
    if (!encoder.start(part, kSide, kSide, maps::kTileJpegQuality))
        return ConversionResult::WriteFailed;
    for (int r = 0; r < kSide; ++r) {
        if (cancelled(cancel)) return ConversionResult::Cancelled;
        if (!encoder.writeRow(rows.baseRow(source[static_cast<std::size_t>(r)])))
            return ConversionResult::WriteFailed;
    }
    return encoder.close() ? ConversionResult::Done : ConversionResult::WriteFailed;
}

ConversionResult convertInto(Tile& tile, const ConversionFiles& files,
                             const std::filesystem::path& part, const std::atomic<bool>& cancel) {
    TileRows rows;
    ConversionResult result = decodeBase(tile, files.base, rows, cancel);
    if (result != ConversionResult::Done) return result;
    if (tile.has(tileflag::kHasOverlay) && tile.overlayType == TileType::Png) {
        result = decodeOverlay(files.overlay, rows, cancel);
        if (result != ConversionResult::Done) return result;
        blendOverlay(rows);
    }
    std::error_code error;
    std::filesystem::create_directories(files.target.parent_path(), error);
    if (error) return ConversionResult::WriteFailed;
    result = encode(tile.address, rows, part, cancel);
    if (result != ConversionResult::Done) return result;
    std::filesystem::rename(part, files.target, error);
    return error ? ConversionResult::WriteFailed : ConversionResult::Done;
}

}  // namespace

ConversionFiles scratchFiles(const std::filesystem::path& dataFolder,
                             const std::filesystem::path& target) {
    return {dataFolder / kBaseScratchName, dataFolder / kOverlayScratchName, target};
}

std::array<int, kTilePixels> reprojectionRows(const TileAddress& tile) {
    const double n = tilesPerAxis(tile.level);
    const double vNorth = (n - tile.y - 1) / n;
    const double vSouth = (n - tile.y) / n;
    const TileCorners corners = tileCorners(tile);
    std::array<int, kTilePixels> rows{};
    for (int i = 0; i < kSide; ++i) {
        const double lat =
            (static_cast<double>(i) / kLastRow) * (corners.north - corners.south) + corners.south;
        const double v = 1.0 - mercatorY(lat);
        const int row = static_cast<int>(kLastRow * (v - vNorth) / (vSouth - vNorth));
        // Rounding at the edges may step one row outside the image.
        rows[static_cast<std::size_t>(kLastRow - i)] = std::clamp(row, 0, kLastRow);
    }
    return rows;
}

ConversionResult convertTile(Tile& tile, const ConversionFiles& files,
                             const std::atomic<bool>& cancel) {
    std::filesystem::path part = files.target;
    part += kPartSuffix;
    tile.flags |= tileflag::kConverting;
    const ConversionResult result = convertInto(tile, files, part, cancel);
    tile.flags &= ~tileflag::kConverting;
    std::error_code error;
    if (result != ConversionResult::Done) {
        std::filesystem::remove(part, error);
        return result;
    }
    const std::uintmax_t size = std::filesystem::file_size(files.target, error);
    tile.fileSize = error ? 0 : static_cast<std::int64_t>(size);
    tile.stamp = currentDayNumber();
    tile.flags |= tileflag::kInCache;
    return result;
}

ConversionResult convertTileInBackground(Tile& tile, const ConversionFiles& files,
                                         const std::atomic<bool>& cancel) {
    std::atomic<bool> finished{false};
    ConversionResult result = ConversionResult::Cancelled;
    std::thread worker([&] {
        platform::lowerCurrentThreadPriority();
        result = convertTile(tile, files, cancel);
        finished.store(true, std::memory_order_release);
    });
    // The worker's own wait: it returns only when the conversion has ended, which the
    // cancel flag brings about within a row.
    while (!finished.load(std::memory_order_acquire))
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    worker.join();
    return result;
}

}  // namespace wendra::netmaps
