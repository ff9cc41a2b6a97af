#include "platform/qt/QtSnapshotWriter.h"

#include <QApplication>
#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <algorithm>
#include <system_error>
#include <vector>

#include "platform/ReplacingFile.h"

namespace wendra::platform::qt {

QtSnapshotWriter::QtSnapshotWriter(QWidget& window, std::filesystem::path folder,
                                   int intervalMilliseconds, std::string name)
    : window_(&window), folder_(std::move(folder)), name_(std::move(name)) {
    QObject::connect(&timer_, &QTimer::timeout, [this] { write(); });
    timer_.start(std::max(intervalMilliseconds, 1));
}

namespace {

// The window as a person would see it: the window, then every other window shown
// over it (dialogs, boxes, the status banner last, as it stays on top), cut to the
// window's own size. Each is drawn by its own widget, since not every platform can
// grab a screen.
QImage composeWindow(QWidget& window) {
    const QRect area = window.geometry();
    QImage picture(area.size(), QImage::Format_RGB32);
    picture.fill(Qt::black);
    QPainter painter(&picture);
    const auto draw = [&](QWidget& widget) {
        painter.drawPixmap(widget.geometry().topLeft() - area.topLeft(), widget.grab());
    };
    draw(window);
    std::vector<QWidget*> above;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget != &window && widget->isVisible() && widget->geometry().intersects(area))
            above.push_back(widget);
    std::stable_sort(above.begin(), above.end(), [](QWidget* a, QWidget* b) {
        return a->windowType() != Qt::ToolTip && b->windowType() == Qt::ToolTip;
    });
    for (QWidget* widget : above) draw(*widget);
    return picture;
}

QByteArray pngOf(const QImage& picture) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!picture.save(&buffer, "PNG")) bytes.clear();
    return bytes;
}

}  // namespace

bool QtSnapshotWriter::write() {
    if (!window_) return false;
    const QImage picture = composeWindow(*window_);
    if (picture.isNull()) return false;
    const QByteArray png = pngOf(picture);
    if (png.isEmpty()) return false;
    std::error_code error;
    std::filesystem::create_directories(folder_, error);
    // A reader never sees half a file, and a link or device named so is kept.
    ReplacingFile saving;
    if (!saving.open(file().string()) ||
        !saving.write(png.constData(), static_cast<std::size_t>(png.size())) || !saving.commit())
        return false;
    ++written_;
    return true;
}

}  // namespace wendra::platform::qt
