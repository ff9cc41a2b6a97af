#include "platform/WaitCursor.h"

#include <atomic>

namespace wendra::platform {

namespace {

class NoWaitCursor final : public WaitCursorHost {
public:
    void show() override {}
    void hide() override {}
};

std::atomic<WaitCursorHost*> installed{nullptr};

}  // namespace

WaitCursorHost& waitCursorHost() {
    static NoWaitCursor none;
    WaitCursorHost* current = installed.load(std::memory_order_acquire);
    return current ? *current : none;
}

ScopedWaitCursorHost::ScopedWaitCursorHost(WaitCursorHost& replacement)
    : previous_(installed.exchange(&replacement, std::memory_order_acq_rel)) {}

ScopedWaitCursorHost::~ScopedWaitCursorHost() {
    installed.store(previous_, std::memory_order_release);
}

}  // namespace wendra::platform
