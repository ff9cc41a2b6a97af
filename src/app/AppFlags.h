#pragma once
// The process-wide flags of the application, shared by every thread: the first word
// holds the start-up, threads, drawing and changed-file flags, the second the workers'
// and start-up-complete flags. Each bit is independent; reads and writes are atomic.

#include <atomic>
#include <cstdint>

namespace wendra {

namespace AppFlag {
inline constexpr std::uint32_t kStartupNotFinished = 1u << 0;
inline constexpr std::uint32_t kGpsReaderRunning = 1u << 1;
inline constexpr std::uint32_t kGpsReaderStop = 1u << 2;
inline constexpr std::uint32_t kQuickDraw = 1u << 3;
inline constexpr std::uint32_t kRepaintPending = 1u << 4;
inline constexpr std::uint32_t kModalDialog = 1u << 5;
inline constexpr std::uint32_t kScreenOff = 1u << 6;
inline constexpr std::uint32_t kMapWorkerRunning = 1u << 7;
inline constexpr std::uint32_t kMapsChanged = 1u << 8;
inline constexpr std::uint32_t kLongPress = 1u << 9;
inline constexpr std::uint32_t kConfigChanged = 1u << 10;
inline constexpr std::uint32_t kPointsChanged = 1u << 11;
inline constexpr std::uint32_t kRoutesChanged = 1u << 12;
inline constexpr std::uint32_t kTrackRestored = 1u << 13;
inline constexpr std::uint32_t kTrackFileBusy = 1u << 14;
inline constexpr std::uint32_t kTimerThreadRunning = 1u << 15;
inline constexpr std::uint32_t kTimerThreadStop = 1u << 16;
inline constexpr std::uint32_t kWideScreen = 1u << 17;
}  // namespace AppFlag

namespace AppFlag2 {
inline constexpr std::uint32_t kInternetRunning = 1u << 0;
inline constexpr std::uint32_t kInternetStop = 1u << 1;
inline constexpr std::uint32_t kTileIndexChanged = 1u << 2;
inline constexpr std::uint32_t kPowerThreadRunning = 1u << 3;
inline constexpr std::uint32_t kPowerThreadStop = 1u << 4;
inline constexpr std::uint32_t kStartupComplete = 1u << 5;
}  // namespace AppFlag2

class FlagWord {
public:
    void set(std::uint32_t bits) { bits_.fetch_or(bits, std::memory_order_acq_rel); }
    void clear(std::uint32_t bits) { bits_.fetch_and(~bits, std::memory_order_acq_rel); }
    void assign(std::uint32_t bits) { bits_.store(bits, std::memory_order_release); }
    bool test(std::uint32_t bits) const {
        return (bits_.load(std::memory_order_acquire) & bits) != 0;
    }
    void put(std::uint32_t bits, bool on) { on ? set(bits) : clear(bits); }

private:
    std::atomic<std::uint32_t> bits_{0};
};

struct AppFlags {
    FlagWord first;
    FlagWord second;
};

}  // namespace wendra
