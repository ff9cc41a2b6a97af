#include "maps/MapImage.h"

#include <cstring>
#include <new>

namespace wendra::maps {

namespace {

constexpr std::size_t kPaletteBytes = 256 * sizeof(platform::Pixel16);
constexpr std::uint64_t kDecoderAllowance = 0x40000;

// The palette table sits in front of the rows; true-colour images have none.
std::size_t tableBytes(const ImageShape& shape) {
    return shape.palette ? kPaletteBytes : 0;
}

}  // namespace

std::size_t rowPitch(const ImageShape& shape) {
    const std::size_t bytes = static_cast<std::size_t>(shape.width) * shape.bytesPerPixel();
    return (bytes + 3) / 4 * 4;
}

std::uint64_t memoryNeed(const ImageShape& shape) {
    const std::uint64_t width = static_cast<std::uint64_t>(shape.width);
    const std::uint64_t height = static_cast<std::uint64_t>(shape.height);
    const std::uint64_t side = shape.palette ? kPaletteBytes : width * 4 + 16;
    return rowPitch(shape) * height + side + height * 4 + kDecoderAllowance;
}

std::unique_ptr<MapImage> MapImage::allocate(const ImageShape& shape) {
    if (!shape.valid()) return nullptr;
    const std::size_t bytes = tableBytes(shape) + rowPitch(shape) * shape.height;
    // Left as the allocator gives it: a load writes every row and the whole palette,
    // and clearing a large map first would cost as much as converting it.
    std::unique_ptr<std::byte[]> memory(new (std::nothrow) std::byte[bytes]);
    if (!memory) return nullptr;
    return std::unique_ptr<MapImage>(new MapImage(shape, std::move(memory)));
}

MapImage::MapImage(const ImageShape& shape, std::unique_ptr<std::byte[]> memory)
    : shape_(shape),
      pitch_(rowPitch(shape)),
      memory_(std::move(memory)),
      palette_(shape.palette ? reinterpret_cast<platform::Pixel16*>(memory_.get()) : nullptr),
      rows_(reinterpret_cast<std::uint8_t*>(memory_.get()) + tableBytes(shape)) {}

platform::Pixel16 MapImage::pixelAt(int x, int y) const {
    const int row = storageRowOf(y);
    if (shape_.palette) return palette_[indexRow(row)[x]];
    return pixelRow(row)[x];
}

}  // namespace wendra::maps
