#pragma once
// A worker thread the shell starts after the GPS and stops at shut-down (the map image
// worker, the internet worker). The shell waits for its running flag with the sync
// protocol under its own labels, so a worker that never comes up costs one report and
// start-up goes on. Requests carry a level that only ever rises until the worker
// takes it.

namespace wendra {

class BackgroundWorker {
public:
    // Request levels of the map image worker.
    static constexpr int kLoad = 0;
    static constexpr int kLightRefresh = 1;
    static constexpr int kReinitialise = 2;
    static constexpr int kStop = 3;

    virtual ~BackgroundWorker() = default;
    // Creates the thread; it sets its running flag as its first action.
    virtual void launch() = 0;
    virtual bool running() const = 0;
    // Asks the thread to end; it clears its running flag as its last action.
    virtual void requestStop() = 0;
    virtual void request(int level) = 0;
};

}  // namespace wendra
