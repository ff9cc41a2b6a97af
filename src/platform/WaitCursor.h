#pragma once
// The wait cursor shown during long work on the window thread. The window installs
// a host that shows it; without one nothing is shown. WaitCursor shows it for its
// own lifetime, so nested uses balance by construction.

namespace wendra::platform {

class WaitCursorHost {
public:
    virtual ~WaitCursorHost() = default;
    virtual void show() = 0;
    virtual void hide() = 0;
};

WaitCursorHost& waitCursorHost();

class ScopedWaitCursorHost {
public:
    explicit ScopedWaitCursorHost(WaitCursorHost& replacement);
    ~ScopedWaitCursorHost();
    ScopedWaitCursorHost(const ScopedWaitCursorHost&) = delete;
    ScopedWaitCursorHost& operator=(const ScopedWaitCursorHost&) = delete;

private:
    WaitCursorHost* previous_;
};

class WaitCursor {
public:
    WaitCursor() : host_(waitCursorHost()) { host_.show(); }
    ~WaitCursor() { host_.hide(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    WaitCursorHost& host_;
};

}  // namespace wendra::platform
