// The JPEG encoding slots that cached tiles and generated maps use: what is written
// reads back as the same picture, and an incomplete encoding is not called complete.

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "maps/ImageSuiteSupport.h"
#include "maps/JpegDecoder.h"
#include "support/TestPaths.h"

namespace wendra::test {
namespace {

constexpr int kWidth = 48;
constexpr int kHeight = 32;

std::vector<std::uint8_t> gradientRow(int y) {
    std::vector<std::uint8_t> row(kWidth * 3);
    for (int x = 0; x < kWidth; ++x) {
        row[x * 3] = static_cast<std::uint8_t>(x * 5);
        row[x * 3 + 1] = static_cast<std::uint8_t>(y * 7);
        row[x * 3 + 2] = 128;
    }
    return row;
}

TEST(JpegEncoding, WrittenRowsReadBackAsThePicture) {
    TempDir dir;
    maps::JpegDecoder encoder;
    ASSERT_TRUE(encoder.startEncoding(dir / "t.jpg", kWidth, kHeight));
    for (int y = 0; y < kHeight; ++y) ASSERT_TRUE(encoder.writeRow(gradientRow(y).data()));
    EXPECT_FALSE(encoder.writeRow(gradientRow(0).data())) << "a row past the height";
    ASSERT_TRUE(encoder.close());

    const RgbaImage back = decodeRgba(dir / "t.jpg");
    ASSERT_EQ(back.result, maps::LoadResult::Loaded);
    ASSERT_EQ(back.shape.width, kWidth);
    ASSERT_EQ(back.shape.height, kHeight);
    int worst = 0;
    for (int y = 0; y < kHeight; ++y) {
        const std::vector<std::uint8_t> row = gradientRow(y);
        for (int x = 0; x < kWidth * 3; ++x)
            worst = std::max(worst, std::abs(row[x] - back.rgba[(y * kWidth + x / 3) * 4 + x % 3]));
    }
    EXPECT_LT(worst, 16) << "quality 85 keeps a smooth gradient close";
}

TEST(JpegEncoding, AnEncodingClosedEarlyIsNotComplete) {
    TempDir dir;
    maps::JpegDecoder encoder;
    ASSERT_TRUE(encoder.startEncoding(dir / "t.jpg", kWidth, kHeight));
    ASSERT_TRUE(encoder.writeRow(gradientRow(0).data()));
    EXPECT_FALSE(encoder.close());
    EXPECT_FALSE(encoder.startEncoding(dir / "missing-folder/t.jpg", kWidth, kHeight));
    EXPECT_FALSE(encoder.startEncoding(dir / "zero.jpg", 0, kHeight));
}

}  // namespace
}  // namespace wendra::test
