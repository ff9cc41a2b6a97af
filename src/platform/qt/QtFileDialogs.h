#pragma once
// The platform's open and save dialogs as QFileDialog, with the program's filter
// list shown as Qt name filters. Without an application object the dialogs are
// unavailable, and the program's own chooser serves.

#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <vector>

#include "platform/FileDialogs.h"

namespace wendra::platform::qt {

class QtFileDialogs final : public FileDialogHost {
public:
    explicit QtFileDialogs(QWidget* parent = nullptr) : parent_(parent) {}
    FileDialogResult run(const FileDialogRequest& request) override;

private:
    QPointer<QWidget> parent_;
};

// "Track files" with "*.wdt;*.wdn" becomes "Track files (*.wdt *.wdn)".
QStringList qtNameFilters(const std::vector<FileFilter>& filters);

}  // namespace wendra::platform::qt
