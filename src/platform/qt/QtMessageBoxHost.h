#pragma once
// Message boxes as QMessageBox: the program's text and title, its buttons and icon,
// over the window. Boxes asked for on other threads are shown on the window thread
// while the asking thread waits for the answer.

#include <QPointer>
#include <QWidget>

#include "platform/MessageBox.h"

namespace wendra::platform::qt {

class QtMessageBoxHost final : public MessageBoxHost {
public:
    explicit QtMessageBoxHost(QWidget* parent = nullptr) : parent_(parent) {}
    Answer show(const Message& message) override;

private:
    QPointer<QWidget> parent_;
};

}  // namespace wendra::platform::qt
