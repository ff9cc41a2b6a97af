// wendra-tool simulate --map: the picture and its calibration import as any map does,
// the shipped demo map's calibration is what the command writes, and the recorded
// walk lands on the street drawn for it.

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstdlib>
#include <sstream>

#include "maps/MapImageLoad.h"
#include "platform/Rgb16.h"
#include "support/TestPaths.h"

namespace wendra::test {
namespace {

// The walk's street as the tool draws it, and how far JPEG may move its colour.
constexpr int kStreetRed = 255, kStreetGreen = 200, kStreetBlue = 80;
constexpr int kColourSlack = 40;
constexpr int kSearchRadius = 4;  // pixels around the position

struct Fix {
    std::string latitude, longitude;  // as map pixel takes them
};

double degrees(const std::string& field, int degreeDigits) {
    return std::stod(field.substr(0, degreeDigits)) + std::stod(field.substr(degreeDigits)) / 60;
}

// The positions of the log's GGA sentences that have a fix, every `step`-th one.
std::vector<Fix> recordedFixes(const std::string& log, std::size_t step) {
    std::vector<Fix> fixes;
    std::istringstream lines(log);
    std::size_t seen = 0;
    for (std::string line; std::getline(lines, line);) {
        if (!line.starts_with("$GPGGA")) continue;
        std::vector<std::string> f;
        std::istringstream fields(line);
        for (std::string field; std::getline(fields, field, ',');) f.push_back(field);
        if (f.size() < 7 || f[6] == "0" || seen++ % step != 0) continue;
        const double lat = degrees(f[2], 2) * (f[3] == "S" ? -1 : 1);
        const double lon = degrees(f[4], 3) * (f[5] == "W" ? -1 : 1);
        fixes.push_back({std::to_string(lat), std::to_string(lon)});
    }
    return fixes;
}

bool streetNear(const maps::MapImage& image, int x, int row) {
    for (int y = row - kSearchRadius; y <= row + kSearchRadius; ++y) {
        for (int i = x - kSearchRadius; i <= x + kSearchRadius; ++i) {
            if (i < 0 || y < 0 || i >= image.width() || y >= image.height()) continue;
            const platform::ColorRef c = platform::fromPixel16(image.pixelAt(i, y));
            if (std::abs(int(platform::redOf(c)) - kStreetRed) < kColourSlack &&
                std::abs(int(platform::greenOf(c)) - kStreetGreen) < kColourSlack &&
                std::abs(int(platform::blueOf(c)) - kStreetBlue) < kColourSlack)
                return true;
        }
    }
    return false;
}

TEST(DemoMap, ImportsAndTheRecordedWalkRunsOnItsStreet) {
    TempDir dir;
    const ToolResult made = runTool({"simulate", "--out", (dir / "demo.nmea").string(), "--map",
                                     (dir / "demo-map.jpg").string()});
    ASSERT_EQ(made.status, 0) << made.err;
    EXPECT_EQ(readFile(dir / "demo-map.map"),
              readFile(std::filesystem::path(WENDRA_SOURCE_DIR) / "data/demo-map.map"))
        << "data/demo-map.map is not what `wendra-tool simulate --map` writes";

    const ToolResult imported = runTool({"map", "import", (dir / "demo-map.map").string()});
    ASSERT_EQ(imported.status, 0) << imported.err;
    EXPECT_NE(imported.out.find("{\"result\":0,\"title\":\"demo-map\""), std::string::npos);
    EXPECT_NE(imported.out.find("\"datum\":\"WGS 84\",\"shift\":\"none\""), std::string::npos);

    const std::atomic<bool> never{false};
    const maps::MapImageLoad load =
        maps::loadMapImage(dir / "demo-map.jpg", maps::NightMode::None, 1ull << 30, never);
    ASSERT_EQ(load.result, maps::LoadResult::Loaded);
    const maps::MapImage& image = *load.image;
    EXPECT_EQ(std::max(image.width(), image.height()), 2000);

    const std::vector<Fix> fixes = recordedFixes(readFile(dir / "demo.nmea"), 97);
    ASSERT_GT(fixes.size(), 30u);
    for (const Fix& fix : fixes) {
        const ToolResult pixel =
            runTool({"map", "pixel", (dir / "demo-map.map").string(), fix.latitude, fix.longitude});
        ASSERT_EQ(pixel.status, 0) << pixel.err;
        std::istringstream xy(pixel.out);
        double x = 0, y = 0;
        xy >> x >> y;
        // map pixel counts rows from the bottom; pixelAt from the top.
        const int row = image.height() - 1 - int(std::lround(y));
        EXPECT_TRUE(streetNear(image, int(std::lround(x)), row))
            << fix.latitude << " " << fix.longitude << " at " << pixel.out;
    }
}

TEST(DemoMap, RefusesAPictureThatIsNotJpeg) {
    TempDir dir;
    const ToolResult run = runTool({"simulate", "--map", (dir / "demo-map.png").string()});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "wendra-tool: --map needs a file name ending in .jpg\n");
    EXPECT_FALSE(std::filesystem::exists(dir / "demo-map.png"));
}

}  // namespace
}  // namespace wendra::test
