#pragma once
// Dialog templates shown as real QDialogs: each control becomes its widget (named
// "control-<id>" so that tests can find it), placed by its dialog units; the
// user's clicks, typing and picks reach the procedure as commands and
// notifications. Runs on the window thread only.

#include <QPointer>
#include <QWidget>

#include "platform/DialogHost.h"

namespace wendra::platform::qt {

class QtDialogHost final : public DialogHost {
public:
    explicit QtDialogHost(QWidget* parent = nullptr) : parent_(parent) {}
    int run(const DialogTemplate& dialog, DialogProcedure& procedure) override;

private:
    QPointer<QWidget> parent_;
};

}  // namespace wendra::platform::qt
