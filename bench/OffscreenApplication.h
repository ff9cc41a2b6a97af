#pragma once
// The Qt application a bench that draws text or images needs, on the offscreen
// platform so that no display is needed. Made once and kept to the end of the
// process: Qt's own statics go first at exit.

#include <QGuiApplication>
#include <cstdlib>

namespace wendra::bench {

inline void ensureOffscreenApplication() {
    static QGuiApplication* application = nullptr;
    if (application) return;
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static int argc = 1;
    static char name[] = "wendra-bench";
    static char* argv[] = {name, nullptr};
    application = new QGuiApplication(argc, argv);
}

}  // namespace wendra::bench
