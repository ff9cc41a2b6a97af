#pragma once
// Runs the internet services in their fixed order, one pass at a time on the worker
// thread, and merges their status messages into one. A failed request stops the
// services; they reset themselves after a back-off (1 min doubling to 15), so a lost
// connection is told once and the retries only update the status.

#include <atomic>
#include <chrono>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "platform/InternetService.h"

namespace wendra::platform {

class ServicesManager {
public:
    enum class Pass {
        Idle,         // not due: waiting for the back-off, or no service active
        Done,         // the services ran; message() is for a transient notice
        Lost,         // a request failed after working ones: message() is for a box
        Unreachable,  // a retry after the back-off failed too: status text only
    };

    static constexpr std::chrono::milliseconds kNextServiceDelay{1500};
    static constexpr std::size_t kMaxMerged = 253;
    static constexpr std::u16string_view kSeparator = u"\n";
    static constexpr std::chrono::minutes kFirstBackOff{1};
    static constexpr std::chrono::minutes kLongestBackOff{15};

    explicit ServicesManager(Ticker& ticker = systemTicker());

    // Appends a service to the pass order (tile service, sender, reader); not owned.
    void add(InternetService& service);
    std::size_t size() const { return services_.size(); }
    InternetService& service(std::size_t index) { return *services_.at(index); }

    // Refreshes every service's state; true when any is active.
    bool refreshAll();
    bool active() const;
    void cancelAll();
    void resetAll();
    void saveAll(std::vector<std::string>& lines) const;
    // Offers the line to each service until one takes it.
    bool loadRecord(std::string_view line);

    // One pass; while suspended (screen off) the first service does not run.
    Pass pass(bool suspended);
    std::u16string message() const { return record_.message(); }
    void clearMessage() { record_.clearMessage(); }
    int lastResult() const { return record_.lastResult(); }
    // Tells the services the worker ends, unless the last request failed.
    void workerStopping();
    // When the services reset themselves next (meaningful while lastResult() != 0).
    Ticker::Time retryAt() const { return record_.nextDue(); }

private:
    class Record final : public InternetService {
    public:
        using InternetService::InternetService;
        void run() override {}
    };

    bool retryIfDue();
    void runService(std::size_t index);
    void merge(const InternetService& service, std::size_t index);
    Pass conclude();

    Ticker& ticker_;
    Record record_;
    std::vector<InternetService*> services_;
    // The user interface may reset all while the worker's pass runs.
    std::atomic<int> backOffMinutes_{static_cast<int>(kFirstBackOff.count())};
    std::atomic<bool> lossTold_{false};
    std::atomic<bool> retrying_{false};
};

}  // namespace wendra::platform
