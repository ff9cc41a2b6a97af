#include "app/TimerTable.h"

#include <gtest/gtest.h>

namespace wendra {
namespace {

// Only the addresses matter: the table never calls a window.
platform::Window* const kMain = reinterpret_cast<platform::Window*>(0x1000);
platform::Window* const kDialog = reinterpret_cast<platform::Window*>(0x2000);

TEST(TimerTable, FiresTheEarliestDueTimerFirstAndOnlyOnce) {
    TimerTable table;
    ASSERT_TRUE(table.set(kMain, 1, 100, 1100));
    ASSERT_TRUE(table.set(kMain, 2, 100, 5));
    EXPECT_FALSE(table.takeDue(104));
    const auto first = table.takeDue(1300);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->id, 2);
    const auto second = table.takeDue(1300);
    ASSERT_TRUE(second);
    EXPECT_EQ(second->id, 1);
    EXPECT_FALSE(table.takeDue(5000));
    EXPECT_FALSE(table.nextDue());
}

TEST(TimerTable, SettingAnArmedTimerAgainMovesItInsteadOfAddingOne) {
    TimerTable table;
    table.set(kMain, 6, 0 + 1, 1200);
    table.set(kMain, 6, 1000, 1200);
    EXPECT_EQ(table.nextDue(), 2200);
    EXPECT_FALSE(table.takeDue(1300));
    ASSERT_TRUE(table.takeDue(2200));
    EXPECT_FALSE(table.takeDue(9999));
}

TEST(TimerTable, SameIdOnAnotherWindowIsAnotherTimer) {
    TimerTable table;
    table.set(kMain, 3, 1, 10);
    table.set(kDialog, 3, 1, 20);
    table.cancel(kMain, 3, 5);
    const auto fired = table.takeDue(100);
    ASSERT_TRUE(fired);
    EXPECT_EQ(fired->window, kDialog);
    EXPECT_FALSE(table.takeDue(100));
}

// The message of a fired timer may still be queued when the timer is cancelled: the
// handler asks and ignores it. Arming it again makes the next message count.
TEST(TimerTable, ACancelAfterFiringMarksTheQueuedMessageStale) {
    TimerTable table;
    table.set(kMain, 3, 1, 10);
    ASSERT_TRUE(table.takeDue(20));
    EXPECT_FALSE(table.wasCancelled(kMain, 3));
    table.cancel(kMain, 3, 21);
    EXPECT_TRUE(table.wasCancelled(kMain, 3));
    table.set(kMain, 3, 22, 10);
    EXPECT_FALSE(table.wasCancelled(kMain, 3));
}

TEST(TimerTable, WithAllEntriesArmedANewTimerIsDropped) {
    TimerTable table;
    for (int id = 0; id < TimerTable::kEntries; ++id) ASSERT_TRUE(table.set(kMain, id, 1, 1000));
    EXPECT_FALSE(table.set(kMain, 99, 1, 10));
    EXPECT_EQ(table.nextDue(), 1001);  // the dropped 10 ms timer is nowhere
    // An armed timer can still be moved.
    EXPECT_TRUE(table.set(kMain, 5, 1, 10));
    // Once one fires, its entry is free for the new one.
    ASSERT_TRUE(table.takeDue(11));
    EXPECT_TRUE(table.set(kMain, 99, 12, 10));
}

TEST(TimerTable, FreedEntriesAreReusedOldestFirst) {
    TimerTable table;
    for (int id = 0; id < TimerTable::kEntries; ++id) table.set(kMain, id, 1, 1000);
    table.cancel(kMain, 7, 50);  // cancelled first: the oldest stamp
    table.cancel(kMain, 3, 60);
    table.set(kDialog, 1, 70, 10);
    // Timer 3's entry still knows it was cancelled; timer 7's was taken.
    EXPECT_TRUE(table.wasCancelled(kMain, 3));
    EXPECT_FALSE(table.wasCancelled(kMain, 7));
    EXPECT_EQ(table.entry(7).window, kDialog);
}

TEST(TimerTable, CancelFirstTakesOnlyTheWindowsFirstArmedTimer) {
    TimerTable table;
    table.set(kDialog, 1, 1, 10);
    table.set(kMain, 2, 1, 10);
    table.set(kMain, 3, 1, 10);
    table.cancelFirst(kMain, 5);
    EXPECT_TRUE(table.wasCancelled(kMain, 2));
    EXPECT_FALSE(table.wasCancelled(kMain, 3));
    EXPECT_FALSE(table.wasCancelled(kDialog, 1));
}

}  // namespace
}  // namespace wendra
