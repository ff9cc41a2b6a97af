#pragma once
// Keeps the desktop's screen saver and idle sleep away while the program is in use
// (the handheld's idle-timer reset, called once per second). Where the desktop
// offers no way to do that, reset() does nothing.

#include <memory>

namespace wendra::platform {

class IdleTimer {
public:
    virtual ~IdleTimer() = default;
    virtual void reset() = 0;
    // False when reset() can have no effect on this machine.
    virtual bool effective() const = 0;
};

// "xdg-screensaver reset" at most every 30 s in a graphical session that has it;
// otherwise an idle timer that does nothing.
std::unique_ptr<IdleTimer> desktopIdleTimer();

}  // namespace wendra::platform
