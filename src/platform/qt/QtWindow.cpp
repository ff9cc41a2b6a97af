#include "platform/qt/QtWindow.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QEvent>
#include <QGestureEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QNativeGestureEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QWheelEvent>
#include <mutex>

#include "platform/PinchSteps.h"
#include "platform/qt/QtGuiThread.h"
#include "platform/qt/QtKeys.h"
#include "platform/qt/QtText.h"

namespace wendra::platform::qt {

namespace {

const QEvent::Type kMessageEvent = static_cast<QEvent::Type>(QEvent::registerEventType());
const QEvent::Type kInvalidateEvent = static_cast<QEvent::Type>(QEvent::registerEventType());
const QEvent::Type kCloseEvent = static_cast<QEvent::Type>(QEvent::registerEventType());

class MessageEvent final : public QEvent {
public:
    MessageEvent(std::uint32_t code, std::int64_t param)
        : QEvent(kMessageEvent), code(code), param(param) {}
    std::uint32_t code;
    std::int64_t param;
};

Point pointOf(const QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    return Point{at.x(), at.y()};
}

}  // namespace

class QtWindow::View final : public QWidget {
public:
    explicit View(QtWindow& owner) : owner_(owner) {
        setAttribute(Qt::WA_OpaquePaintEvent);  // the back buffer covers every pixel
        setAttribute(Qt::WA_NoSystemBackground);
        setFocusPolicy(Qt::StrongFocus);
        grabGesture(Qt::PinchGesture);
    }

protected:
    bool event(QEvent* event) override {
        if (event->type() == kMessageEvent) {
            const auto* message = static_cast<MessageEvent*>(event);
            owner_.handler_.message(message->code, message->param);
            return true;
        }
        if (event->type() == kInvalidateEvent) {
            update();
            return true;
        }
        if (event->type() == kCloseEvent) {
            QWidget::close();
            return true;
        }
        if (event->type() == QEvent::Gesture) return pinched(static_cast<QGestureEvent*>(event));
        if (event->type() == QEvent::NativeGesture)
            return touchpadPinched(static_cast<QNativeGestureEvent*>(event));
        return QWidget::event(event);
    }

    // A pinch on a touch screen zooms as the wheel does, a step per step's spread.
    bool pinched(QGestureEvent* event) {
        auto* pinch = static_cast<QPinchGesture*>(event->gesture(Qt::PinchGesture));
        if (!pinch) return QWidget::event(event);
        pinching_ = true;
        if (pinch->changeFlags() & QPinchGesture::ScaleFactorChanged)
            zoomBy(pinch->scaleFactor());
        if (pinch->state() == Qt::GestureFinished || pinch->state() == Qt::GestureCanceled) {
            pinch_.reset();
            pinching_ = false;
        }
        event->accept(pinch);
        return true;
    }

    // ... and so does one on a touchpad, which Qt reports as the scale's change.
    bool touchpadPinched(QNativeGestureEvent* event) {
        if (event->gestureType() == Qt::ZoomNativeGesture) {
            zoomBy(1.0 + event->value());
        } else if (event->gestureType() == Qt::EndNativeGesture) {
            pinch_.reset();
        } else {
            return QWidget::event(event);
        }
        event->accept();
        return true;
    }

    void zoomBy(double factor) {
        if (const int steps = pinch_.add(factor); steps != 0) owner_.handler_.wheel(steps);
    }

    void paintEvent(QPaintEvent* event) override {
        const QRect dirty = event->rect();
        if (!owner_.presentOnly_ && owner_.created_)
            owner_.handler_.paint(owner_.surface_, Rect{dirty.left(), dirty.top(),
                                                        dirty.right() + 1, dirty.bottom() + 1});
        owner_.surface_.flush();
        QPainter screen(this);
        screen.drawImage(dirty.topLeft(), owner_.surface_.image(), dirty);
    }

    void resizeEvent(QResizeEvent* event) override {
        owner_.resizeBuffer(Size{event->size().width(), event->size().height()});
    }

    void showEvent(QShowEvent* /*event*/) override {
        if (owner_.created_) return;
        owner_.created_ = true;
        owner_.handler_.created(owner_);
    }

    void closeEvent(QCloseEvent* event) override {
        if (owner_.handler_.closeRequested())
            event->accept();
        else
            event->ignore();
    }

    void changeEvent(QEvent* event) override {
        if (event->type() == QEvent::ActivationChange) owner_.handler_.activated(isActiveWindow());
        QWidget::changeEvent(event);
    }

    void keyPressEvent(QKeyEvent* event) override {
        const RoutedKey key = routeKey(event->key());
        switch (key.route) {
            case KeyRoute::Key:
                owner_.handler_.keyDown(key.code);
                break;
            case KeyRoute::HotKey:
                owner_.handler_.hotKey(key.code);
                break;
            case KeyRoute::SoftKeyLeft:
                owner_.handler_.softKey(SoftKey::Left);
                break;
            case KeyRoute::SoftKeyRight:
                owner_.handler_.softKey(SoftKey::Right);
                break;
            case KeyRoute::None:
                QWidget::keyPressEvent(event);
                break;
        }
    }

    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton)
            owner_.handler_.stylus(StylusAction::Down, pointOf(event));
    }
    // The first finger of a pinch also comes as the mouse: it must not drag the map.
    void mouseMoveEvent(QMouseEvent* event) override {
        if ((event->buttons() & Qt::LeftButton) && !pinching_)
            owner_.handler_.stylus(StylusAction::Move, pointOf(event));
    }
    void mouseReleaseEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton)
            owner_.handler_.stylus(StylusAction::Up, pointOf(event));
    }
    // Whole notches only; a touchpad's small deltas add up until they make one.
    void wheelEvent(QWheelEvent* event) override {
        wheelRest_ += event->angleDelta().y();
        const int notches = wheelRest_ / kWheelNotch;
        wheelRest_ -= notches * kWheelNotch;
        if (notches != 0) owner_.handler_.wheel(notches);
        event->accept();
    }

private:
    static constexpr int kWheelNotch = 120;  // eighths of a degree
    static constexpr double kPinchStep = 1.5;  // the spread of one zoom step
    QtWindow& owner_;
    int wheelRest_ = 0;
    PinchSteps pinch_{kPinchStep};
    bool pinching_ = false;
};

QtWindow::QtWindow(WindowHandler& handler, Size size)
    : handler_(handler), buffer_(size), surface_(buffer_), view_(std::make_unique<View>(*this)) {
    view_->resize(size.width, size.height);
    view_->setWindowTitle(QStringLiteral("Wendra"));
}

QtWindow::~QtWindow() {
    std::unique_lock lock(postMutex_);
    surface_.flush();
    view_.reset();  // Qt drops the events still queued for it
}

void QtWindow::show() {
    view_->show();
}

QWidget& QtWindow::widget() {
    return *view_;
}

void QtWindow::resizeBuffer(Size size) {
    if (size == buffer_.size()) return;
    surface_.flush();
    buffer_.reset(size);
    surface_.attach(buffer_);
    if (created_) handler_.resized(size);
}

void QtWindow::post(std::uint32_t code, std::int64_t param) {
    std::shared_lock lock(postMutex_);
    if (view_) QCoreApplication::postEvent(view_.get(), new MessageEvent(code, param));
}

void QtWindow::invalidate() {
    std::shared_lock lock(postMutex_);
    if (view_) QCoreApplication::postEvent(view_.get(), new QEvent(kInvalidateEvent));
}

void QtWindow::close() {
    std::shared_lock lock(postMutex_);
    if (view_) QCoreApplication::postEvent(view_.get(), new QEvent(kCloseEvent));
}

Size QtWindow::clientSize() const {
    return buffer_.size();
}

void QtWindow::showBackBuffer() {
    presentOnly_ = true;
    view_->repaint();
    presentOnly_ = false;
}

void QtWindow::setTitle(std::u16string_view title) {
    view_->setWindowTitle(toQString(title));
}

void QtWindow::setFullScreen(bool fullScreen) {
    if (fullScreen)
        view_->showFullScreen();
    else
        view_->showNormal();
}

void QtWindow::bringToFront() {
    if (view_->isMinimized()) view_->showNormal();
    if (canRaiseWindows()) view_->raise();
    view_->activateWindow();
}

}  // namespace wendra::platform::qt
