// The journal's file: whole 40-byte records in order, a cut tail ignored and cut off
// before the next append, and the moves around a store of layer 0.

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <limits>

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

void writeRecords(const std::string& path, const std::vector<Fix>& fixes) {
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream out(path, std::ios::binary);
    for (const Fix& fix : fixes) {
        const FixRecord record = encodeFix(fix);
        out.write(reinterpret_cast<const char*>(record.data()), record.size());
    }
}

// After a crash the journal is whatever the disk kept: a record that no receiver could
// have sent is left out, the others are restored in order.
TEST_F(FixJournalTest, KeepsOnlyTheRecordsAReceiverCanGive) {
    constexpr double kNan = std::numeric_limits<double>::quiet_NaN();
    constexpr double kInf = std::numeric_limits<double>::infinity();
    struct Case {
        const char* legend;
        Fix fix;
        bool kept;
    };
    const Fix good = fixNumber(1);
    auto with = [&good](auto change) {
        Fix fix = good;
        change(fix);
        return fix;
    };
    const Case cases[] = {
        {"a plain fix", good, true},
        {"on the south pole", with([](Fix& f) { f.latitude = -90.0; }), true},
        {"on the date line", with([](Fix& f) { f.longitude = 180.0; }), true},
        {"a clock before 2000", with([](Fix& f) { f.time = -11000.0; }), true},
        {"latitude beyond the pole", with([](Fix& f) { f.latitude = 90.5; }), false},
        {"latitude of 1e224", with([](Fix& f) { f.latitude = 1e224; }), false},
        {"longitude beyond the date line", with([](Fix& f) { f.longitude = -180.5; }), false},
        {"latitude not a number", with([](Fix& f) { f.latitude = kNan; }), false},
        {"speed not a number", with([](Fix& f) { f.speed = static_cast<float>(kNan); }), false},
        {"infinite altitude", with([](Fix& f) { f.altitude = static_cast<float>(kInf); }), false},
        {"infinite signal", with([](Fix& f) { f.signal = static_cast<float>(-kInf); }), false},
        {"a time no clock has", with([](Fix& f) { f.time = 1e300; }), false},
        {"speed faster than any craft", with([](Fix& f) { f.speed = 1e30f; }), false},
    };
    std::vector<Fix> written;
    std::vector<Fix> expected;
    for (const Case& c : cases) {
        written.push_back(c.fix);
        if (c.kept) expected.push_back(c.fix);
    }
    writeRecords(journal.path(), written);
    EXPECT_EQ(journal.recordCount(), written.size());
    const std::vector<Fix> read = journal.readAll();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.legend);
        const bool found = std::find(read.begin(), read.end(), c.fix) != read.end();
        EXPECT_EQ(found, c.kept);
    }
    EXPECT_EQ(read, expected);
}

// A plain file where the folder should be: no journal can exist, and none is in the
// way of storing layer 0.
TEST_F(FixJournalTest, WhereTheFolderTakesNoJournalAppendsFailAndStoresGoAhead) {
    std::ofstream(folders.journal) << "not a folder";
    EXPECT_FALSE(journal.append(fixNumber(0)));
    EXPECT_EQ(journal.lastError(), ENOTDIR);
    EXPECT_TRUE(journal.setAside());
    EXPECT_FALSE(journal.asideExists());
    EXPECT_EQ(journal.recordCount(), 0u);
}

}  // namespace
}  // namespace wendra::test
