#pragma once
// The program's one window as the logic sees it: a back buffer it draws into, a
// queue of posted messages, repaint and close requests. post(), invalidate() and
// close() may be called from any thread; the rest only on the window thread.

#include <cstdint>
#include <string_view>

#include "platform/DrawingSurface.h"
#include "platform/Geometry.h"

namespace wendra::platform {

// The first number of the program's own messages.
inline constexpr std::uint32_t kApplicationMessageBase = 40000;
// A software timer fired; the parameter is the timer's id.
inline constexpr std::uint32_t kTimerMessage = 0x0113;

class Window {
public:
    virtual ~Window() = default;

    // Queues the message for WindowHandler::message on the window thread. Messages
    // still queued when the window is destroyed are dropped; the object itself must
    // outlive every thread that posts to it.
    virtual void post(std::uint32_t code, std::int64_t param = 0) = 0;
    // Asks for a paint without erasing; several requests give one paint.
    virtual void invalidate() = 0;
    // Asks the handler whether to close, on the window thread.
    virtual void close() = 0;

    virtual Size clientSize() const = 0;
    // The 16-bit back buffer of the window's size, to draw into at any time on the
    // window thread; a paint shows it.
    virtual DrawingSurface& backBuffer() = 0;
    // Copies the back buffer to the screen now, without a paint call.
    virtual void showBackBuffer() = 0;

    virtual void setTitle(std::u16string_view title) = 0;
    virtual void setFullScreen(bool fullScreen) = 0;
    virtual void bringToFront() = 0;
};

}  // namespace wendra::platform
