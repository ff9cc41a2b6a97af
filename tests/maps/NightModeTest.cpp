// The night colours: one table of pixels through each mode, and both kinds of bitmap
// (palette and true colour) getting them at load time.

#include <gtest/gtest.h>

#include <vector>

#include "maps/ImageSuiteSupport.h"
#include "maps/NightMode.h"
#include "platform/Rgb16.h"

namespace wendra::test {
namespace {

using maps::NightMode;

struct NightCase {
    const char* legend;
    NightMode mode;
    int in[3];
    int out[3];
};

const NightCase kCases[] = {
    {"none keeps white, with bit 5 clear", NightMode::None, {255, 255, 255}, {255, 255, 255}},
    {"inverted turns white black", NightMode::Inverted, {255, 255, 255}, {0, 0, 0}},
    {"inverted mirrors each component", NightMode::Inverted, {10, 128, 250}, {245, 127, 5}},
    {"inverted 2 inverts a grey", NightMode::Inverted2, {100, 110, 105}, {155, 145, 150}},
    {"inverted 2 darkens a colour", NightMode::Inverted2, {200, 30, 30}, {160, 0, 0}},
    {"inverted 2: 30 from the mean is a colour",
     NightMode::Inverted2,
     {130, 100, 70},
     {90, 60, 30}},
    {"darker lowers by 40, not below 0", NightMode::Darker, {30, 100, 250}, {0, 60, 210}},
    {"supplement turns black white", NightMode::Supplement, {0, 0, 0}, {255, 255, 255}},
    {"supplement turns white black", NightMode::Supplement, {255, 255, 255}, {0, 0, 0}},
    // T[255 - (0 + 0)/2] = 255 for red; T[255 - 255/2 = 128] = floor(256 tan(128/180)) = 220
    {"supplement of pure red", NightMode::Supplement, {255, 0, 0}, {255, 220, 220}},
};

TEST(NightMode, TransformsEachPixelAsItsEntrySays) {
    for (const NightCase& c : kCases) {
        SCOPED_TRACE(c.legend);
        const auto expected = platform::toPixel16(platform::rgb(c.out[0], c.out[1], c.out[2]));
        const std::uint8_t rgb[3] = {static_cast<std::uint8_t>(c.in[0]),
                                     static_cast<std::uint8_t>(c.in[1]),
                                     static_cast<std::uint8_t>(c.in[2])};
        EXPECT_EQ(maps::nightPixel(c.mode, rgb[0], rgb[1], rgb[2]), expected);
        platform::Pixel16 row = 0;
        maps::convertRgbRow(c.mode, rgb, 1, &row);
        EXPECT_EQ(row, expected);
        EXPECT_EQ(row & platform::kUnpaintedBit, 0);
    }
}

// The row conversions run whole rows through vector code: every mode, over a row long
// enough for the vector loop and its tail, in both pixel layouts, must give what the
// single-pixel rule gives.
TEST(NightMode, RowConversionsAgreeWithThePixelRuleInBothLayouts) {
    constexpr int kWidth = 1027;
    std::vector<std::uint8_t> rgb(kWidth * 3);
    std::vector<std::uint8_t> rgbx(kWidth * 4, 0xA5);  // the unused byte must not leak
    std::uint32_t seed = 12345;
    for (int x = 0; x < kWidth; ++x) {
        for (int c = 0; c < 3; ++c) {
            seed = seed * 1103515245u + 12345u;
            // Some pixels near grey, so that "Inverted 2" takes both of its ways.
            const auto v = static_cast<std::uint8_t>(x % 3 == 0 ? (x & 0xF0) + c * 9 : seed >> 24);
            rgb[x * 3 + c] = rgbx[x * 4 + c] = v;
        }
    }
    for (int m = 0; m < maps::kNightModeCount; ++m) {
        const NightMode mode = maps::nightModeFromNumber(m);
        SCOPED_TRACE(m);
        std::vector<platform::Pixel16> fromRgb(kWidth), fromRgbx(kWidth);
        maps::convertRgbRow(mode, rgb.data(), kWidth, fromRgb.data());
        maps::convertRgbxRow(mode, rgbx.data(), kWidth, fromRgbx.data());
        int wrong = 0;
        for (int x = 0; x < kWidth; ++x) {
            const auto expected =
                maps::nightPixel(mode, rgb[x * 3], rgb[x * 3 + 1], rgb[x * 3 + 2]);
            wrong += fromRgb[x] != expected;
            wrong += fromRgbx[x] != expected;
        }
        EXPECT_EQ(wrong, 0);
    }
}

TEST(NightMode, NumbersOutsideTheListMeanNoTransformation) {
    EXPECT_EQ(maps::nightModeFromNumber(4), NightMode::Supplement);
    EXPECT_EQ(maps::nightModeFromNumber(5), NightMode::None);
    EXPECT_EQ(maps::nightModeFromNumber(-1), NightMode::None);
}

// Palette images convert their table, true-colour images every pixel.
TEST(NightMode, BitmapsGetTheNightColoursAtLoadTime) {
    for (const char* file : {"bmp/bmpsuite/g/pal8.bmp", "bmp/bmpsuite/g/rgb24.bmp"}) {
        SCOPED_TRACE(file);
        const auto path = imagesFolder() / file;
        const RgbaImage rows = decodeRgba(path);
        const std::atomic<bool> never{false};
        const auto load = maps::loadMapImage(path, NightMode::Inverted2, 1u << 30, never);
        ASSERT_EQ(load.result, maps::LoadResult::Loaded);
        int wrong = 0;
        for (int y = 0; y < rows.shape.height; ++y) {
            for (int x = 0; x < rows.shape.width; ++x) {
                const std::uint8_t* c = &rows.rgba[(y * rows.shape.width + x) * 4];
                if (load.image->pixelAt(x, y) !=
                    maps::nightPixel(NightMode::Inverted2, c[0], c[1], c[2]))
                    ++wrong;
            }
        }
        EXPECT_EQ(wrong, 0);
    }
}

}  // namespace
}  // namespace wendra::test
