#include "maps/MapManager.h"

#include "platform/Sync.h"

namespace wendra::maps {

void MapManager::post(ManagerLevel level) {
    const int wanted = static_cast<int>(level);
    int current = pending_.load();
    while (current < wanted && !pending_.compare_exchange_weak(current, wanted)) {
    }
}

void MapManager::start(std::u16string_view label) {
    if (thread_.joinable()) return;
    pending_.store(kNothingPending);
    thread_ = std::thread([this] { run(); });
    platform::waitFor([this] { return running(); }, label);
}

void MapManager::stop(std::u16string_view label) {
    if (!thread_.joinable()) return;
    post(ManagerLevel::Stop);
    platform::waitFor([this] { return !running(); }, label);
    thread_.join();
}

int MapManager::takeLevel(std::chrono::steady_clock::time_point now) {
    MapShell& shell = catalogue_.shell();
    if (shell.screenOff()) {
        int stop = static_cast<int>(ManagerLevel::Stop);
        return pending_.compare_exchange_strong(stop, kNothingPending) ? stop : kNothingPending;
    }
    const int level = pending_.exchange(kNothingPending);
    if (level == kNothingPending && now >= nextAutomatic_)
        return static_cast<int>(ManagerLevel::RankAndLoad);
    return level;
}

void MapManager::runLevel(int level) {
    MapShell& shell = catalogue_.shell();
    const auto view = shell.rankingView();
    switch (static_cast<ManagerLevel>(level)) {
        case ManagerLevel::Rank:
            if (view) catalogue_.rank(*view);
            break;
        case ManagerLevel::RankAndLoad:
            if (view) catalogue_.admit(*view);
            nextAutomatic_ = std::chrono::steady_clock::now() + kAutomaticPass;
            break;
        case ManagerLevel::NightMode:
            catalogue_.setNightMode(shell.nightMode());
            break;
        case ManagerLevel::Stop:
            break;
    }
    passes_.fetch_add(1, std::memory_order_acq_rel);
    shell.refreshStatusLine();
}

void MapManager::run() {
    running_.store(true, std::memory_order_release);
    catalogue_.setNightMode(catalogue_.shell().nightMode());
    nextAutomatic_ = std::chrono::steady_clock::now();
    for (;;) {
        std::this_thread::sleep_for(kCycle);
        // A stop is taken even while the list is being edited.
        if (catalogue_.paused() && pending_.load() != static_cast<int>(ManagerLevel::Stop))
            continue;
        const int level = takeLevel(std::chrono::steady_clock::now());
        if (level == kNothingPending) continue;
        runLevel(level);
        if (level == static_cast<int>(ManagerLevel::Stop)) break;
    }
    running_.store(false, std::memory_order_release);
}

}  // namespace wendra::maps
