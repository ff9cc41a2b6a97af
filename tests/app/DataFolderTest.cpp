// Where the data folder and the records folder are, from the options and environment.

#include <gtest/gtest.h>

#include "app/DataFolder.h"
#include "support/TestPaths.h"

namespace wendra {
namespace {

TEST(DataFolder, TakesTheFirstPlaceThatIsSet) {
    struct Case {
        const char* legend;
        const char* option;
        FolderEnvironment environment;
        const char* folder;
    };
    const Case cases[] = {
        {"--home wins", "/opt/w", {"/home/a", "/srv/w", "/data", ""}, "/opt/w"},
        {"then $WENDRA_HOME", "", {"/home/a", "/srv/w", "/data", ""}, "/srv/w"},
        {"then $XDG_DATA_HOME", "", {"/home/a", "", "/data/", ""}, "/data/wendra"},
        {"a relative $XDG_DATA_HOME is ignored",
         "",
         {"/home/a", "", "data", ""},
         "/home/a/.local/share/wendra"},
        {"else the user's share folder",
         "",
         {"/home/a", "", "", ""},
         "/home/a/.local/share/wendra"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(dataFolder(c.option, c.environment), c.folder) << c.legend;
}

TEST(DataFolder, KeepsRecordsInTheDocumentsFolder) {
    EXPECT_EQ(recordsFolder({"/home/a", "", "", ""}), "/home/a/Documents/WendraRecords");
    EXPECT_EQ(recordsFolder({"/home/a", "", "", "/home/a/Dokumente"}),
              "/home/a/Dokumente/WendraRecords");
}

TEST(DataFolder, ReadsTheDocumentsFolderOfUserDirs) {
    struct Case {
        const char* legend;
        const char* file;
        const char* folder;
    };
    const Case cases[] = {
        {"under $HOME",
         "# comment\nXDG_DESKTOP_DIR=\"$HOME/Desktop\"\n"
         "XDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"\n",
         "/home/a/Dokumente"},
        {"absolute", "XDG_DOCUMENTS_DIR=\"/data/docs\"\r\n", "/data/docs"},
        {"relative paths are not allowed", "XDG_DOCUMENTS_DIR=\"docs\"\n", ""},
        {"not set", "XDG_MUSIC_DIR=\"$HOME/Music\"\n", ""},
        {"empty file", "", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(documentsFolderOf(c.file, "/home/a"), c.folder) << c.legend;
}

TEST(DataFolder, IsCreatedWithItsParents) {
    const test::TempDir temp;
    const std::string folder = (temp / "a" / "b").string();
    std::string error;
    EXPECT_TRUE(createDataFolder(folder, error));
    EXPECT_TRUE(std::filesystem::is_directory(folder));
    test::writeFile(temp / "file", "x");
    EXPECT_FALSE(createDataFolder((temp / "file").string(), error));
    EXPECT_FALSE(error.empty());
}

}  // namespace
}  // namespace wendra
