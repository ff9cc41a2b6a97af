// wendra-tool image decode: the PNG it writes is the map bitmap, each 5-bit value
// widened as c<<3 | c>>2, with the night mode asked for; a refused file exits 1 with
// the program's message on one line.

#include <gtest/gtest.h>

#include "maps/ImageSuiteSupport.h"
#include "support/TestPaths.h"

namespace wendra::test {
namespace {

int widen(int c) {
    return c << 3 | c >> 2;
}

TEST(ImageVerb, WritesTheMapBitmapAsPng) {
    TempDir dir;
    const auto source = imagesFolder() / "gif/image-gif/interlaced.gif";
    for (int night : {0, 1, 4}) {
        SCOPED_TRACE(night);
        const auto out = dir / ("out" + std::to_string(night) + ".png");
        const ToolResult run = runTool(
            {"image", "decode", source.string(), out.string(), "--night", std::to_string(night)});
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.out,
                  "{\"width\":540,\"height\":330,\"palette\":true,\"memory_need\":442176}\n");
        const RgbaImage written = decodeRgba(out);
        ASSERT_EQ(written.result, maps::LoadResult::Loaded);
        const std::atomic<bool> never{false};
        const auto bitmap =
            maps::loadMapImage(source, maps::nightModeFromNumber(night), 1u << 30, never);
        ASSERT_EQ(bitmap.result, maps::LoadResult::Loaded);
        int wrong = 0;
        for (int y = 0; y < 330; ++y) {
            for (int x = 0; x < 540; ++x) {
                const unsigned p = bitmap.image->pixelAt(x, y);
                const std::uint8_t* c = &written.rgba[(y * 540 + x) * 4];
                if (c[0] != widen(p >> 11 & 31) || c[1] != widen(p >> 6 & 31) ||
                    c[2] != widen(p & 31))
                    ++wrong;
            }
        }
        EXPECT_EQ(wrong, 0);
    }
}

TEST(ImageVerb, DashDecodesWithoutWriting) {
    TempDir dir;
    const auto source = imagesFolder() / "jpeg/libjpeg-turbo/testorig.jpg";
    const ToolResult run = runTool({"image", "decode", source.string(), "-"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("\"width\":227,\"height\":149,\"palette\":false"), std::string::npos);
}

TEST(ImageVerb, ARefusedFileExitsOneWithTheProgramsMessage) {
    const auto source = imagesFolder() / "jpeg/libjpeg-turbo/monkey12.jpg";
    const ToolResult run = runTool({"image", "decode", source.string(), "-"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "wendra-tool: Unsupported format in " + source.string() + "\n");
    EXPECT_EQ(run.out, "");
    const ToolResult badNight = runTool({"image", "decode", source.string(), "-", "--night", "5"});
    EXPECT_EQ(badNight.status, 1);
}

}  // namespace
}  // namespace wendra::test
