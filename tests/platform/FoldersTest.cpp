#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

#include "platform/FolderListing.h"
#include "platform/Folders.h"
#include "support/TestPaths.h"

namespace wendra::test {
namespace {

namespace fs = std::filesystem;
using Environment = std::map<std::string, std::string>;

platform::EnvironmentLookup lookupIn(const Environment& environment) {
    return [environment](const char* name) -> std::optional<std::string> {
        const auto found = environment.find(name);
        if (found == environment.end() || found->second.empty()) return std::nullopt;
        return found->second;
    };
}

TEST(Folders, DataFolderTakesTheFirstThatIsGiven) {
    struct Case {
        const char* legend;
        std::optional<fs::path> option;
        Environment environment;
        fs::path expected;
    };
    const Case cases[] = {
        {"--home wins over everything",
         fs::path("/opt/w"),
         {{"WENDRA_HOME", "/srv/w"}, {"XDG_DATA_HOME", "/x"}, {"HOME", "/home/u"}},
         "/opt/w"},
        {"then $WENDRA_HOME",
         std::nullopt,
         {{"WENDRA_HOME", "/srv/w"}, {"XDG_DATA_HOME", "/x"}, {"HOME", "/home/u"}},
         "/srv/w"},
        {"then $XDG_DATA_HOME/wendra",
         std::nullopt,
         {{"XDG_DATA_HOME", "/x"}, {"HOME", "/home/u"}},
         "/x/wendra"},
        {"then ~/.local/share/wendra",
         std::nullopt,
         {{"HOME", "/home/u"}},
         "/home/u/.local/share/wendra"},
        {"empty variables count as unset",
         std::nullopt,
         {{"WENDRA_HOME", ""}, {"XDG_DATA_HOME", ""}, {"HOME", "/home/u"}},
         "/home/u/.local/share/wendra"},
        {"nothing known", std::nullopt, {}, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(platform::dataFolder(c.option, lookupIn(c.environment)), c.expected) << c.legend;
}

TEST(Folders, RecordsFolderFollowsTheUsersDocumentsFolder) {
    TempDir config;
    EXPECT_EQ(platform::recordsFolder(
                  lookupIn({{"HOME", "/home/u"}, {"XDG_CONFIG_HOME", config.path()}})),
              "/home/u/Documents/WendraRecords");
    writeFile(config / "user-dirs.dirs",
              "# written by xdg-user-dirs-update\nXDG_DESKTOP_DIR=\"$HOME/Desktop\"\n"
              "XDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"\n");
    EXPECT_EQ(platform::recordsFolder(
                  lookupIn({{"HOME", "/home/u"}, {"XDG_CONFIG_HOME", config.path()}})),
              "/home/u/Dokumente/WendraRecords");
    EXPECT_EQ(platform::recordsFolder(
                  lookupIn({{"HOME", "/home/u"}, {"XDG_DOCUMENTS_DIR", "/data/docs"}})),
              "/data/docs/WendraRecords");
    writeFile(config / "user-dirs.dirs", "XDG_DOCUMENTS_DIR=\"unterminated\n");
    EXPECT_EQ(platform::recordsFolder(
                  lookupIn({{"HOME", "/home/u"}, {"XDG_CONFIG_HOME", config.path()}})),
              "/home/u/Documents/WendraRecords");
}

TEST(Folders, JournalFolderIsCreatedWithEveryMissingParent) {
    TempDir data;
    const fs::path journal = platform::journalFolder(data / "a" / "b");
    EXPECT_EQ(journal, data / "a" / "b" / "Wendra");
    EXPECT_TRUE(platform::ensureFolder(journal));
    EXPECT_TRUE(fs::is_directory(journal));
    writeFile(data / "file", "x");
    EXPECT_FALSE(platform::ensureFolder(data / "file" / "below"));
}

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
