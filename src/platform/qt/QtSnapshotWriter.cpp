#include "platform/qt/QtSnapshotWriter.h"

#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <system_error>

namespace wendra::platform::qt {

QtSnapshotWriter::QtSnapshotWriter(QWidget& window, std::filesystem::path folder,
                                   int intervalMilliseconds, std::string name)
    : window_(&window), folder_(std::move(folder)), name_(std::move(name)) {
    QObject::connect(&timer_, &QTimer::timeout, [this] { write(); });
    timer_.start(std::max(intervalMilliseconds, 1));
}

bool QtSnapshotWriter::write() {
    if (!window_) return false;
    // The screen shows what lies over the window too; a platform that cannot grab
    // it gives a null picture, and then the window alone is taken.
    QImage picture;
    if (QScreen* screen = window_->screen()) picture = screen->grabWindow(0).toImage();
    if (picture.isNull()) picture = window_->grab().toImage();
    if (picture.isNull()) return false;
    std::error_code error;
    std::filesystem::create_directories(folder_, error);
    // Written beside and renamed, so a reader never sees half a file.
    const std::filesystem::path partial = folder_ / (name_ + ".partial.png");
    if (!picture.save(QString::fromStdString(partial.string()), "PNG")) return false;
    std::filesystem::rename(partial, file(), error);
    if (error) return false;
    ++written_;
    return true;
}

}  // namespace wendra::platform::qt
