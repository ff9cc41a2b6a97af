#include "platform/qt/QtWaitCursor.h"

#include <QCursor>
#include <QGuiApplication>

#include "platform/qt/QtGuiThread.h"

namespace wendra::platform::qt {

void QtWaitCursor::show() {
    onGuiThreadLater([] {
        if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
            QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    });
}

void QtWaitCursor::hide() {
    onGuiThreadLater([] {
        if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
            QGuiApplication::restoreOverrideCursor();
    });
}

}  // namespace wendra::platform::qt
