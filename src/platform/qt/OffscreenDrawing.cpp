#include "platform/qt/OffscreenDrawing.h"

#include <QGuiApplication>
#include <memory>

#include "platform/qt/QtDrawingSurface.h"

namespace wendra::platform::qt {

namespace {

// Fonts need a Qt application; a tool gets one on the offscreen platform, whatever
// display there may be, and keeps it to the end of the program.
void ensureApplication() {
    if (QCoreApplication::instance()) return;
    static int argc = 3;
    static char name[] = "wendra-tool", option[] = "-platform", platform[] = "offscreen";
    static char* argv[] = {name, option, platform, nullptr};
    static const auto application = std::make_unique<QGuiApplication>(argc, argv);
}

}  // namespace

void drawOffscreen(PixelBuffer& buffer, const std::function<void(DrawingSurface&)>& draw) {
    ensureApplication();
    QtDrawingSurface surface(buffer);
    draw(surface);
    surface.flush();
}

}  // namespace wendra::platform::qt
