#pragma once
// A worker thread the shell starts after the GPS and stops at shut-down (the map image
// worker, the internet worker): started and stopped with the sync protocol, and told
// what to do through a level that only ever rises until the worker takes it.

namespace wendra {

class BackgroundWorker {
public:
    // Request levels of the map image worker.
    static constexpr int kLoad = 0;
    static constexpr int kLightRefresh = 1;
    static constexpr int kReinitialise = 2;
    static constexpr int kStop = 3;

    virtual ~BackgroundWorker() = default;
    // Returns once the worker runs (or the wait gave up).
    virtual void start() = 0;
    // Asks the worker to stop and returns once it has.
    virtual void stop() = 0;
    virtual void request(int level) = 0;
};

}  // namespace wendra
