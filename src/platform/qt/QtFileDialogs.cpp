#include "platform/qt/QtFileDialogs.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>

#include "platform/qt/QtText.h"

namespace wendra::platform::qt {

QStringList qtNameFilters(const std::vector<FileFilter>& filters) {
    QStringList names;
    for (const FileFilter& filter : filters) {
        QString patterns = toQString(filter.pattern);
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        names << QStringLiteral("%1 (%2)").arg(toQString(filter.label), patterns.simplified());
    }
    return names;
}

FileDialogResult QtFileDialogs::run(const FileDialogRequest& request) {
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        return FileDialogResult{FileDialogStatus::Unavailable, {}};
    QFileDialog dialog(parent_.data());
    const QString folder = toQString(request.startFolder);
    if (!folder.isEmpty() && QDir(folder).exists()) dialog.setDirectory(folder);
    if (!request.filters.empty()) dialog.setNameFilters(qtNameFilters(request.filters));
    if (request.kind == FileDialogKind::Save) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        if (!request.proposedName.empty()) dialog.selectFile(toQString(request.proposedName));
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return FileDialogResult{FileDialogStatus::Cancelled, {}};
    return FileDialogResult{FileDialogStatus::Chosen, fromQString(dialog.selectedFiles().first())};
}

}  // namespace wendra::platform::qt
