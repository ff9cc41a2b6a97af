// The services manager's passes with services of the test's own: order, due times,
// merged messages, busy locks, cancel, and the back-off after a lost connection.

#include "platform/ServicesManager.h"

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

namespace wendra::platform {
namespace {

using namespace std::chrono_literals;
using Pass = ServicesManager::Pass;

class ManualTicker final : public Ticker {
public:
    Time now() const override { return now_; }
    void sleep(std::chrono::milliseconds duration) override { now_ += duration; }
    void advance(std::chrono::milliseconds duration) { now_ += duration; }

private:
    Time now_{std::chrono::hours(1)};
};

// Answers each run with the next scripted result and message (then success, silent).
class ScriptedService final : public InternetService {
public:
    ScriptedService(std::string name, std::chrono::milliseconds period, Ticker& ticker,
                    std::vector<std::string>& log)
        : InternetService(period, ticker), name_(std::move(name)), log_(log) {
        setSettings(kSettingEnabled);
    }
    void answer(int result, std::u16string message = {}) {
        script_.push_back({result, std::move(message)});
    }
    void run() override {
        log_.push_back(name_);
        if (script_.empty()) return;
        setLastResult(script_.front().first);
        setMessage(script_.front().second);
        script_.pop_front();
    }
    void checkOnce() override { log_.push_back(name_ + ".check"); }
    void workerStopping() override { log_.push_back(name_ + ".stop"); }
    bool loadRecord(std::string_view line) override {
        return line.starts_with(name_) && (log_.push_back(name_ + ".load"), true);
    }

private:
    std::string name_;
    std::vector<std::string>& log_;
    std::deque<std::pair<int, std::u16string>> script_;
};

class ServicesManagerTest : public ::testing::Test {
public:
    ServicesManagerTest() {
        for (ScriptedService* service : {&tiles, &sender, &reader}) manager.add(*service);
        manager.refreshAll();
    }
    std::vector<std::string> runs() { return std::exchange(log, {}); }

    ManualTicker ticker;
    std::vector<std::string> log;
    ScriptedService tiles{"tiles", 0ms, ticker, log};
    ScriptedService sender{"sender", 5000ms, ticker, log};
    ScriptedService reader{"reader", 5000ms, ticker, log};
    ServicesManager manager{ticker};
};

using Runs = std::vector<std::string>;

TEST_F(ServicesManagerTest, RunsInOrderAtTheirPeriodsAndChecksOnce) {
    EXPECT_EQ(manager.pass(false), Pass::Done);
    EXPECT_EQ(runs(),
              (Runs{"tiles.check", "tiles", "sender.check", "sender", "reader.check", "reader"}));
    ticker.advance(4999ms);
    EXPECT_EQ(manager.pass(false), Pass::Done);
    EXPECT_EQ(runs(), Runs{"tiles"});
    ticker.advance(1ms);
    manager.pass(false);
    EXPECT_EQ(runs(), (Runs{"tiles", "sender", "reader"}));
}

TEST_F(ServicesManagerTest, LeavesOutWhatCannotRunNow) {
    struct Case {
        const char* legend;
        std::function<void(ServicesManagerTest&)> arrange;
        Runs expected;
    };
    const Case cases[] = {
        {"the screen is off: no tiles", [](auto&) {}, {"sender", "reader"}},
        {"the user holds a busy lock", [](auto& t) { t.sender.lockBusy(u".Test"); }, {"reader"}},
        {"disabled by the user",
         [](auto& t) {
             t.reader.setSettings(0);
             t.manager.refreshAll();
         },
         {"sender"}},
        {"stopped after a refusal",
         [](auto& t) {
             t.sender.setFlags(InternetService::kStopped);
             t.manager.refreshAll();
         },
         {"reader"}},
    };
    for (const auto& item : cases) {
        SCOPED_TRACE(item.legend);
        ServicesManagerTest& t = *this;
        for (ScriptedService* service : {&tiles, &sender, &reader}) {
            service->reset();
            service->setSettings(InternetService::kSettingEnabled);
            service->clearFlags(InternetService::kStopped);
            service->setNextDue(ticker.now());
        }
        manager.refreshAll();
        item.arrange(t);
        manager.pass(true);
        Runs seen;
        for (const auto& run : runs())
            if (run.find('.') == std::string::npos) seen.push_back(run);
        EXPECT_EQ(seen, item.expected);
    }
    tiles.setSettings(0);
    sender.setSettings(0);
    reader.setSettings(0);
    EXPECT_FALSE(manager.refreshAll());
    EXPECT_EQ(manager.pass(false), Pass::Idle);
}

TEST_F(ServicesManagerTest, MergesMessagesAndDelaysTheNextService) {
    tiles.answer(0, u"3 tiles");
    reader.answer(0, std::u16string(300, u'r'));
    EXPECT_EQ(manager.pass(false), Pass::Done);
    // A service with something to say holds the next one back 1.5 s.
    EXPECT_EQ(runs(), (Runs{"tiles.check", "tiles", "reader.check", "reader"}));
    const std::u16string merged = manager.message();
    EXPECT_EQ(merged.size(), ServicesManager::kMaxMerged);
    EXPECT_EQ(merged.substr(0, 9), u"3 tiles\nr");
    ticker.advance(1499ms);
    EXPECT_EQ(manager.pass(false), Pass::Done);
    EXPECT_EQ(manager.message(), u"");  // each pass starts afresh
    EXPECT_EQ(runs(), Runs{"tiles"});
    ticker.advance(1ms);
    manager.pass(false);
    EXPECT_EQ(runs(), (Runs{"tiles", "sender.check", "sender"}));
}

TEST_F(ServicesManagerTest, ALostConnectionIsToldOnceAndRetriedWithBackOff) {
    struct Step {
        std::chrono::milliseconds wait;
        int result;  // of the tile service's run, if it runs
        Pass pass;
        const char* message;
    };
    const Step steps[] = {
        {0ms, HttpRequest::kSendFailed, Pass::Lost, "next try in 1 min"},
        {59999ms, 0, Pass::Idle, ""},
        {1ms, HttpRequest::kNoConnection, Pass::Unreachable, "(error 2), next try in 2 min"},
        {120000ms, HttpRequest::kSendFailed, Pass::Unreachable, "next try in 4 min"},
        {240000ms, HttpRequest::kSendFailed, Pass::Unreachable, "next try in 8 min"},
        {480000ms, HttpRequest::kSendFailed, Pass::Unreachable, "next try in 15 min"},
        {900000ms, HttpRequest::kSendFailed, Pass::Unreachable, "next try in 15 min"},
        {900000ms, 0, Pass::Done, ""},
        {1ms, HttpRequest::kReadFailed, Pass::Lost, "next try in 1 min"},
    };
    int index = 0;
    for (const auto& step : steps) {
        SCOPED_TRACE(index++);
        ticker.advance(step.wait);
        if (step.pass != Pass::Idle) tiles.answer(step.result);
        EXPECT_EQ(manager.pass(false), step.pass);
        const std::u16string text = manager.message();
        const std::string shown(text.begin(), text.end());
        EXPECT_NE(shown.find(step.message), std::string::npos) << shown;
        Runs ran;
        for (const auto& run : runs())
            if (run.find('.') == std::string::npos) ran.push_back(run);
        // A failure keeps the later services from running at all.
        if (step.pass == Pass::Idle)
            EXPECT_EQ(ran, Runs{});
        else if (step.result != 0)
            EXPECT_EQ(ran, Runs{"tiles"});
        else
            EXPECT_EQ(ran.front(), "tiles");
    }
}

// A request that only ends when cancelled, to see the cancel reach it.
class PendingHttp final : public HttpRequest {
public:
    using HttpRequest::HttpRequest;

protected:
    int attempt(const Attempt&, std::vector<std::uint8_t>&, std::size_t&, HttpAnswer&) override {
        return kSendFailed;
    }
};

TEST_F(ServicesManagerTest, CancelReachesTheRequestAndIsNoLoss) {
    HttpSession session;
    PendingHttp request(session);
    tiles.setCurrentRequest(&request);
    manager.cancelAll();
    EXPECT_TRUE(tiles.cancelRequested());
    EXPECT_TRUE(request.cancelRequested());
    tiles.answer(HttpRequest::kCancelled);
    EXPECT_EQ(manager.pass(false), Pass::Idle);
    EXPECT_EQ(manager.message(), u"");
    manager.workerStopping();  // the last request did not succeed: no clears
    EXPECT_EQ(runs(), (Runs{"tiles.check", "tiles"}));
    manager.resetAll();
    EXPECT_FALSE(tiles.cancelRequested());
    EXPECT_FALSE(request.cancelRequested());
    EXPECT_EQ(manager.pass(false), Pass::Done);
    manager.workerStopping();
    EXPECT_EQ(runs(), (Runs{"tiles", "sender.check", "sender", "reader.check", "reader",
                            "tiles.stop", "sender.stop", "reader.stop"}));
}

TEST_F(ServicesManagerTest, OffersARecordUntilOneServiceTakesIt) {
    EXPECT_TRUE(manager.loadRecord("sender|1|"));
    EXPECT_FALSE(manager.loadRecord("Other|1|"));
    EXPECT_EQ(runs(), Runs{"sender.load"});
}

}  // namespace
}  // namespace wendra::platform
