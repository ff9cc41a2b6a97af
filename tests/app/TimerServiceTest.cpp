#include "app/TimerService.h"

#include <gtest/gtest.h>

#include <chrono>
#include <mutex>
#include <thread>
#include <vector>

#include "support/MessageOnlyWindow.h"
#include "support/WaitUntil.h"

namespace wendra {
namespace {

using test::kTimesAreMeasurable;
using test::waitUntil;

// Records the posted timer messages, from the timer thread.
class PostLog final : public test::MessageOnlyWindow {
public:
    void post(std::uint32_t code, std::int64_t param) override {
        std::lock_guard lock(mutex_);
        if (code == platform::kTimerMessage) ids_.push_back(static_cast<int>(param));
    }
    std::vector<int> ids() const {
        std::lock_guard lock(mutex_);
        return ids_;
    }

private:
    mutable std::mutex mutex_;
    std::vector<int> ids_;
};

TEST(TimerService, PostsDueTimersInOrderOfDueTime) {
    PostLog window;
    TimerService service;
    service.start();
    ASSERT_TRUE(service.running());
    service.set(&window, 2, 60);
    service.set(&window, 1, 20);
    service.set(&window, 3, 0);
    ASSERT_TRUE(waitUntil([&] { return window.ids().size() == 3; }));
    EXPECT_EQ(window.ids(), (std::vector<int>{3, 1, 2}));
    service.stop();
    EXPECT_FALSE(service.running());
}

TEST(TimerService, ACancelledTimerIsNeverPosted) {
    PostLog window;
    TimerService service;
    service.start();
    service.set(&window, 1, 30);
    service.set(&window, 2, 40);
    service.cancel(&window, 1);
    ASSERT_TRUE(waitUntil([&] { return !window.ids().empty(); }));
    EXPECT_EQ(window.ids(), std::vector<int>{2});
}

// A timer set while the thread sleeps towards a later one must wake it.
TEST(TimerService, AnEarlierTimerWakesTheSleepingThread) {
    PostLog window;
    TimerService service;
    service.start();
    service.set(&window, 1, 60000);
    // Time for the thread to fall asleep towards the first: the situation under test.
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    const auto armed = std::chrono::steady_clock::now();
    service.set(&window, 2, 10);
    ASSERT_TRUE(waitUntil([&] { return !window.ids().empty(); }));
    EXPECT_EQ(window.ids(), std::vector<int>{2});
    if (kTimesAreMeasurable) {
        EXPECT_LT(std::chrono::steady_clock::now() - armed, std::chrono::seconds(5));
    }
}

TEST(TimerService, StopsPromptlyWhileTimersAreArmed) {
    PostLog window;
    TimerService service;
    service.start();
    service.set(&window, 1, 100000);
    const auto asked = std::chrono::steady_clock::now();
    service.stop();
    if (kTimesAreMeasurable) {
        EXPECT_LT(std::chrono::steady_clock::now() - asked, std::chrono::seconds(2));
    }
    EXPECT_TRUE(window.ids().empty());
}

}  // namespace
}  // namespace wendra
