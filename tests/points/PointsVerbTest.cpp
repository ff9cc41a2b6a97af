// wendra-tool points, run as a user would: a file converted to the other form and back
// shows the same points, and failures say which file.

#include <gtest/gtest.h>

#include "support/TestPaths.h"

namespace wendra {
namespace {

TEST(PointsVerb, ConvertsBothWaysAndShowsTheSamePoints) {
    test::TempDir dir;
    const std::string seed = (test::testData() / "points" / "text.wdp").string();
    const std::string packed = (dir / "packed.wdp").string();
    const std::string text = (dir / "text.wdp").string();
    const test::ToolResult before = test::runTool({"points", "dump", seed});
    ASSERT_EQ(before.status, 0) << before.err;
    EXPECT_NE(before.out.find("\"name\":\"Hut\",\"group\":\"Alps\",\"lat\":46.50000000"),
              std::string::npos)
        << before.out;
    EXPECT_NE(before.out.find("\"comment\":\"a\\u000d\\u000ab c\""), std::string::npos);
    ASSERT_EQ(test::runTool({"points", "convert", "--packed", seed, packed}).status, 0);
    EXPECT_EQ(static_cast<unsigned char>(test::readFile(packed).at(0)), 0xFF);
    ASSERT_EQ(test::runTool({"points", "convert", "--text", packed, text}).status, 0);
    EXPECT_EQ(test::runTool({"points", "dump", text}).out, before.out);
    EXPECT_EQ(test::readFile(text), test::readFile(seed));
}

TEST(PointsVerb, ListsTheIconsAndRefusesWhatItCannotRead) {
    const test::ToolResult icons =
        test::runTool({"points", "icons", std::string(WENDRA_SOURCE_DIR) + "/data/icons"});
    ASSERT_EQ(icons.status, 0);
    EXPECT_EQ(icons.out.substr(0, 13), "0\t*\n1\t*SH*\n2\t");
    EXPECT_NE(icons.out.find("\tFlag\n"), std::string::npos);
    const test::ToolResult missing = test::runTool({"points", "dump", "/nonexistent.wdp"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err, "wendra-tool: /nonexistent.wdp: cannot open the points file\n");
}

}  // namespace
}  // namespace wendra
