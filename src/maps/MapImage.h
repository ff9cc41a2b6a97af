#pragma once
// The bitmap of one map in the view's 16-bit format: either 8-bit palette indices with
// a 256-entry table of map pixels, or map pixels themselves. It owns exactly one
// allocation, so an unload frees it at once and its size is known in advance.
// Rows are stored bottom-up (storage row 0 is the image's bottom row), each padded
// to 4 bytes. Accessors do not check their row and column arguments.

#include <cstddef>
#include <cstdint>
#include <memory>

#include "platform/Rgb16.h"

namespace wendra::maps {

// The largest side a map image may have: sizes are kept in 16 bits.
inline constexpr int kMaxImageSide = 65535;

// What a decoder says of an image after opening it.
struct ImageShape {
    int width = 0;
    int height = 0;
    bool palette = false;  // 8-bit indices (bytes per pixel 1), else 16-bit pixels (2)

    int bytesPerPixel() const { return palette ? 1 : 2; }
    bool valid() const {
        return width > 0 && height > 0 && width <= kMaxImageSide && height <= kMaxImageSide;
    }
};

// Bytes of one stored row: width * bytes per pixel rounded up to 4.
std::size_t rowPitch(const ImageShape& shape);

// The memory a loaded map costs, counted against the budget before anything is
// allocated: rows + (palette table, else a scratch line) + row table + a fixed
// allowance for the decoder's own buffers.
std::uint64_t memoryNeed(const ImageShape& shape);

class MapImage {
public:
    // Allocates the bitmap, or returns nothing when the shape is invalid or the
    // machine has not the memory. Rows and palette are not cleared: the owner writes
    // every one of them before the bitmap is shown.
    static std::unique_ptr<MapImage> allocate(const ImageShape& shape);

    const ImageShape& shape() const { return shape_; }
    int width() const { return shape_.width; }
    int height() const { return shape_.height; }
    bool hasPalette() const { return shape_.palette; }
    std::size_t pitch() const { return pitch_; }
    std::uint64_t memoryNeed() const { return maps::memoryNeed(shape_); }

    // The table of a palette image: all 256 entries, those the file does not use black.
    platform::Pixel16* palette() { return palette_; }
    const platform::Pixel16* palette() const { return palette_; }

    // Storage rows, counted from the bottom.
    std::uint8_t* indexRow(int storageRow) { return rows_ + storageRow * pitch_; }
    const std::uint8_t* indexRow(int storageRow) const { return rows_ + storageRow * pitch_; }
    platform::Pixel16* pixelRow(int storageRow) {
        return reinterpret_cast<platform::Pixel16*>(indexRow(storageRow));
    }
    const platform::Pixel16* pixelRow(int storageRow) const {
        return reinterpret_cast<const platform::Pixel16*>(indexRow(storageRow));
    }
    int storageRowOf(int imageRow) const { return shape_.height - 1 - imageRow; }

    // The map pixel at column x of image row y counted from the top.
    platform::Pixel16 pixelAt(int x, int y) const;

private:
    MapImage(const ImageShape& shape, std::unique_ptr<std::byte[]> memory);

    ImageShape shape_;
    std::size_t pitch_;
    std::unique_ptr<std::byte[]> memory_;
    platform::Pixel16* palette_;
    std::uint8_t* rows_;
};

}  // namespace wendra::maps
