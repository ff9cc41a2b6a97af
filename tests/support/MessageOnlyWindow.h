#pragma once
// A window for tests that only look at the messages posted to it: drawing, sizing and
// stacking do nothing, and there is no back buffer to draw into.

#include <cstdlib>

#include "platform/Window.h"

namespace wendra::test {

class MessageOnlyWindow : public platform::Window {
public:
    void invalidate() override {}
    void close() override {}
    platform::Size clientSize() const override { return {}; }
    platform::DrawingSurface& backBuffer() override { std::abort(); }
    void showBackBuffer() override {}
    void setTitle(std::u16string_view) override {}
    void setFullScreen(bool) override {}
    void bringToFront() override {}
};

}  // namespace wendra::test
