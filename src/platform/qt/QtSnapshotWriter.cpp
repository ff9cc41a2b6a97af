#include "platform/qt/QtSnapshotWriter.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <algorithm>
#include <system_error>
#include <vector>

namespace wendra::platform::qt {

QtSnapshotWriter::QtSnapshotWriter(QWidget& window, std::filesystem::path folder,
                                   int intervalMilliseconds, std::string name)
    : window_(&window), folder_(std::move(folder)), name_(std::move(name)) {
    QObject::connect(&timer_, &QTimer::timeout, [this] { write(); });
    timer_.start(std::max(intervalMilliseconds, 1));
}

namespace {

// The screen as a person would see it: the window, then every other window shown
// over it (dialogs, boxes, the status banner last, as it stays on top). Each is
// drawn by its own widget, since not every platform can grab a screen.
QImage composeScreen(QWidget& window) {
    QRect area = window.frameGeometry();
    if (QScreen* screen = window.screen()) area = area.united(screen->geometry());
    QImage picture(area.size(), QImage::Format_RGB32);
    picture.fill(Qt::black);
    QPainter painter(&picture);
    const auto draw = [&](QWidget& widget) {
        painter.drawPixmap(widget.geometry().topLeft() - area.topLeft(), widget.grab());
    };
    draw(window);
    std::vector<QWidget*> above;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget != &window && widget->isVisible()) above.push_back(widget);
    std::stable_sort(above.begin(), above.end(), [](QWidget* a, QWidget* b) {
        return a->windowType() != Qt::ToolTip && b->windowType() == Qt::ToolTip;
    });
    for (QWidget* widget : above) draw(*widget);
    return picture;
}

}  // namespace

bool QtSnapshotWriter::write() {
    if (!window_) return false;
    const QImage picture = composeScreen(*window_);
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
