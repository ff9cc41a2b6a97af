#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "TrackFixtures.h"
#include "platform/TraceLog.h"
#include "support/ScriptedMessageBoxes.h"
#include "support/TestPaths.h"

namespace wendra::test {
namespace {

TEST(TrackLock, KeepsTheOwnerLabelWhileHeld) {
    platform::LockWord word;
    TrackLock lock(word);
    EXPECT_TRUE(lock.ownerLabel().empty());
    {
        TrackLock::Hold hold(lock, u".Stat");
        EXPECT_TRUE(lock.held());
        EXPECT_EQ(lock.ownerLabel(), u".Stat");
    }
    EXPECT_FALSE(lock.held());
    EXPECT_TRUE(lock.ownerLabel().empty());
}

TEST(TrackLock, GivingUpReportsTheTraceSetWaitLabelAndProceeds) {
    TempDir folder;
    platform::traceLog().start(folder.path());
    platform::traceLog().breadcrumb("painting");
    ScriptedMessageBoxes boxes;
    platform::ScopedSyncLimits shortWait(
        {std::chrono::milliseconds(30), 100000, std::chrono::milliseconds(1)});
    platform::LockWord word;
    TrackLock lock(word);
    lock.acquire(u".Paint.1");
    lock.acquire(u".Add.1");  // the other holder never lets go
    EXPECT_TRUE(lock.held());
    EXPECT_EQ(lock.ownerLabel(), u".Add.1");

    const auto shown = boxes.shown();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, u".TraceSetWait..Add.1");
    EXPECT_EQ(shown[0].title, u".Sync error!");
    const std::string log = readFile(folder / "TraceLog.txt");
    EXPECT_EQ(log.rfind(".Sync.Error\n.TraceSetWait..Add.1\n", 0), 0u) << log;
    EXPECT_NE(log.find("\nInit\npainting\n"), std::string::npos) << log;
    platform::traceLog().stop();
}

// Two threads record and walk the main layer; the lock must keep the list whole.
TEST(TrackLock, TwoThreadsChangingTheTrackSeeAWholeList) {
    Track track;
    track.settings.noMerge = true;
    std::atomic<bool> done{false};
    std::thread recorder([&] {
        for (int i = 0; i < 2000; ++i) track.addFix(fixAt(10.0 * i, i, 50.0f), i % 2 == 0);
        done = true;
    });
    int walks = 0;
    while (!done) {
        TrackLock::Hold hold(track.lock(), u".Paint.1");
        int counted = 0;
        for (const TrackPoint* p = track.main().first(); p; p = p->next) ++counted;
        ASSERT_EQ(counted, track.main().count());
        ++walks;
    }
    recorder.join();
    EXPECT_EQ(track.main().count(), 2000);
    EXPECT_GT(walks, 0);
    EXPECT_NEAR(track.cumulativeValues(), 19.99f, 1e-2);
}

}  // namespace
}  // namespace wendra::test
