#include <gtest/gtest.h>

#include "platform/PixelBuffer.h"
#include "platform/Rgb16.h"

namespace wendra::test {
namespace {

using platform::PixelBuffer;
using platform::Point;
using platform::Rect;
using platform::Size;

TEST(Rgb16, KeepsTheTopFiveBitsAndLeavesTheMarkClear) {
    struct Case {
        const char* legend;
        platform::ColorRef colour;
        platform::Pixel16 pixel;
    };
    const Case cases[] = {
        {"white is 0xFFDF, bit 5 clear", platform::rgb(255, 255, 255), 0xFFDF},
        {"black", platform::rgb(0, 0, 0), 0x0000},
        {"pure red in bits 11-15", platform::rgb(255, 0, 0), 0xF800},
        {"pure green in bits 6-10", platform::rgb(0, 255, 0), 0x07C0},
        {"pure blue in bits 0-4", platform::rgb(0, 0, 255), 0x001F},
        {"low three bits are dropped", platform::rgb(7, 7, 7), 0x0000},
        {"grey a0a0a0", platform::rgb(0xA0, 0xA0, 0xA0), 0xA514},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(platform::toPixel16(c.colour), c.pixel) << c.legend;
        EXPECT_EQ(platform::toUnpaintedPixel16(c.colour), c.pixel | platform::kUnpaintedBit)
            << c.legend;
        EXPECT_EQ(platform::toPixel16(platform::fromPixel16(c.pixel)), c.pixel) << c.legend;
    }
}

// A 4x3 buffer whose pixel at (x, y) is 10 * y + x.
PixelBuffer numbered(Size size) {
    PixelBuffer buffer(size);
    for (int y = 0; y < size.height; ++y)
        for (int x = 0; x < size.width; ++x)
            buffer.set(x, y, static_cast<platform::Pixel16>(10 * y + x));
    return buffer;
}

TEST(PixelBuffer, BlockCopyIsClippedOnBothSides) {
    struct Case {
        const char* legend;
        Rect from;
        Point to;
        int copied;  // pixels that changed from the fill value
    };
    const Case cases[] = {
        {"whole source inside", Rect{0, 0, 4, 3}, Point{1, 1}, 12},
        {"destination hangs off the right and bottom", Rect{0, 0, 4, 3}, Point{4, 3}, 4},
        {"destination starts left of and above the buffer", Rect{0, 0, 4, 3}, Point{-2, -1}, 4},
        {"source rectangle reaches outside its buffer", Rect{-1, -1, 6, 6}, Point{0, 0}, 12},
        {"entirely outside", Rect{0, 0, 4, 3}, Point{100, 100}, 0},
        {"empty source", Rect{2, 2, 2, 2}, Point{0, 0}, 0},
    };
    const PixelBuffer source = numbered(Size{4, 3});
    constexpr platform::Pixel16 kFill = 0xFFFF;
    for (const Case& c : cases) {
        PixelBuffer target(Size{6, 5}, kFill);
        target.copyFrom(source, c.from, c.to);
        int changed = 0;
        const Rect readable = c.from.intersected(source.bounds());
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 6; ++x) {
                // The pixel comes from the source point its offset names, if readable.
                const Point s{x - c.to.x + c.from.left, y - c.to.y + c.from.top};
                const bool copied = readable.contains(s);
                changed += copied ? 1 : 0;
                EXPECT_EQ(target.at(x, y), copied ? source.at(s.x, s.y) : kFill)
                    << c.legend << " at " << x << "," << y;
            }
        EXPECT_EQ(changed, c.copied) << c.legend;
    }
}

TEST(PixelBuffer, OverlappingCopyWithinOneBufferMovesThePicture) {
    PixelBuffer buffer = numbered(Size{4, 3});
    buffer.copyFrom(buffer, Rect{0, 0, 4, 2}, Point{0, 1});  // scroll down one row
    EXPECT_EQ(buffer.at(0, 0), 0);
    EXPECT_EQ(buffer.at(3, 1), 3);
    EXPECT_EQ(buffer.at(3, 2), 13);
    buffer = numbered(Size{4, 3});
    buffer.copyFrom(buffer, Rect{1, 0, 4, 3}, Point{0, 0});  // scroll left one column
    EXPECT_EQ(buffer.at(0, 2), 21);
    EXPECT_EQ(buffer.at(2, 2), 23);
    EXPECT_EQ(buffer.at(3, 2), 23);
}

TEST(PixelBuffer, SavedAreaRestoresWhatWasUnderIt) {
    PixelBuffer screen = numbered(Size{4, 3});
    const PixelBuffer saved = screen.copyOf(Rect{1, 1, 3, 3});
    ASSERT_EQ(saved.size(), (Size{2, 2}));
    screen.fill(Rect{0, 1, 4, 3}, 0xAAAA);
    screen.copyFrom(saved, saved.bounds(), Point{1, 1});
    EXPECT_EQ(screen.at(1, 1), 11);
    EXPECT_EQ(screen.at(2, 2), 22);
    EXPECT_EQ(screen.at(0, 1), 0xAAAA);
}

TEST(PixelBuffer, CountsUnpaintedPixelsAndIgnoresOutsideAccess) {
    PixelBuffer buffer(Size{5, 4}, platform::toUnpaintedPixel16(platform::rgb(255, 255, 255)));
    buffer.fill(Rect{0, 0, 2, 4}, platform::toPixel16(platform::rgb(255, 255, 255)));
    EXPECT_EQ(buffer.countUnpainted(buffer.bounds()), 12u);
    EXPECT_EQ(buffer.countUnpainted(Rect{-10, -10, 3, 100}), 4u);
    buffer.set(-1, 0, 1);
    buffer.set(5, 0, 1);
    EXPECT_EQ(buffer.at(99, 99), 0);
    EXPECT_EQ(buffer.countUnpainted(buffer.bounds()), 12u);
    buffer.reset(Size{-3, 4});
    EXPECT_TRUE(buffer.empty());
    EXPECT_EQ(buffer.size(), (Size{0, 0}));
}

}  // namespace
}  // namespace wendra::test
