#include "gps/GpsReader.h"

#include "platform/Sync.h"
#include "platform/TraceLog.h"
#include "records/DayNumber.h"

namespace wendra {

namespace {
constexpr std::chrono::milliseconds kStopPoll{1};
}

void GpsReader::start() {
    if (thread_.joinable()) return;
    stopRequest_ = false;
    // The window thread changes the settings only with the reader stopped; a copy keeps
    // the reader off them meanwhile.
    deactivated_ = port_.settings().has(SerialOptions::kDeactivated);
    autoReconnect_ = port_.settings().has(SerialOptions::kAutoReconnect);
    thread_ = std::thread([this] { run(); });
    platform::waitFor([this] { return running(); }, kStartLabel);
}

void GpsReader::stop() {
    if (!thread_.joinable()) return;
    stopRequest_ = true;
    const auto deadline = std::chrono::steady_clock::now() + kStopWait;
    while (running() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(kStopPoll);
    if (running()) platform::traceLog().write("GPS reader did not stop within 2000 ms");
    thread_.join();
    running_ = false;
    stopRequest_ = false;
}

void GpsReader::run() {
    watch_.hold(currentDayNumber());
    running_.store(true, std::memory_order_release);
    while (!stopRequest_) pass();
    running_.store(false, std::memory_order_release);
}

void GpsReader::pass() {
    const auto begin = std::chrono::steady_clock::now();
    const std::string_view chunk = port_.readChunk();
    const auto took = std::chrono::steady_clock::now() - begin;
    if (deactivated_) {
        shell_.positionNotShown();
        watch_.hold(currentDayNumber());
    }
    if (!chunk.empty() && sink_) sink_(chunk);
    watch_.check(currentDayNumber(), autoReconnect_);
    if (took < kQuickRead) std::this_thread::sleep_for(kMinPass - took);
}

}  // namespace wendra
