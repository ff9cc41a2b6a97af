#pragma once
// Pictures of the screen as PNG files, for a program running without a display
// (QT_QPA_PLATFORM=offscreen): every few seconds the window, at its own size, with any
// dialog, box or banner shown over it, replaces "<name>.png" in a folder.

#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <filesystem>
#include <string>

namespace wendra::platform::qt {

class QtSnapshotWriter {
public:
    QtSnapshotWriter(QWidget& window, std::filesystem::path folder, int intervalMilliseconds,
                     std::string name = "wendra");

    // Writes one picture now; false when it could not be written.
    bool write();
    std::filesystem::path file() const { return folder_ / (name_ + ".png"); }
    int written() const { return written_; }

private:
    QPointer<QWidget> window_;
    std::filesystem::path folder_;
    std::string name_;
    QTimer timer_;
    int written_ = 0;
};

}  // namespace wendra::platform::qt
