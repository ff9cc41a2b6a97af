// A save replaces what the name stands for, and only that: a regular file by a new one
// renamed over it, a link's target (the link stays), a device or FIFO by writing to it.

#include "platform/ReplacingFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "support/TestPaths.h"

namespace wendra::platform {
namespace {

namespace fs = std::filesystem;

std::size_t entries(const fs::path& folder) {
    return static_cast<std::size_t>(
        std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

bool save(const fs::path& path, const std::string& content) {
    ReplacingFile file;
    return file.open(path.string()) && file.write(content.data(), content.size()) && file.commit();
}

TEST(ReplacingFile, SavesWhatTheNameStandsFor) {
    struct Case {
        const char* legend;
        std::function<void(const test::TempDir&)> prepare;  // makes dir/"out"
        fs::file_type kept;                                 // what dir/"out" still is afterwards
        const char* contentAt;                              // where the new content is to be found
        std::size_t entriesAfter;                           // nothing left beside
    };
    const Case cases[] = {
        {"a new file", [](const test::TempDir&) {}, fs::file_type::regular, "out", 1},
        {"an old file", [](const test::TempDir& d) { test::writeFile(d / "out", "old"); },
         fs::file_type::regular, "out", 1},
        {"a link: the target gets it, the link stays",
         [](const test::TempDir& d) {
             test::writeFile(d / "target", "old");
             fs::create_symlink("target", d / "out");
         },
         fs::file_type::symlink, "target", 2},
        {"a link to nothing yet: the file it names is made",
         [](const test::TempDir& d) { fs::create_symlink("target", d / "out"); },
         fs::file_type::symlink, "target", 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.legend);
        const test::TempDir dir;
        c.prepare(dir);
        ASSERT_TRUE(save(dir / "out", "new"));
        EXPECT_EQ(fs::symlink_status(dir / "out").type(), c.kept);
        EXPECT_EQ(test::readFile(dir / c.contentAt), "new");
        EXPECT_EQ(entries(dir.path()), c.entriesAfter);
    }
}

TEST(ReplacingFile, WritesAFifoDirectlyInsteadOfReplacingIt) {
    const test::TempDir dir;
    const fs::path fifo = dir / "out";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    // A reader is there first, so the writer's open does not wait.
    const int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    ReplacingFile file;
    ASSERT_TRUE(file.open(fifo.string()));
    EXPECT_TRUE(file.inPlace());
    EXPECT_TRUE(file.write("fix\n", 4));
    EXPECT_TRUE(file.commit());
    char got[8] = {};
    EXPECT_EQ(::read(reader, got, sizeof got), 4);
    ::close(reader);
    EXPECT_STREQ(got, "fix\n");
    EXPECT_TRUE(fs::is_fifo(fifo));
    EXPECT_EQ(entries(dir.path()), 1u);
}

TEST(ReplacingFile, AnAbandonedOrRefusedSaveKeepsTheOldFile) {
    const test::TempDir dir;
    test::writeFile(dir / "out", "old");
    ::chmod((dir / "out").c_str(), 0640);
    {
        ReplacingFile file;
        ASSERT_TRUE(file.open((dir / "out").string()));
        EXPECT_TRUE(file.write("half", 4));
    }  // gone without commit
    EXPECT_EQ(test::readFile(dir / "out"), "old");
    EXPECT_EQ(entries(dir.path()), 1u);
    EXPECT_TRUE(save(dir / "out", "new"));
    EXPECT_EQ(fs::status(dir / "out").permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);

    ReplacingFile full;
    ASSERT_TRUE(full.open("/dev/full"));
    EXPECT_FALSE(full.write("x", 1));
    EXPECT_FALSE(full.commit()) << "a refused write is not a save";
}

}  // namespace
}  // namespace wendra::platform
