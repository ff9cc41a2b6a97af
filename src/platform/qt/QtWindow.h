#pragma once
// The program's window on Qt: a widget that shows the 16-bit back buffer with one
// block copy per paint and hands messages, keys, stylus and close requests to the
// WindowHandler. Posting goes through QCoreApplication::postEvent, so any thread
// may post; what is still queued when the window is destroyed is dropped.

#include <QWidget>
#include <memory>
#include <shared_mutex>

#include "platform/PixelBuffer.h"
#include "platform/Window.h"
#include "platform/WindowHandler.h"
#include "platform/qt/QtDrawingSurface.h"

namespace wendra::platform::qt {

class QtWindow final : public Window {
public:
    // The window is created hidden at the size given; show() shows it and then
    // calls WindowHandler::created.
    QtWindow(WindowHandler& handler, Size size);
    ~QtWindow() override;
    QtWindow(const QtWindow&) = delete;
    QtWindow& operator=(const QtWindow&) = delete;

    void show();
    QWidget& widget();
    // The back buffer's pixels, for tests and snapshots.
    const PixelBuffer& pixelsShown() const { return buffer_; }

    void post(std::uint32_t code, std::int64_t param = 0) override;
    void invalidate() override;
    void close() override;
    Size clientSize() const override;
    DrawingSurface& backBuffer() override { return surface_; }
    void showBackBuffer() override;
    void setTitle(std::u16string_view title) override;
    void setFullScreen(bool fullScreen) override;
    void bringToFront() override;

private:
    class View;
    friend class View;

    void resizeBuffer(Size size);

    WindowHandler& handler_;
    PixelBuffer buffer_;
    QtDrawingSurface surface_;
    std::unique_ptr<View> view_;
    mutable std::shared_mutex postMutex_;  // guards the view against posts while it dies
    bool created_ = false;
    bool presentOnly_ = false;
};

}  // namespace wendra::platform::qt
