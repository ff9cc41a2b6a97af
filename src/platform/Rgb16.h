#pragma once
// Colours as the program keeps them (0x00BBGGRR) and the 16-bit pixels of the view:
// red in bits 11-15, green in bits 6-10, blue in bits 0-4, each the top five bits
// of the 8-bit component. Bit 5 marks a view pixel that no map has painted yet.

#include <cstdint>

namespace wendra::platform {

using ColorRef = std::uint32_t;
using Pixel16 = std::uint16_t;

inline constexpr Pixel16 kUnpaintedBit = 0x0020;

constexpr ColorRef rgb(unsigned red, unsigned green, unsigned blue) {
    return (red & 0xFFu) | ((green & 0xFFu) << 8) | ((blue & 0xFFu) << 16);
}
constexpr unsigned redOf(ColorRef colour) {
    return colour & 0xFFu;
}
constexpr unsigned greenOf(ColorRef colour) {
    return (colour >> 8) & 0xFFu;
}
constexpr unsigned blueOf(ColorRef colour) {
    return (colour >> 16) & 0xFFu;
}

// The painted pixel of a colour: bit 5 clear.
constexpr Pixel16 toPixel16(ColorRef colour) {
    return static_cast<Pixel16>(((redOf(colour) >> 3) << 11) | ((greenOf(colour) >> 3) << 6) |
                                (blueOf(colour) >> 3));
}

// The background a frame starts from: the colour with the "not yet painted" mark.
constexpr Pixel16 toUnpaintedPixel16(ColorRef colour) {
    return static_cast<Pixel16>(toPixel16(colour) | kUnpaintedBit);
}

// Back to 8 bits per component; the low three bits come back as zero.
constexpr ColorRef fromPixel16(Pixel16 pixel) {
    return rgb(((pixel >> 11) & 0x1Fu) << 3, ((pixel >> 6) & 0x1Fu) << 3, (pixel & 0x1Fu) << 3);
}

// The colour that the 16-bit format keeps of a colour: what drawing really puts down.
constexpr ColorRef quantised(ColorRef colour) {
    return fromPixel16(toPixel16(colour));
}

}  // namespace wendra::platform
