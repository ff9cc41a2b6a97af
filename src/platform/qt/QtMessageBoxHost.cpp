#include "platform/qt/QtMessageBoxHost.h"

#include <QMessageBox>

#include "platform/qt/QtGuiThread.h"
#include "platform/qt/QtText.h"

namespace wendra::platform::qt {

namespace {

QMessageBox::Icon qtIcon(Icon icon) {
    switch (icon) {
        case Icon::Information:
            return QMessageBox::Information;
        case Icon::Warning:
            return QMessageBox::Warning;
        case Icon::Error:
            return QMessageBox::Critical;
        case Icon::Question:
            return QMessageBox::Question;
        case Icon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons qtButtons(Buttons buttons) {
    switch (buttons) {
        case Buttons::Ok:
            return QMessageBox::Ok;
        case Buttons::OkCancel:
            return QMessageBox::Ok | QMessageBox::Cancel;
        case Buttons::YesNo:
            return QMessageBox::Yes | QMessageBox::No;
        case Buttons::YesNoCancel:
            return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

// A box closed without a button (the window's close box) answers like Escape.
Answer answerOf(int pressed, Buttons buttons) {
    switch (pressed) {
        case QMessageBox::Ok:
            return Answer::Ok;
        case QMessageBox::Cancel:
            return Answer::Cancel;
        case QMessageBox::Yes:
            return Answer::Yes;
        case QMessageBox::No:
            return Answer::No;
        default:
            break;
    }
    switch (buttons) {
        case Buttons::Ok:
            return Answer::Ok;
        case Buttons::YesNo:
            return Answer::No;
        case Buttons::OkCancel:
        case Buttons::YesNoCancel:
            return Answer::Cancel;
    }
    return Answer::Cancel;
}

Answer showOnGuiThread(QWidget* parent, const Message& message) {
    QMessageBox box(qtIcon(message.icon), toQString(message.title), toQString(message.text),
                    qtButtons(message.buttons), parent);
    box.setTextFormat(Qt::PlainText);  // the program's texts are never markup
    if (message.topmost) box.setWindowFlag(Qt::WindowStaysOnTopHint);
    // The first button is the default one, as the program's boxes always had it.
    if (message.buttons == Buttons::YesNo || message.buttons == Buttons::YesNoCancel)
        box.setDefaultButton(QMessageBox::Yes);
    else
        box.setDefaultButton(QMessageBox::Ok);
    return answerOf(box.exec(), message.buttons);
}

}  // namespace

Answer QtMessageBoxHost::show(const Message& message) {
    return onGuiThreadWait([&] { return showOnGuiThread(parent_.data(), message); });
}

}  // namespace wendra::platform::qt
