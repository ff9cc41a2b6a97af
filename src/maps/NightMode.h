#pragma once
// The colour transformations a map gets while the view is in night mode, applied once
// when the map's rows are converted into the view's 16-bit pixels (bit 5 always clear).
// The numbers are the entries of the "Maps in night mode" list and are stored as such.

#include <cstdint>

#include "platform/Rgb16.h"

namespace wendra::maps {

enum class NightMode : int {
    None = 0,        // "Non": colours unchanged
    Inverted = 1,    // every component c becomes 255 - c
    Inverted2 = 2,   // greys inverted, colours darkened
    Darker = 3,      // every component lowered by 40
    Supplement = 4,  // each component from the other two, through a tangent curve
};

inline constexpr int kNightModeCount = 5;

// The mode for a stored number; anything outside 0..4 is no transformation.
NightMode nightModeFromNumber(int number);

// The map pixel of one colour under a mode.
platform::Pixel16 nightPixel(NightMode mode, std::uint8_t red, std::uint8_t green,
                             std::uint8_t blue);

// Converts `width` red, green, blue triplets into map pixels.
void convertRgbRow(NightMode mode, const std::uint8_t* rgb, int width, platform::Pixel16* out);
// The same for `width` red, green, blue, unused quads.
void convertRgbxRow(NightMode mode, const std::uint8_t* rgbx, int width, platform::Pixel16* out);

}  // namespace wendra::maps
