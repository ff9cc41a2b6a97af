#include "maps/NightMode.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace wendra::maps {

namespace {

constexpr int kDarkerStep = 40;
// A pixel counts as grey when no component is this far from their mean.
constexpr int kGreyTolerance = 30;

// Components and every step on them stay in 16 bits (a sum of three is at most 765),
// so that vector code works on eight pixels' components at once.
using Component = std::int16_t;

struct Rgb {
    Component r, g, b;
};

// The per-pixel steps are forced inline: a call per pixel, returning its colour through
// the stack, costs ten times the step itself and keeps the row loops from vectorising.
#define WENDRA_PIXEL_STEP [[gnu::always_inline]] inline

WENDRA_PIXEL_STEP Component narrow(int value) {
    return static_cast<Component>(value);
}

WENDRA_PIXEL_STEP Component darker(Component c) {
    return std::max<Component>(0, narrow(c - kDarkerStep));
}

WENDRA_PIXEL_STEP Component distance(Component a, Component b) {
    const Component d = narrow(a - b);
    return std::max<Component>(d, narrow(-d));
}

// T[i] = min(255, 256 * tan(i / 180)), i/180 in radians; built once, then shared
// read-only by every load thread.
const std::array<std::uint8_t, 256>& supplementTable() {
    static const std::array<std::uint8_t, 256> table = [] {
        std::array<std::uint8_t, 256> t{};
        for (int i = 0; i < 256; ++i) {
            const double v = 256.0 * std::tan(i / 180.0);
            t[i] = static_cast<std::uint8_t>(std::min(255.0, std::floor(v)));
        }
        return t;
    }();
    return table;
}

WENDRA_PIXEL_STEP Rgb supplement(Rgb c) {
    const auto& t = supplementTable();
    const auto pick = [&t](int a, int b) { return t[std::max(0, 255 - (a + b) / 2)]; };
    return {narrow(pick(c.g, c.b)), narrow(pick(c.b, c.r)), narrow(pick(c.r, c.g))};
}

WENDRA_PIXEL_STEP Rgb inverted(Rgb c) {
    return {narrow(255 - c.r), narrow(255 - c.g), narrow(255 - c.b)};
}

WENDRA_PIXEL_STEP Rgb darkerAll(Rgb c) {
    return {darker(c.r), darker(c.g), darker(c.b)};
}

WENDRA_PIXEL_STEP Rgb inverted2(Rgb c) {
    const Component mean = narrow(static_cast<std::uint16_t>(c.r + c.g + c.b) / 3);
    const bool grey = distance(c.r, mean) < kGreyTolerance &&
                      distance(c.g, mean) < kGreyTolerance && distance(c.b, mean) < kGreyTolerance;
    return grey ? inverted(c) : darkerAll(c);
}

WENDRA_PIXEL_STEP Rgb transform(NightMode mode, Rgb c) {
    switch (mode) {
        case NightMode::None:
            return c;
        case NightMode::Inverted:
            return inverted(c);
        case NightMode::Inverted2:
            return inverted2(c);
        case NightMode::Darker:
            return darkerAll(c);
        case NightMode::Supplement:
            return supplement(c);
    }
    return c;
}

WENDRA_PIXEL_STEP platform::Pixel16 pack(Rgb c) {
    const auto top5 = [](Component v) { return static_cast<platform::Pixel16>(v >> 3); };
    return static_cast<platform::Pixel16>((top5(c.r) << 11) | (top5(c.g) << 6) | top5(c.b));
}

// Day colours from red, green, blue, pad words: three masks and shifts per pixel, which
// the compiler turns into vector code; this is most of a JPEG load's own work.
void packDayWords(const std::uint8_t* rgbx, int width, platform::Pixel16* out) {
    for (int x = 0; x < width; ++x) {
        std::uint32_t word;
        std::memcpy(&word, rgbx + 4 * x, sizeof word);
        out[x] = static_cast<platform::Pixel16>(((word << 8) & 0xF800u) | ((word >> 5) & 0x07C0u) |
                                                ((word >> 19) & 0x1Fu));
    }
}

// One loop per mode, with the transformation inlined (each is passed as its own lambda
// type, not a function pointer): the modes without a table then vectorise as well.
template <int PixelBytes, class Transform>
void convertWith(Transform transform, const std::uint8_t* pixels, int width,
                 platform::Pixel16* out) {
    for (int x = 0; x < width; ++x, pixels += PixelBytes)
        out[x] = pack(transform(Rgb{pixels[0], pixels[1], pixels[2]}));
}

template <int PixelBytes>
void convertPixels(NightMode mode, const std::uint8_t* pixels, int width, platform::Pixel16* out) {
    switch (mode) {
        case NightMode::None:
            if constexpr (PixelBytes == 4 && std::endian::native == std::endian::little)
                return packDayWords(pixels, width, out);
            return convertWith<PixelBytes>([](Rgb c) { return c; }, pixels, width, out);
        case NightMode::Inverted:
            return convertWith<PixelBytes>([](Rgb c) { return inverted(c); }, pixels, width, out);
        case NightMode::Inverted2:
            return convertWith<PixelBytes>([](Rgb c) { return inverted2(c); }, pixels, width, out);
        case NightMode::Darker:
            return convertWith<PixelBytes>([](Rgb c) { return darkerAll(c); }, pixels, width, out);
        case NightMode::Supplement:
            return convertWith<PixelBytes>([](Rgb c) { return supplement(c); }, pixels, width, out);
    }
}

}  // namespace

NightMode nightModeFromNumber(int number) {
    if (number < 0 || number >= kNightModeCount) return NightMode::None;
    return static_cast<NightMode>(number);
}

platform::Pixel16 nightPixel(NightMode mode, std::uint8_t red, std::uint8_t green,
                             std::uint8_t blue) {
    return pack(transform(mode, {red, green, blue}));
}

void convertRgbRow(NightMode mode, const std::uint8_t* rgb, int width, platform::Pixel16* out) {
    convertPixels<3>(mode, rgb, width, out);
}

void convertRgbxRow(NightMode mode, const std::uint8_t* rgbx, int width, platform::Pixel16* out) {
    convertPixels<4>(mode, rgbx, width, out);
}

}  // namespace wendra::maps
