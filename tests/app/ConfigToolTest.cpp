// wendra-tool config check on real data folders.

#include <gtest/gtest.h>

#include <filesystem>

#include "support/TestPaths.h"

namespace wendra::test {
namespace {

TEST(ConfigTool, ListsTheKindsAndConfirmsTheRoundTrip) {
    const TempDir home;
    const std::string original = readFile(testData() / "config" / "full.ini");
    writeFile(home / "Wendra.ini", original);
    const ToolResult result = runTool({"config", "check", "--home", home.path().string()});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_NE(result.out.find("{\"kind\":\"RIRUvo|Alert\",\"treatment\":\"read\",\"count\":3}\n"),
              std::string::npos);
    EXPECT_NE(result.out.find("{\"kind\":\"Sharing9\",\"treatment\":\"unknown\",\"count\":1}\n"),
              std::string::npos);
    EXPECT_NE(result.out.find("\"roundTrip\":true}\n"), std::string::npos) << result.out;
    EXPECT_EQ(readFile(home / "Wendra.ini"), original) << "the data folder is not written";
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(home.path()),
                            std::filesystem::directory_iterator()),
              1);
}

TEST(ConfigTool, NamesTheFirstLineThatWouldChange) {
    const TempDir home;
    writeFile(home / "Wendra.ini", readFile(testData() / "config" / "older-kinds.ini"));
    const ToolResult result = runTool({"config", "check", "--home", home.path().string()});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_NE(result.out.find("{\"kind\":\"Global3\",\"treatment\":\"read\",\"count\":1}\n"),
              std::string::npos);
    EXPECT_NE(result.out.find("\"roundTrip\":false,\"firstDifferentLine\":1}"), std::string::npos)
        << result.out;
}

TEST(ConfigTool, RefusesAFolderWithoutConfiguration) {
    const TempDir home;
    const ToolResult result = runTool({"config", "check", "--home", home.path().string()});
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("no configuration file"), std::string::npos) << result.err;
    EXPECT_TRUE(result.out.empty());
}

}  // namespace
}  // namespace wendra::test
