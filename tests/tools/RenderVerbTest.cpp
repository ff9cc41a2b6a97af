// wendra-tool render: frames of a data folder as the window draws them, read back from
// the PNG the verb writes and checked by what they must show.

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>

#include "maps/MapImageLoad.h"
#include "platform/Rgb16.h"
#include "support/TestPaths.h"

namespace wendra::test {
namespace {

// The middle of the shipped demo map, and a scale near its own (about 1.3 m a pixel).
constexpr const char* kDemoMiddle = "46.7007645,7.7828125";
constexpr const char* kDemoScale = "15000000";
constexpr int kWidth = 320;
constexpr int kHeight = 240;

std::filesystem::path demoMap() {
    return testData().parent_path().parent_path() / "data" / "demo-map.map";
}

// A point at the demo map's middle in palette colour 8 (red), label "Group/Name".
void writePoint(const std::filesystem::path& home) {
    writeFile(home / "Wendra.wdp",
              "GPSCoord|3|Hut|46.70076450|7.78281250|13|8|4|Alps|0||0||1|0||321|0|0.0|\n");
}

std::unique_ptr<maps::MapImage> readPng(const std::filesystem::path& file) {
    const std::atomic<bool> never{false};
    maps::MapImageLoad load = maps::loadMapImage(file, maps::NightMode::None, 1ull << 30, never);
    EXPECT_EQ(load.result, maps::LoadResult::Loaded) << file;
    return std::move(load.image);
}

platform::ColorRef colourAt(const maps::MapImage& image, int x, int y) {
    return platform::fromPixel16(image.pixelAt(x, y) & ~platform::kUnpaintedBit);
}

ToolResult render(const std::filesystem::path& home, const std::filesystem::path& out,
                  std::vector<std::string> more) {
    std::vector<std::string> args = {"render",  "--home", home.string(), "--size",
                                     "320x240", "--out",  out.string()};
    args.insert(args.end(), more.begin(), more.end());
    return runTool(args);
}

TEST(RenderVerb, DrawsTheFoldersMapAndPointsWhereTheyAre) {
    TempDir home;
    ASSERT_EQ(runTool({"map", "import", "--home", home.path().string(), demoMap().string()}).status,
              0);
    writePoint(home.path());
    const ToolResult r =
        render(home.path(), home / "frame.png", {"--at", kDemoMiddle, "--scale", kDemoScale});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("\"frames\":1,"), std::string::npos) << r.out;
    const auto image = readPng(home / "frame.png");
    ASSERT_TRUE(image);
    ASSERT_EQ(image->width(), kWidth);
    ASSERT_EQ(image->height(), kHeight);
    const int cx = kWidth / 2, cy = kHeight / 2;
    EXPECT_EQ(colourAt(*image, cx, cy), platform::quantised(platform::rgb(0xff, 0, 0)))
        << "the point's marker at the centre";
    int label = 0, map = 0;
    for (int y = cy - 40; y < cy - 5; ++y)
        for (int x = cx - 30; x < cx + 30; ++x)
            label += colourAt(*image, x, y) == platform::quantised(platform::rgb(0xff, 0, 0));
    for (int x = 0; x < kWidth; ++x)
        map += colourAt(*image, x, kHeight / 3) != platform::rgb(0xf8, 0xf8, 0xf8);
    EXPECT_GT(label, 20) << "its label above it";
    EXPECT_GT(map, kWidth / 2) << "the map under the view, not the white background";
}

TEST(RenderVerb, RepeatedFramesAreTheSameAndNightIsDark) {
    TempDir home;
    writePoint(home.path());
    ASSERT_EQ(render(home.path(), home / "one.png", {"--rotate", "30"}).status, 0);
    const ToolResult repeated =
        render(home.path(), home / "three.png", {"--rotate", "30", "--repeat", "3"});
    ASSERT_EQ(repeated.status, 0) << repeated.err;
    EXPECT_NE(repeated.out.find("\"frames\":3,\"median_ms\":"), std::string::npos) << repeated.out;
    EXPECT_NE(repeated.out.find("\"worst_ms\":"), std::string::npos) << repeated.out;
    EXPECT_EQ(readFile(home / "one.png"), readFile(home / "three.png"));

    ASSERT_EQ(render(home.path(), home / "night.png", {"--night"}).status, 0);
    const auto night = readPng(home / "night.png");
    ASSERT_TRUE(night);
    int dark = 0;
    for (int y = 60; y < 140; ++y)
        for (int x = 40; x < 280; ++x) dark += colourAt(*night, x, y) == 0u;
    EXPECT_GT(dark, 240 * 80 * 9 / 10) << "the night background, under a few grid lines";
    EXPECT_FALSE(std::filesystem::exists(home / "Wendra.ini")) << "nothing written";
}

TEST(RenderVerb, RefusesWhatItCannotDraw) {
    TempDir home;
    struct Case {
        const char* legend;
        std::vector<std::string> args;
        const char* says;
    };
    const std::string folder = home.path().string();
    const std::string out = (home / "x.png").string();
    const Case cases[] = {
        {"no size", {"render", "--home", folder, "--out", out}, "expected --home"},
        {"size not WxH", {"render", "--home", folder, "--size", "320", "--out", out}, "--size"},
        {"fit and a scale",
         {"render", "--home", folder, "--size", "9x9", "--fit", "--scale", "9", "--out", out},
         "--fit"},
        {"centre off the earth",
         {"render", "--home", folder, "--size", "9x9", "--at", "91,0", "--out", out},
         "--at"},
        {"no such folder",
         {"render", "--home", folder + "/none", "--size", "9x9", "--out", out},
         "no data folder"},
        {"output not writable",
         {"render", "--home", folder, "--size", "9x9", "--out", folder + "/none/x.png"},
         "cannot write"},
    };
    for (const Case& c : cases) {
        const ToolResult r = runTool(c.args);
        EXPECT_EQ(r.status, 1) << c.legend;
        EXPECT_NE(r.err.find(c.says), std::string::npos) << c.legend << ": " << r.err;
    }
}

}  // namespace
}  // namespace wendra::test
