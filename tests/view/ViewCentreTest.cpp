#include <gtest/gtest.h>

#include "view/ViewCentre.h"

namespace wendra::test {
namespace {

TEST(ViewCentre, DoublesThePixelsOnlyBeyondA600PixelDiagonal) {
    EXPECT_EQ(pixelMultiplier({480, 360}), 1);  // diagonal exactly 600
    EXPECT_EQ(pixelMultiplier({800, 480}), 2);
    EXPECT_EQ(pixelMultiplier({0, 0}), 1);
}

}  // namespace
}  // namespace wendra::test
