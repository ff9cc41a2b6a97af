#include "platform/Ticker.h"

#include <thread>

namespace wendra::platform {

namespace {

class SystemTicker final : public Ticker {
public:
    Time now() const override { return std::chrono::steady_clock::now(); }
    void sleep(std::chrono::milliseconds duration) override {
        std::this_thread::sleep_for(duration);
    }
};

}  // namespace

Ticker& systemTicker() {
    static SystemTicker ticker;
    return ticker;
}

}  // namespace wendra::platform
