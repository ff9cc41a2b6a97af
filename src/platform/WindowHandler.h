#pragma once
// What the application window asks of the program: the window procedure, split by
// message. Every call comes on the window thread, one at a time.

#include <cstdint>

#include "platform/DrawingSurface.h"
#include "platform/Geometry.h"

namespace wendra::platform {

class Window;

enum class StylusAction { Down, Move, Up };
enum class SoftKey { Left, Right };

class WindowHandler {
public:
    virtual ~WindowHandler() = default;

    // The window exists and has its size; messages may be posted from here on.
    virtual void created(Window& window) = 0;
    // A message posted with Window::post: application messages (40000 and up) and
    // the software timers' wake-ups (kTimerMessage with the timer id).
    virtual void message(std::uint32_t code, std::int64_t param) = 0;
    // Draw into the back buffer; the window copies it to the screen afterwards.
    virtual void paint(DrawingSurface& backBuffer, const Rect& dirty) = 0;
    // The user or the program asked to close: shut down and return true, or false
    // to keep the window.
    virtual bool closeRequested() = 0;

    virtual void keyDown(int /*code*/) {}
    // A hardware application key (codes 193-198).
    virtual void hotKey(int /*code*/) {}
    virtual void softKey(SoftKey /*key*/) {}
    virtual void stylus(StylusAction /*action*/, Point /*at*/) {}
    // Mouse wheel notches, positive away from the user; pinch steps come here too,
    // positive as the fingers spread.
    virtual void wheel(int /*notches*/) {}
    virtual void activated(bool /*active*/) {}
    // The back buffer has the new size (and has been cleared) before this call.
    virtual void resized(Size /*size*/) {}
};

}  // namespace wendra::platform
