#pragma once
// The internet worker: one thread that runs a services-manager pass every 250 ms,
// tells the merged message as a transient notice with "pop.wav", a lost connection
// once in an "Error!" box, and the failed retries in the notice only (no sound).

#include <atomic>
#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>

#include "app/BackgroundWorker.h"
#include "platform/ServicesManager.h"

namespace wendra {

struct InternetWorkerHooks {
    // The pass leaves the tile service out while true (the user switched the screen off).
    std::function<bool()> screenOff;
    // Shows the text briefly without waiting for the user; called on the worker thread.
    std::function<void(const std::u16string&)> notice;
    // Back to idle after each pass.
    std::function<void()> idle;
    std::filesystem::path programFolder;  // where "pop.wav" is
    std::chrono::milliseconds startPause{1000};
    std::chrono::milliseconds passPause{250};
};

class InternetWorker final : public BackgroundWorker {
public:
    static constexpr std::u16string_view kErrorTitle = u"Error!";
    static constexpr std::string_view kSound = "pop.wav";
    static constexpr std::chrono::milliseconds kStopPoll{10};

    InternetWorker(platform::ServicesManager& manager, InternetWorkerHooks hooks);
    ~InternetWorker() override;

    // Starts the thread unless it runs already (window thread).
    void launch() override;
    bool running() const override { return started_.load(std::memory_order_acquire); }
    // The thread ends after its pass in progress; its last request may still run out.
    void requestStop() override;
    // kStop stops; any other level refreshes the services' state after a settings change.
    void request(int level) override;

private:
    void loop();
    void tell(platform::ServicesManager::Pass outcome);
    // Sleeps, waking every 10 ms to see a stop request; false when stopping.
    bool pause(std::chrono::milliseconds duration) const;

    platform::ServicesManager& manager_;
    InternetWorkerHooks hooks_;
    std::atomic<bool> started_{false};
    std::atomic<bool> stop_{false};
    std::atomic<bool> finished_{false};  // the thread's loop has ended
    std::thread thread_;
};

}  // namespace wendra
