#pragma once
// The map manager thread: takes the highest pending request every 50 ms and ranks,
// admits a load or hands the night colours to the maps; without requests it admits
// again 1100 ms after the last admission. While the screen is off it only stops.
// Start and stop from one thread; post from any.

#include <atomic>
#include <chrono>
#include <string_view>
#include <thread>

#include "maps/MapCatalogue.h"

namespace wendra::maps {

class MapManager {
public:
    static constexpr std::chrono::milliseconds kCycle{50};
    static constexpr std::chrono::milliseconds kAutomaticPass{1100};
    static constexpr int kNothingPending = -1;

    explicit MapManager(MapCatalogue& catalogue) : catalogue_(catalogue) {}
    ~MapManager() { stop(); }
    MapManager(const MapManager&) = delete;
    MapManager& operator=(const MapManager&) = delete;

    // A request; a lower one than already pending is absorbed by it.
    void post(ManagerLevel level);
    void start(std::u16string_view label = u".MapManager.1");
    // Posts the stop and waits for the thread to end.
    void stop(std::u16string_view label = u".MapManager.2");
    bool running() const { return running_.load(std::memory_order_acquire); }
    // Passes run so far, for whoever waits for one.
    int passes() const { return passes_.load(std::memory_order_acquire); }

private:
    void run();
    // The level to run now, or kNothingPending.
    int takeLevel(std::chrono::steady_clock::time_point now);
    void runLevel(int level);

    MapCatalogue& catalogue_;
    std::atomic<int> pending_{kNothingPending};
    std::atomic<bool> running_{false};
    std::atomic<int> passes_{0};
    std::chrono::steady_clock::time_point nextAutomatic_{};
    std::thread thread_;
};

}  // namespace wendra::maps
