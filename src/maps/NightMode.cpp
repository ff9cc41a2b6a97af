#include "maps/NightMode.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>

namespace wendra::maps {

namespace {

constexpr int kDarkerStep = 40;
// A pixel counts as grey when no component is this far from their mean.
constexpr int kGreyTolerance = 30;

struct Rgb {
    int r, g, b;
};

int darker(int c) {
    return std::max(0, c - kDarkerStep);
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

Rgb supplement(Rgb c) {
    const auto& t = supplementTable();
    const auto pick = [&t](int a, int b) { return t[std::max(0, 255 - (a + b) / 2)]; };
    return {pick(c.g, c.b), pick(c.b, c.r), pick(c.r, c.g)};
}

Rgb inverted2(Rgb c) {
    const int mean = (c.r + c.g + c.b) / 3;
    const bool grey = std::abs(c.r - mean) < kGreyTolerance &&
                      std::abs(c.g - mean) < kGreyTolerance &&
                      std::abs(c.b - mean) < kGreyTolerance;
    if (grey) return {255 - c.r, 255 - c.g, 255 - c.b};
    return {darker(c.r), darker(c.g), darker(c.b)};
}

Rgb transform(NightMode mode, Rgb c) {
    switch (mode) {
        case NightMode::None:
            return c;
        case NightMode::Inverted:
            return {255 - c.r, 255 - c.g, 255 - c.b};
        case NightMode::Inverted2:
            return inverted2(c);
        case NightMode::Darker:
            return {darker(c.r), darker(c.g), darker(c.b)};
        case NightMode::Supplement:
            return supplement(c);
    }
    return c;
}

}  // namespace

NightMode nightModeFromNumber(int number) {
    if (number < 0 || number >= kNightModeCount) return NightMode::None;
    return static_cast<NightMode>(number);
}

platform::Pixel16 nightPixel(NightMode mode, std::uint8_t red, std::uint8_t green,
                             std::uint8_t blue) {
    const Rgb c = transform(mode, {red, green, blue});
    return platform::toPixel16(platform::rgb(c.r, c.g, c.b));
}

void convertRgbRow(NightMode mode, const std::uint8_t* rgb, int width, platform::Pixel16* out) {
    if (mode == NightMode::None) {
        // The common case in daylight: no per-pixel switch.
        for (int x = 0; x < width; ++x, rgb += 3) {
            out[x] = static_cast<platform::Pixel16>(((rgb[0] >> 3) << 11) | ((rgb[1] >> 3) << 6) |
                                                    (rgb[2] >> 3));
        }
        return;
    }
    for (int x = 0; x < width; ++x, rgb += 3) out[x] = nightPixel(mode, rgb[0], rgb[1], rgb[2]);
}

}  // namespace wendra::maps
