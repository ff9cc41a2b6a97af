#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "platform/ImageList.h"

namespace wendra::test {
namespace {

using platform::ImageList;
using platform::PixelBuffer;
using platform::Point;
using platform::Rect;
using platform::Size;

constexpr std::uint32_t kRed = 0xFFFF0000;
constexpr std::uint32_t kBlue = 0xFF0000FF;
constexpr std::uint32_t kMagenta = 0xFFFF00FF;     // the transparent colour below
constexpr std::uint32_t kSeeThrough = 0x40FFFFFF;  // alpha below one half
constexpr platform::Pixel16 kBackground = 0x1234;

// Two 2x2 icons side by side: the first red with a see-through corner, the second
// blue with a magenta corner.
ImageList twoIcons() {
    const std::vector<std::uint32_t> strip = {
        kSeeThrough, kRed, kMagenta, kBlue,  //
        kRed,        kRed, kBlue,    kBlue,
    };
    return ImageList::fromArgb(strip, Size{4, 2}, 2, platform::rgb(255, 0, 255));
}

TEST(ImageList, DrawsTheIndexedIconWithoutItsTransparentPixels) {
    const ImageList icons = twoIcons();
    ASSERT_EQ(icons.count(), 2);
    ASSERT_EQ(icons.imageSize(), (Size{2, 2}));
    const platform::Pixel16 red = platform::toPixel16(platform::rgb(255, 0, 0));
    const platform::Pixel16 blue = platform::toPixel16(platform::rgb(0, 0, 255));

    PixelBuffer target(Size{3, 3}, kBackground);
    icons.draw(target, 0, Point{1, 1});
    EXPECT_EQ(target.at(1, 1), kBackground) << "alpha below a half stays out";
    EXPECT_EQ(target.at(2, 1), red);
    EXPECT_EQ(target.at(1, 2), red);
    EXPECT_EQ(target.at(0, 0), kBackground);

    icons.draw(target, 1, Point{0, 0});
    EXPECT_EQ(target.at(0, 0), kBackground) << "the transparent colour stays out";
    EXPECT_EQ(target.at(1, 0), blue);
    EXPECT_EQ(target.at(1, 1), blue);
}

TEST(ImageList, ClipsAndIgnoresWhatItCannotDraw) {
    const ImageList icons = twoIcons();
    PixelBuffer target(Size{3, 3}, kBackground);
    icons.draw(target, 2, Point{0, 0});
    icons.draw(target, -1, Point{0, 0});
    icons.draw(target, 0, Point{-1, -1});  // only the icon's bottom right pixel lands
    icons.draw(target, 0, Point{2, 2});    // only its top left (see-through) pixel lands
    icons.draw(target, 1, Point{0, 1}, Rect{0, 0, 3, 2});  // clipped to the first two rows
    int drawn = 0;
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x) drawn += target.at(x, y) != kBackground;
    EXPECT_EQ(drawn, 2);
    EXPECT_EQ(target.at(0, 0), platform::toPixel16(platform::rgb(255, 0, 0)));
    EXPECT_EQ(target.at(1, 1), platform::toPixel16(platform::rgb(0, 0, 255)));
}

TEST(ImageList, RefusesStripsThatDoNotHoldOneImage) {
    const std::vector<std::uint32_t> four(4, kRed);
    EXPECT_EQ(ImageList::fromArgb(four, Size{2, 2}, 3).count(), 0) << "narrower than an icon";
    EXPECT_EQ(ImageList::fromArgb(four, Size{4, 2}, 2).count(), 0) << "fewer pixels than said";
    EXPECT_EQ(ImageList::fromArgb(four, Size{2, 2}, 0).count(), 0) << "no icon width";
    EXPECT_EQ(ImageList::fromArgb(four, Size{4, 1}, 3).count(), 1)
        << "a partial last icon is dropped";
}

}  // namespace
}  // namespace wendra::test
