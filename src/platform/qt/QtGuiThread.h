#pragma once
// Widgets live on the window thread; the program's other threads show boxes, the
// wait cursor and banners too. These helpers run the work on the window thread and
// wait for it, or run it at once when already there.

#include <QCoreApplication>
#include <QGuiApplication>
#include <QMetaObject>
#include <QThread>
#include <type_traits>
#include <utility>

namespace wendra::platform::qt {

// Whether windows can be stacked: the offscreen platform has no stacking and
// complains at every attempt.
inline bool canRaiseWindows() {
    return QGuiApplication::platformName() != QStringLiteral("offscreen");
}

inline bool onGuiThread() {
    return QCoreApplication::instance() &&
           QThread::currentThread() == QCoreApplication::instance()->thread();
}

// Runs f() on the window thread and returns its value. Without an application
// object there is no window thread, and f() runs here.
template <typename F>
auto onGuiThreadWait(F&& f) -> decltype(f()) {
    QCoreApplication* app = QCoreApplication::instance();
    if (!app || onGuiThread()) return f();
    using Result = decltype(f());
    if constexpr (std::is_void_v<Result>) {
        QMetaObject::invokeMethod(app, std::forward<F>(f), Qt::BlockingQueuedConnection);
    } else {
        Result result{};
        QMetaObject::invokeMethod(
            app, [&] { result = f(); }, Qt::BlockingQueuedConnection);
        return result;
    }
}

// Queues f() for the window thread without waiting (at once when already there).
template <typename F>
void onGuiThreadLater(F&& f) {
    QCoreApplication* app = QCoreApplication::instance();
    if (!app || onGuiThread()) {
        f();
        return;
    }
    QMetaObject::invokeMethod(app, std::forward<F>(f), Qt::QueuedConnection);
}

}  // namespace wendra::platform::qt
