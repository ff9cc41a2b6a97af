// The internet worker's thread with a service of the test's own: what the user is told
// after each kind of pass, the screen-off suspension, and the stop with its clears.

#include "app/InternetWorker.h"

#include <gtest/gtest.h>

#include <deque>
#include <mutex>
#include <vector>

#include "platform/SoundPlayer.h"
#include "support/RecordingPlayer.h"
#include "support/ScriptedMessageBoxes.h"
#include "support/WaitUntil.h"

namespace wendra {
namespace {

using test::RecordingPlayer;

using namespace std::chrono_literals;

// Answers its runs from a script, then succeeds silently; counts runs and stops.
class CountingService final : public platform::InternetService {
public:
    CountingService() : InternetService(0ms) { setSettings(kSettingEnabled); }
    void answer(int result, std::u16string text) {
        std::lock_guard lock(mutex_);
        script_.push_back({result, std::move(text)});
    }
    void run() override {
        runs_.fetch_add(1);
        std::lock_guard lock(mutex_);
        if (script_.empty()) return;
        setLastResult(script_.front().first);
        setMessage(script_.front().second);
        script_.pop_front();
    }
    void workerStopping() override { stops_.fetch_add(1); }
    int runs() const { return runs_.load(); }
    int stops() const { return stops_.load(); }

private:
    std::mutex mutex_;
    std::deque<std::pair<int, std::u16string>> script_;
    std::atomic<int> runs_{0};
    std::atomic<int> stops_{0};
};

struct WorkerRig {
    WorkerRig() {
        manager.add(service);
        manager.refreshAll();
    }
    InternetWorkerHooks hooks() {
        InternetWorkerHooks hooks;
        hooks.screenOff = [this] { return screenOff.load(); };
        hooks.notice = [this](const std::u16string& text) {
            std::lock_guard lock(mutex);
            notices.push_back(text);
        };
        hooks.idle = [this] { passes.fetch_add(1); };
        hooks.programFolder = "/data";
        hooks.startPause = 0ms;
        hooks.passPause = 1ms;
        return hooks;
    }
    std::vector<std::u16string> shownNotices() {
        std::lock_guard lock(mutex);
        return notices;
    }

    test::ScriptedMessageBoxes boxes;
    RecordingPlayer player;
    CountingService service;
    platform::ServicesManager manager;
    std::atomic<bool> screenOff{false};
    std::atomic<int> passes{0};
    std::mutex mutex;
    std::vector<std::u16string> notices;
};

TEST(InternetWorker, TellsNewsWithASoundAndALostConnectionOnceInABox) {
    WorkerRig rig;
    rig.service.answer(0, u"12 tiles");
    rig.service.answer(platform::HttpRequest::kSendFailed, u"");
    InternetWorker worker(rig.manager, rig.hooks());
    worker.launch();
    worker.launch();  // already running: no second thread
    ASSERT_TRUE(test::waitUntil([&] { return rig.boxes.shown().size() == 1; }));
    // Many passes later the back-off still holds the service: no second box, no run.
    const int passesAtLoss = rig.passes.load();
    ASSERT_TRUE(test::waitUntil([&] { return rig.passes.load() > passesAtLoss + 20; }));
    worker.requestStop();
    ASSERT_TRUE(test::waitUntil([&] { return !worker.running(); }));
    EXPECT_EQ(rig.service.runs(), 2);
    EXPECT_EQ(rig.shownNotices(), std::vector<std::u16string>{u"12 tiles"});
    EXPECT_EQ(rig.player.played(), std::vector<std::filesystem::path>{"/data/pop.wav"});
    const auto boxes = rig.boxes.shown();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].title, u"Error!");
    EXPECT_EQ(boxes[0].text.rfind(u"Unable to reach the internet! (error 3)", 0), 0u);
    EXPECT_EQ(rig.manager.message(), u"");
    EXPECT_EQ(rig.service.stops(), 0);  // the connection was lost: no clears sent
}

TEST(InternetWorker, LeavesTheFirstServiceAloneWhileTheScreenIsOff) {
    WorkerRig rig;
    rig.screenOff = true;
    InternetWorker worker(rig.manager, rig.hooks());
    worker.launch();
    ASSERT_TRUE(test::waitUntil([&] { return worker.running(); }));
    rig.screenOff = false;
    ASSERT_TRUE(test::waitUntil([&] { return rig.service.runs() > 0; }));
    rig.screenOff = true;
    const int runs = rig.service.runs();
    worker.request(BackgroundWorker::kStop);
    ASSERT_TRUE(test::waitUntil([&] { return !worker.running(); }));
    EXPECT_LE(rig.service.runs(), runs + 1);  // at most the pass under way
    EXPECT_EQ(rig.service.stops(), 1);
    // It starts again after a stop.
    rig.screenOff = false;
    worker.launch();
    ASSERT_TRUE(test::waitUntil([&] { return rig.service.runs() > runs + 1; }));
}

// The user turns the downloads off and at once on again: the stopping thread is
// waited for and a new one runs, rather than the start being lost.
TEST(InternetWorker, AStartRightAfterAStopRunsAgain) {
    WorkerRig rig;
    InternetWorker worker(rig.manager, rig.hooks());
    for (int round = 0; round < 20; ++round) {
        worker.launch();
        worker.requestStop();
        worker.launch();
        ASSERT_TRUE(test::waitUntil([&] { return worker.running(); })) << "round " << round;
        const int runs = rig.service.runs();
        ASSERT_TRUE(test::waitUntil([&] { return rig.service.runs() > runs + 1; }));
    }
}

}  // namespace
}  // namespace wendra
