// The journal's file: whole 40-byte records in order, a cut tail ignored and cut off
// before the next append, and the moves around a store of layer 0.

#include <gtest/gtest.h>

#include <filesystem>

#include "TrackFilesFixture.h"

namespace wendra::test {
namespace {

namespace fs = std::filesystem;

Fix fixNumber(int n) {
    return Fix{45.0 + n * 1e-5, 7.0, 3.5f, 400.0f + n, n % 360, 40.0f, 8000.0 + n / 86400.0};
}

class FixJournalTest : public TrackFilesTestBase {};

TEST_F(FixJournalTest, HoldsTheFixRecordsInOrderAndCreatesItsFolder) {
    ASSERT_FALSE(fs::exists(folders.journal));
    for (int n = 0; n < 3; ++n) ASSERT_TRUE(journal.append(fixNumber(n)));
    const std::string bytes = readFile(journal.path());
    ASSERT_EQ(bytes.size(), 120u);
    const FixRecord second = encodeFix(fixNumber(1));
    EXPECT_EQ(bytes.substr(40, 40), std::string(second.begin(), second.end()));
    EXPECT_EQ(journal.readAll(), (std::vector<Fix>{fixNumber(0), fixNumber(1), fixNumber(2)}));
}

TEST_F(FixJournalTest, IgnoresACutTailAndCutsItBeforeTheNextAppend) {
    journal.append(fixNumber(0));
    journal.append(fixNumber(1));
    fs::resize_file(journal.path(), 60);
    EXPECT_EQ(journal.recordCount(), 1u);
    EXPECT_EQ(journal.readAll(), std::vector<Fix>{fixNumber(0)});
    ASSERT_TRUE(journal.append(fixNumber(2)));
    EXPECT_EQ(fs::file_size(journal.path()), 80u);
    EXPECT_EQ(journal.readAll(), (std::vector<Fix>{fixNumber(0), fixNumber(2)}));
}

TEST_F(FixJournalTest, ReadsJournalsLargerThanOneBlock) {
    for (int n = 0; n < 2500; ++n) journal.append(fixNumber(n));
    const std::vector<Fix> fixes = journal.readAll();
    ASSERT_EQ(fixes.size(), 2500u);
    EXPECT_EQ(fixes[1024], fixNumber(1024));
    EXPECT_EQ(fixes.back(), fixNumber(2499));
}

TEST_F(FixJournalTest, AnAbsentJournalIsEmpty) {
    EXPECT_EQ(journal.recordCount(), 0u);
    EXPECT_TRUE(journal.readAll().empty());
}

TEST_F(FixJournalTest, SettingAsideAlwaysLeavesTheMarkAndCanBeUndone) {
    ASSERT_TRUE(journal.setAside());  // no journal yet: the mark alone
    EXPECT_TRUE(journal.asideExists());
    journal.dropAside();
    journal.append(fixNumber(0));
    ASSERT_TRUE(journal.setAside());
    EXPECT_EQ(journal.recordCount(), 0u);
    ASSERT_TRUE(journal.takeBack());
    EXPECT_EQ(journal.readAll(), std::vector<Fix>{fixNumber(0)});
    EXPECT_FALSE(journal.asideExists());
}

}  // namespace
}  // namespace wendra::test
