#pragma once
// The body shared by the map image fuzz targets: the bytes as a file, loaded by one
// decoder into the 16-bit bitmap (and, for a decoder that has them, as alpha rows)
// under a budget small enough that a lying header is refused, not allocated.

#include <atomic>
#include <cstdint>
#include <vector>

#include "MemoryInput.h"
#include "maps/DecoderChoice.h"
#include "maps/MapImageLoad.h"

namespace wendra::fuzz {

// Small, so that the fuzzer spends its time in the readers, not in clearing bitmaps.
inline constexpr std::uint64_t kFuzzBudget = 8u << 20;

inline void check(bool condition) {
    if (!condition) __builtin_trap();
}

inline int loadAs(maps::ImageFormat format, const MemoryInput& input, const uint8_t* data,
                  size_t size) {
    input.store(data, size);
    const std::atomic<bool> never{false};
    {
        const auto decoder = maps::createDecoder(format);
        maps::MapImageBuilder builder(maps::NightMode::Supplement, kFuzzBudget);
        const maps::LoadResult result = maps::decodeRows(*decoder, input.path(), builder, never);
        const auto image = builder.take();
        if (result == maps::LoadResult::Loaded) check(image && image->shape().valid());
    }
    // The alpha rows of tile overlays read the same bytes another way.
    const auto decoder = maps::createDecoder(format);
    if (decoder->open(input.path()) != maps::OpenResult::Opened) return 0;
    const maps::ImageShape shape = decoder->shape();
    check(shape.valid());
    if (maps::memoryNeed(shape) + decoder->workingMemory() > kFuzzBudget) return 0;
    std::vector<std::uint8_t> rgba(static_cast<std::size_t>(shape.width) * 4);
    for (int y = 0; y < shape.height; ++y) {
        const int row = decoder->readRowWithAlpha(rgba.data());
        if (row < 0) break;
        check(row < shape.height);
    }
    return 0;
}

}  // namespace wendra::fuzz
