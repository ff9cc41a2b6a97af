#include "app/InternetWorker.h"

#include <algorithm>

#include "platform/MessageBox.h"
#include "platform/SoundPlayer.h"

namespace wendra {

using Pass = platform::ServicesManager::Pass;

InternetWorker::InternetWorker(platform::ServicesManager& manager, InternetWorkerHooks hooks)
    : manager_(manager), hooks_(std::move(hooks)) {}

InternetWorker::~InternetWorker() {
    requestStop();
    if (thread_.joinable()) thread_.join();
}

void InternetWorker::launch() {
    if (thread_.joinable()) {
        // Still starting or running: the started flag may not be up yet. A thread
        // told to stop is ending: it is waited for, so that the new start is not lost.
        if (!finished_.load(std::memory_order_acquire) && !stop_.load(std::memory_order_acquire))
            return;
        thread_.join();
    }
    finished_.store(false, std::memory_order_release);
    stop_.store(false, std::memory_order_release);
    thread_ = std::thread([this] { loop(); });
}

void InternetWorker::requestStop() {
    stop_.store(true, std::memory_order_release);
}

void InternetWorker::request(int level) {
    if (level == kStop)
        requestStop();
    else
        manager_.refreshAll();
}

bool InternetWorker::pause(std::chrono::milliseconds duration) const {
    const auto end = std::chrono::steady_clock::now() + duration;
    while (!stop_.load(std::memory_order_acquire)) {
        const auto now = std::chrono::steady_clock::now();
        if (now >= end) return true;
        std::this_thread::sleep_for(
            std::min<std::chrono::steady_clock::duration>(kStopPoll, end - now));
    }
    return false;
}

void InternetWorker::tell(Pass outcome) {
    const std::u16string text = manager_.message();
    if (text.empty()) return;
    switch (outcome) {
        case Pass::Done:
            if (hooks_.notice) hooks_.notice(text);
            platform::playSound(hooks_.programFolder / kSound);
            break;
        case Pass::Lost:
            platform::showMessage(text, kErrorTitle, platform::Buttons::Ok, platform::Icon::Error);
            manager_.clearMessage();
            break;
        case Pass::Unreachable:
            if (hooks_.notice) hooks_.notice(text);
            manager_.clearMessage();
            break;
        case Pass::Idle:
            break;
    }
}

void InternetWorker::loop() {
    if (manager_.size() > 0) manager_.service(0).unlockBusy();
    started_.store(true, std::memory_order_release);
    bool going = pause(hooks_.startPause);
    while (going) {
        const bool suspended = hooks_.screenOff && hooks_.screenOff();
        tell(manager_.pass(suspended));
        if (hooks_.idle) hooks_.idle();
        going = pause(hooks_.passPause);
    }
    manager_.workerStopping();
    started_.store(false, std::memory_order_release);
    // Finished before the stop request is let go, so that launch() never sees a
    // thread that neither runs on nor has ended.
    finished_.store(true, std::memory_order_release);
    stop_.store(false, std::memory_order_release);
}

}  // namespace wendra
