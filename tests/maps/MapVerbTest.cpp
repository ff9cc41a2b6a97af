// wendra-tool map: one JSON line per import with the corners in WGS 84 and the size
// from the image header; exit status 1 with a message naming the file when the
// import fails or finds no image; the pixel of a position on a real map.

#include <gtest/gtest.h>

#include <algorithm>

#include "support/TestPaths.h"

namespace wendra::test {
namespace {

std::string ozi(const std::string& name) {
    return (sharedData() / "ozi" / name).string();
}

TEST(MapVerb, ImportPrintsTheMapAsItWouldBeHeld) {
    const ToolResult run = runTool({"map", "import", ozi("01-latlon/latlon-wgs84.map")});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out,
              "{\"result\":0,\"title\":\"latlon-wgs84\",\"image\":\"" +
                  ozi("01-latlon/latlon-wgs84.jpg") +
                  "\",\"corners\":[{\"lat\":90.000000000,\"lon\":-180.000000000},"
                  "{\"lat\":90.000000000,\"lon\":180.000000000},"
                  "{\"lat\":-90.000000000,\"lon\":-180.000000000},"
                  "{\"lat\":-90.000000000,\"lon\":180.000000000}],\"width\":720,\"height\":360,"
                  "\"datum\":\"WGS 84\",\"shift\":\"none\",\"towgs84\":[0.000,0.000,0.000]}\n");

    const ToolResult shifted =
        runTool({"map", "import", "--zone", "11", ozi("04-utm/utm11-nad27.map")});
    ASSERT_EQ(shifted.status, 0) << shifted.err;
    EXPECT_NE(shifted.out.find("\"shift\":\"applied\",\"towgs84\":[0.000,125.000,194.000]"),
              std::string::npos);
    EXPECT_NE(shifted.out.find("\"width\":120,\"height\":120"), std::string::npos);
}

TEST(MapVerb, FailuresExitOneNamingTheFile) {
    const struct {
        std::vector<std::string> args;
        std::string message;
    } cases[] = {
        {{"map", "import", ozi("bad/noheader.map")}, ozi("bad/noheader.map") + ": import result 1"},
        {{"map", "import", ozi("bad/unknowndatum.map")},
         ozi("bad/unknowndatum.map") + ": no image found"},
        {{"map", "import", "--zone", "0", ozi("bad/nolines.map")},
         "--zone must be 1..60 or -1..-60"},
        {{"map", "pixel", ozi("bad/badgcps1.map"), "0", "0"},
         ozi("bad/badgcps1.map") + ": import result 20"},
    };
    for (const auto& c : cases) {
        const ToolResult run = runTool(c.args);
        EXPECT_EQ(run.status, 1) << c.message;
        EXPECT_EQ(run.err, "wendra-tool: " + c.message + "\n");
    }
}

TEST(MapVerb, PixelOfAPosition) {
    const ToolResult run = runTool({"map", "pixel", ozi("01-latlon/latlon-wgs84.map"), "0", "0"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "359.500 179.500\n");  // (width - 1) / 2, (height - 1) / 2
}

// Imported into a data folder, maps are kept in its maps file once each, and ranked for
// a view: the map whose scale fits comes first, the world map behind it by the full
// 49 points of mismatch.
TEST(MapVerb, ImportedMapsAreRankedForAView) {
    TempDir home;
    const std::string h = home.path().string();
    ASSERT_EQ(runTool({"map", "import", "--zone", "11", "--home", h, ozi("04-utm/utm11-nad27.map")})
                  .status,
              0);
    ASSERT_EQ(runTool({"map", "import", "--home", h, ozi("01-latlon/latlon-wgs84.map")}).status, 0);
    const ToolResult again =
        runTool({"map", "import", "--home", h, ozi("01-latlon/latlon-wgs84.map")});
    EXPECT_EQ(again.status, 1);
    EXPECT_NE(again.err.find("already in"), std::string::npos) << again.err;
    const std::string saved = readFile(home / "Wendra.wdm");
    EXPECT_EQ(std::count(saved.begin(), saved.end(), '\n'), 2) << saved;

    const ToolResult rank =
        runTool({"maps", "rank", "--home", h, "--at", "33.76,-117.47", "--scale", "65000"});
    ASSERT_EQ(rank.status, 0) << rank.err;
    const auto second = rank.out.find("\n{\"rank\":2,");
    ASSERT_NE(second, std::string::npos) << rank.out;
    EXPECT_NE(rank.out.substr(0, second).find("\"title\":\"utm11-nad27\""), std::string::npos);
    EXPECT_NE(rank.out.find("\"score\":49.0", second), std::string::npos) << rank.out;
    EXPECT_EQ(runTool({"maps", "rank", "--home", h, "--at", "91,0", "--scale", "1"}).status, 1);
}

}  // namespace
}  // namespace wendra::test
