#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/FolderListing.h"
#include "platform/WidePath.h"
#include "support/TestPaths.h"

namespace wendra::test {
namespace {

namespace fs = std::filesystem;

TEST(FolderListing, ListsFoldersFirstThenFilesByName) {
    TempDir root;
    fs::create_directories(root / "zeta");
    fs::create_directories(root / "Alpha");
    writeFile(root / "b.wdt", "");
    writeFile(root / "a.txt", "");
    fs::create_symlink(root / "zeta", root / "link-to-folder");
    writeFile(root / std::string("bad-\xE9.wdt"), "");  // not UTF-8: cannot be named again
    const std::vector<platform::FolderEntry> expected = {{u"Alpha", true},
                                                         {u"link-to-folder", true},
                                                         {u"zeta", true},
                                                         {u"a.txt", false},
                                                         {u"b.wdt", false}};
    EXPECT_EQ(platform::listFolder(root.path()), expected);
    EXPECT_TRUE(platform::listFolder(root / "missing").empty());
    EXPECT_TRUE(platform::pathExists(root / "a.txt"));
    EXPECT_FALSE(platform::pathExists(root / "c.txt"));
}

TEST(FolderListing, WidePathsRoundTripThroughTheMachinesBytes) {
    const std::u16string name = u"/tmp/Z\u00FCrich \u65E5\u672C.wdt";
    EXPECT_EQ(platform::wideFromPath(platform::pathFromWide(name)), name);
    EXPECT_EQ(platform::pathFromWide(std::u16string(1, char16_t(0xD800))), fs::path());
    EXPECT_FALSE(platform::wideFromPath(fs::path("bad-\xE9")).has_value());
}

}  // namespace
}  // namespace wendra::test
