#include <gtest/gtest.h>

#include <string>

#include "platform/TraceLog.h"
#include "support/TestPaths.h"

namespace wendra::test {
namespace {

TEST(TraceLog, StartEmptiesTheFileAndRecordsInit) {
    TempDir folder;
    writeFile(folder / "TraceLog.txt", "left from the last run\n");
    platform::TraceLog log;
    ASSERT_TRUE(log.start(folder.path()));
    EXPECT_EQ(readFile(folder / "TraceLog.txt"), "");
    log.write("Saving config...");
    log.write("done");
    EXPECT_EQ(readFile(folder / "TraceLog.txt"), "Saving config...\ndone\n");
    EXPECT_EQ(log.breadcrumbs().back(), "Init");
}

TEST(TraceLog, RingKeepsTheLastTwentyNotesCutTo511Bytes) {
    platform::TraceLog log;
    for (int i = 0; i < 23; ++i) log.breadcrumb("note " + std::to_string(i));
    log.breadcrumb(std::string(600, 'x'));
    const auto notes = log.breadcrumbs();
    ASSERT_EQ(notes.size(), 20u);
    EXPECT_EQ(notes.front(), "note 4");
    EXPECT_EQ(notes[18], "note 22");
    EXPECT_EQ(notes.back(), std::string(511, 'x'));
}

TEST(TraceLog, WithoutAFolderNothingIsWritten) {
    TempDir folder;
    platform::TraceLog log;
    log.write("nowhere");
    log.writeSyncError(u".WndProc.3");
    EXPECT_TRUE(log.path().empty());
    ASSERT_TRUE(log.start(folder.path()));
    log.stop();
    log.write("after stop");
    EXPECT_EQ(readFile(folder / "TraceLog.txt"), "");
}

TEST(TraceLog, UnwritableFolderIsReported) {
    platform::TraceLog log;
    EXPECT_FALSE(log.start("/nonexistent/folder/for/wendra"));
    EXPECT_TRUE(log.path().empty());
}

}  // namespace
}  // namespace wendra::test
