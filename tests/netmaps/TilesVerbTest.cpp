#include <gtest/gtest.h>

#include "support/TestPaths.h"

namespace wendra::test {
namespace {

TEST(TilesVerb, CacheListsTheIndexAndWhichFilesRemain) {
    TempDir home;
    const std::string cache = (home / "cache").string();
    writeFile(home / "Wendra.net", "NetBmpMgr|1|4|2064|" + std::to_string(cache.size()) + "|" +
                                       cache + "|0||60|\n" +
                                       "NetBmp|2051|1500|13|4|1234|3|1|9000.500000|\n"
                                       "NetBmp|2052|1500|13|11|99|1|\n");
    const std::filesystem::path kept = home / "cache/OSM-Mapnik-Road/13/00001500/00002051.jpg";
    std::filesystem::create_directories(kept.parent_path());
    writeFile(kept, "jpeg");

    const ToolResult r = runTool({"tiles", "cache", "--home", home.path().string()});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.substr(0, r.out.find('\n') + 1),
              "{\"key\":\"13-00001500-00002051\",\"source\":\"OSM-Mapnik-Road\",\"level\":13,"
              "\"x\":2051,\"y\":1500,\"size\":1234,\"stamp\":9000.500000,\"active\":true,"
              "\"path\":\"" +
                  kept.string() + "\",\"exists\":true}\n");
    // The older line: the piste overlay is not displayed, and its file is gone.
    const std::string second = r.out.substr(r.out.find('\n') + 1);
    EXPECT_NE(second.find("\"key\":\"13-00001500-00002052\",\"source\":\"OSM-Piste\""),
              std::string::npos);
    EXPECT_NE(second.find("\"active\":false"), std::string::npos);
    EXPECT_NE(second.find("\"exists\":false}\n"), std::string::npos);

    for (const std::vector<std::string>& bad :
         {std::vector<std::string>{"tiles"},
          {"tiles", "cache"},
          {"tiles", "pack", "--home", "x"},
          {"tiles", "cache", "--home", (home / "none").string()}}) {
        const ToolResult refused = runTool(bad);
        EXPECT_EQ(refused.status, 1);
        EXPECT_EQ(refused.err.rfind("wendra-tool: tiles", 0), 0u) << refused.err;
    }
}

}  // namespace
}  // namespace wendra::test
