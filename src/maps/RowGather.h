#pragma once
// Nearest-neighbour samples along one bitmap row at a constant step, in the map
// painter's fixed point: the general case of a north-up map shown at any zoom. On
// processors with 512-bit vectors the samples are picked 32 at a time from a window
// of the row; elsewhere one at a time. Both give the same pixels.

#include <cstdint>

#include "platform/Rgb16.h"

namespace wendra::maps {

// Positions along a row in 1/8192 pixel.
inline constexpr int kRowFractionBits = 13;

// to[i] = row[(x + sx * i) >> kRowFractionBits] for i in [0, count); every sample must
// lie on the row, [0, length).
void gatherStepped(const platform::Pixel16* row, std::int64_t length, std::int64_t x,
                   std::int64_t sx, std::int64_t count, platform::Pixel16* to);

// The same, one sample at a time.
void gatherSteppedPlain(const platform::Pixel16* row, std::int64_t x, std::int64_t sx,
                        std::int64_t count, platform::Pixel16* to);

}  // namespace wendra::maps
