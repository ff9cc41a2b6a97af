#pragma once
// Drawing into a pixel buffer through the Qt surface from a program without a
// window (a command-line tool), with no Qt header for the caller: the offscreen Qt
// application is made on first use, unless the program already has one.

#include <functional>

#include "platform/DrawingSurface.h"
#include "platform/PixelBuffer.h"

namespace wendra::platform::qt {

// Runs `draw` on a surface over `buffer`; the pixels are complete when it returns.
void drawOffscreen(PixelBuffer& buffer, const std::function<void(DrawingSurface&)>& draw);

}  // namespace wendra::platform::qt
