#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "platform/Sync.h"
#include "platform/TraceLog.h"
#include "support/ScriptedMessageBoxes.h"
#include "support/TestPaths.h"

namespace wendra::test {
namespace {

using std::chrono::milliseconds;

TEST(Sync, WaitEndsWhenAnotherThreadSetsTheFlag) {
    ScriptedMessageBoxes boxes;
    std::atomic<bool> running{false};
    std::thread worker([&] {
        std::this_thread::sleep_for(milliseconds(20));
        running = true;
    });
    platform::waitFor([&] { return running.load(); }, u".WndProc.1");
    EXPECT_TRUE(running);
    worker.join();
    EXPECT_TRUE(boxes.shown().empty());
}

TEST(Sync, GivingUpWritesTheTraceAndShowsTheLabel) {
    struct Case {
        const char* legend;
        platform::SyncLimits limits;
    };
    const Case cases[] = {
        {"by time", {milliseconds(20), 100000, milliseconds(1)}},
        {"by polls", {milliseconds(100000), 5, milliseconds(1)}},
    };
    for (const Case& c : cases) {
        TempDir folder;
        platform::traceLog().start(folder.path());
        for (int i = 0; i < 25; ++i) platform::traceLog().breadcrumb("step " + std::to_string(i));
        ScriptedMessageBoxes boxes;
        platform::ScopedSyncLimits limits(c.limits);
        const auto start = std::chrono::steady_clock::now();
        platform::waitFor([] { return false; }, u".WndProc.2");
        EXPECT_LT(std::chrono::steady_clock::now() - start, milliseconds(5000)) << c.legend;

        std::string expected = ".Sync.Error\n.WndProc.2\n";
        for (int i = 5; i < 25; ++i) expected += "step " + std::to_string(i) + "\n";
        EXPECT_EQ(readFile(folder / "TraceLog.txt"), expected) << c.legend;
        const auto shown = boxes.shown();
        ASSERT_EQ(shown.size(), 1u) << c.legend;
        EXPECT_EQ(shown[0].text, u".WndProc.2");
        EXPECT_EQ(shown[0].title, u".Sync error!");
        EXPECT_EQ(shown[0].icon, platform::Icon::Warning);
        EXPECT_EQ(shown[0].buttons, platform::Buttons::Ok);
        EXPECT_TRUE(shown[0].topmost);
        for (const std::string& entry : platform::traceLog().breadcrumbs())
            EXPECT_TRUE(entry.empty()) << c.legend << ": the ring is cleared";
        platform::traceLog().stop();
    }
}

TEST(LockWord, LockGivenUpIsTakenAnywayAndOtherBitsAreLeftAlone) {
    ScriptedMessageBoxes boxes;
    platform::ScopedSyncLimits limits({milliseconds(10), 100000, milliseconds(1)});
    platform::LockWord word;
    constexpr std::uint32_t kViewMode = 1u << 8;
    word.set(kViewMode);
    EXPECT_TRUE(word.tryLock(platform::LockWord::kPaintLock));
    EXPECT_FALSE(word.tryLock(platform::LockWord::kPaintLock));
    EXPECT_TRUE(word.tryLock(platform::LockWord::kTrackLock));
    word.lock(platform::LockWord::kPaintLock, u".PaintSetWait.1");
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].text, u".PaintSetWait.1");
    word.unlock(platform::LockWord::kPaintLock);
    EXPECT_FALSE(word.test(platform::LockWord::kPaintLock));
    EXPECT_TRUE(word.test(platform::LockWord::kTrackLock));
    EXPECT_TRUE(word.test(kViewMode));
}

// Each thread bumps a plain counter under the lock bit; a lost update or a data race
// (under ThreadSanitizer) means the bit did not exclude.
TEST(LockWord, ExcludesBetweenThreads) {
    ScriptedMessageBoxes boxes;
    platform::LockWord word;
    long counter = 0;
    auto work = [&] {
        for (int i = 0; i < 2000; ++i) {
            word.lock(platform::LockWord::kTrackLock, u".TraceSetWait..Add.1");
            ++counter;
            if (i % 100 == 0) std::this_thread::yield();
            word.unlock(platform::LockWord::kTrackLock);
        }
    };
    std::thread a(work);
    std::thread b(work);
    a.join();
    b.join();
    EXPECT_EQ(counter, 4000);
    EXPECT_TRUE(boxes.shown().empty());
}

}  // namespace
}  // namespace wendra::test
