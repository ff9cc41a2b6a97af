#include "platform/qt/QtStatusBanner.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

#include "platform/qt/QtDrawingSurface.h"
#include "platform/qt/QtGuiThread.h"

namespace wendra::platform::qt {

namespace {

class Band final : public QWidget {
public:
    explicit Band(const PixelBuffer& pixels)
        : QWidget(nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                               Qt::WindowDoesNotAcceptFocus),
          pixels_(pixels) {
        setAttribute(Qt::WA_OpaquePaintEvent);
        setAttribute(Qt::WA_ShowWithoutActivating);
    }

protected:
    void paintEvent(QPaintEvent* /*event*/) override {
        if (pixels_.empty()) return;
        const QImage image(reinterpret_cast<const uchar*>(pixels_.data()), pixels_.width(),
                           pixels_.height(), static_cast<qsizetype>(pixels_.pitch()) * 2,
                           QImage::Format_RGB16);
        QPainter(this).drawImage(0, 0, image);
    }

private:
    const PixelBuffer& pixels_;
};

}  // namespace

QtStatusBanner::QtStatusBanner(int pixelMultiplier) : pixelMultiplier_(pixelMultiplier) {}

QtStatusBanner::~QtStatusBanner() = default;

bool QtStatusBanner::shown() const {
    return band_ && band_->isVisible();
}

void QtStatusBanner::show(std::u16string_view text) {
    onGuiThreadWait([&] { showOnGuiThread(text); });
}

void QtStatusBanner::showOnGuiThread(std::u16string_view text) {
    if (band_) band_->hide();
    QScreen* screen = QGuiApplication::primaryScreen();
    if (text.empty() || !screen) return;
    const QRect geometry = screen->geometry();
    const StatusBannerLayout layout =
        statusBannerLayout(Size{geometry.width(), geometry.height()}, pixelMultiplier_);
    pixels_.reset(Size{layout.band.width(), layout.band.height()});
    {
        QtDrawingSurface surface(pixels_);
        drawStatusBanner(surface, layout.font, text);
    }
    if (!band_) band_ = std::make_unique<Band>(pixels_);
    band_->setGeometry(geometry.left() + layout.band.left, geometry.top() + layout.band.top,
                       layout.band.width(), layout.band.height());
    band_->show();
    if (canRaiseWindows()) band_->raise();
    band_->repaint();
}

}  // namespace wendra::platform::qt
