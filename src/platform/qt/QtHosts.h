#pragma once
// Installs the Qt hosts of message boxes, dialogs, the wait cursor, the status
// banner and the file dialogs for as long as it lives, all over one window.

#include <QWidget>

#include "platform/DialogHost.h"
#include "platform/FileDialogs.h"
#include "platform/MessageBox.h"
#include "platform/StatusBanner.h"
#include "platform/WaitCursor.h"
#include "platform/qt/QtDialogHost.h"
#include "platform/qt/QtFileDialogs.h"
#include "platform/qt/QtMessageBoxHost.h"
#include "platform/qt/QtStatusBanner.h"
#include "platform/qt/QtWaitCursor.h"

namespace wendra::platform::qt {

class QtHosts {
public:
    QtHosts(QWidget* window, int pixelMultiplier)
        : messageBoxes_(window),
          dialogs_(window),
          fileDialogs_(window),
          banner_(pixelMultiplier),
          messageBoxScope_(messageBoxes_),
          dialogScope_(dialogs_),
          fileDialogScope_(fileDialogs_),
          bannerScope_(banner_),
          waitCursorScope_(waitCursor_) {}

    QtStatusBanner& banner() { return banner_; }

private:
    QtMessageBoxHost messageBoxes_;
    QtDialogHost dialogs_;
    QtFileDialogs fileDialogs_;
    QtStatusBanner banner_;
    QtWaitCursor waitCursor_;
    ScopedMessageBoxHost messageBoxScope_;
    ScopedDialogHost dialogScope_;
    ScopedFileDialogHost fileDialogScope_;
    ScopedStatusBannerHost bannerScope_;
    ScopedWaitCursorHost waitCursorScope_;
};

}  // namespace wendra::platform::qt
