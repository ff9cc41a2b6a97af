#include "platform/linux/SingleInstance.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "support/TestPaths.h"
#include "support/WaitUntil.h"

namespace wendra::platform {
namespace {

bool waitFor(const std::atomic<int>& count, int wanted) {
    return test::waitUntil([&] { return count.load() >= wanted; });
}

// flock() locks belong to the open file, so a second claim in the same process is a
// second program as far as the lock is concerned.
TEST(SingleInstance, ASecondStartWakesTheFirstInsteadOfRunning) {
    test::TempDir home;
    SingleInstance first(home.path());
    std::string error;
    ASSERT_EQ(first.claim(error), SingleInstance::Outcome::First) << error;
    std::atomic<int> wakes{0};
    first.listen([&] { ++wakes; });

    SingleInstance second(home.path());
    EXPECT_EQ(second.claim(error), SingleInstance::Outcome::NotifiedRunning);
    EXPECT_TRUE(waitFor(wakes, 1));
    SingleInstance third(home.path());
    EXPECT_EQ(third.claim(error), SingleInstance::Outcome::NotifiedRunning);
    EXPECT_TRUE(waitFor(wakes, 2));
}

TEST(SingleInstance, TheFolderIsFreeAgainOnceTheFirstHasGone) {
    test::TempDir home;
    std::string error;
    {
        SingleInstance first(home.path());
        ASSERT_EQ(first.claim(error), SingleInstance::Outcome::First);
        first.listen([] {});
    }
    SingleInstance next(home.path());
    EXPECT_EQ(next.claim(error), SingleInstance::Outcome::First) << error;
}

TEST(SingleInstance, OtherFoldersAreOtherPrograms) {
    test::TempDir one;
    test::TempDir two;
    std::string error;
    SingleInstance first(one.path());
    SingleInstance second(two.path());
    EXPECT_EQ(first.claim(error), SingleInstance::Outcome::First);
    EXPECT_EQ(second.claim(error), SingleInstance::Outcome::First);
    EXPECT_NE(SingleInstance::socketName(one.path()), SingleInstance::socketName(two.path()));
}

TEST(DataFolderLock, IsTheClaimTheProgramHoldsBothWays) {
    test::TempDir home;
    std::string error;
    {
        SingleInstance program(home.path());
        ASSERT_EQ(program.claim(error), SingleInstance::Outcome::First);
        DataFolderLock tool(home.path());
        EXPECT_EQ(tool.claim(error), DataFolderLock::Outcome::InUse);
        EXPECT_FALSE(tool.held());
    }
    DataFolderLock tool(home.path());
    ASSERT_EQ(tool.claim(error), DataFolderLock::Outcome::Held) << error;
    SingleInstance program(home.path());
    EXPECT_EQ(program.claim(error), SingleInstance::Outcome::InUse) << "no window to wake";
    tool.release();
    EXPECT_EQ(SingleInstance(home.path()).claim(error), SingleInstance::Outcome::First);
}

TEST(SingleInstance, AFolderThatCannotHoldTheLockIsReported) {
    SingleInstance nowhere("/proc/no-such-folder");
    std::string error;
    EXPECT_EQ(nowhere.claim(error), SingleInstance::Outcome::Failed);
    EXPECT_NE(error.find("wendra.lock"), std::string::npos) << error;
}

}  // namespace
}  // namespace wendra::platform
