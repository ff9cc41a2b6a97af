#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QThread>
#include <thread>
#include <vector>

#include "QtTestApplication.h"
#include "platform/KeyCodes.h"
#include "platform/qt/QtKeys.h"
#include "platform/qt/QtWindow.h"

namespace wendra::test {
namespace {

using namespace std::chrono_literals;
using platform::Point;
using platform::Size;
using platform::qt::QtWindow;

constexpr platform::ColorRef kPaintColour = platform::rgb(0, 0x80, 0xF8);

// Records what the window hands over, and paints one colour.
class RecordingHandler final : public platform::WindowHandler {
public:
    void created(platform::Window& window) override { createdSize = window.clientSize(); }
    void message(std::uint32_t code, std::int64_t param) override {
        onWindowThread = onWindowThread && QThread::currentThread() == qApp->thread();
        messages.emplace_back(code, param);
    }
    void paint(platform::DrawingSurface& surface, const platform::Rect& /*dirty*/) override {
        ++paints;
        surface.fillRect(platform::Rect{0, 0, surface.size().width, surface.size().height},
                         kPaintColour);
    }
    bool closeRequested() override {
        ++closeRequests;
        return allowClose;
    }
    void keyDown(int code) override { keys.push_back(code); }
    void hotKey(int code) override { keys.push_back(-code); }
    void softKey(platform::SoftKey key) override {
        keys.push_back(key == platform::SoftKey::Left ? 1000 : 1001);
    }
    void stylus(platform::StylusAction action, Point at) override {
        strokes.emplace_back(action, at);
    }
    void resized(Size size) override { sizes.push_back(size); }

    Size createdSize{};
    bool onWindowThread = true;
    std::vector<std::pair<std::uint32_t, std::int64_t>> messages;
    int paints = 0;
    int closeRequests = 0;
    bool allowClose = false;
    std::vector<int> keys;
    std::vector<std::pair<platform::StylusAction, Point>> strokes;
    std::vector<Size> sizes;
};

TEST(QtWindow, PostedMessagesArriveInOrderOnTheWindowThreadFromAnyThread) {
    RecordingHandler handler;
    QtWindow window(handler, Size{240, 320});
    window.show();
    EXPECT_EQ(handler.createdSize, (Size{240, 320}));
    window.post(platform::kApplicationMessageBase, 1);
    std::thread timerThread([&] {
        for (int i = 0; i < 50; ++i) window.post(platform::kTimerMessage, i);
    });
    timerThread.join();
    processEventsFor(2s, [&] { return handler.messages.size() == 51; });
    ASSERT_EQ(handler.messages.size(), 51u);
    EXPECT_EQ(handler.messages[0],
              std::make_pair(platform::kApplicationMessageBase, std::int64_t{1}));
    for (int i = 0; i < 50; ++i)
        EXPECT_EQ(handler.messages[1 + i],
                  std::make_pair(platform::kTimerMessage, std::int64_t{i}));
    EXPECT_TRUE(handler.onWindowThread);
}

TEST(QtWindow, PostingToAWindowThatIsGoneIsDropped) {
    RecordingHandler handler;
    auto window = std::make_unique<QtWindow>(handler, Size{100, 100});
    window->show();
    window->post(40001, 0);
    window.reset();
    processEventsFor(50ms);
    EXPECT_TRUE(handler.messages.empty()) << "queued messages die with the window";
}

TEST(QtWindow, PaintShowsTheBackBufferWithOneCopy) {
    RecordingHandler handler;
    QtWindow window(handler, Size{200, 150});
    window.show();
    window.invalidate();
    window.invalidate();
    processEventsFor(300ms, [&] { return handler.paints > 0; });
    EXPECT_GE(handler.paints, 1);
    const QImage shown = window.widget().grab().toImage();
    ASSERT_EQ(shown.size(), QSize(200, 150));
    // Qt widens the 16-bit pixel by repeating its top bits: 0x80 green, 0xF8 blue.
    const QColor expected(0, 0x82, 0xFF);
    EXPECT_EQ(shown.pixelColor(10, 10), expected);
    EXPECT_EQ(shown.pixelColor(199, 149), expected);
    EXPECT_EQ(window.pixelsShown().at(5, 5), platform::toPixel16(kPaintColour));

    // Drawing outside a paint shows on request, without calling the handler.
    const int paints = handler.paints;
    window.backBuffer().fillRect(platform::Rect{0, 0, 10, 10}, platform::rgb(255, 0, 0));
    window.showBackBuffer();
    EXPECT_EQ(handler.paints, paints);
}

TEST(QtWindow, ResizingGivesANewBackBufferOfTheNewSize) {
    RecordingHandler handler;
    QtWindow window(handler, Size{200, 150});
    window.show();
    window.widget().resize(320, 240);
    processEventsFor(100ms, [&] { return !handler.sizes.empty(); });
    ASSERT_FALSE(handler.sizes.empty());
    EXPECT_EQ(handler.sizes.back(), (Size{320, 240}));
    EXPECT_EQ(window.clientSize(), (Size{320, 240}));
    EXPECT_EQ(window.backBuffer().size(), (Size{320, 240}));
}

TEST(QtWindow, KeysAndStylusReachTheHandlerAsTheProgramsCodes) {
    RecordingHandler handler;
    QtWindow window(handler, Size{100, 100});
    window.show();
    for (int key : {int(Qt::Key_Return), int(Qt::Key_Up), int(Qt::Key_F1), int(Qt::Key_F6),
                    int(Qt::Key_F9), int(Qt::Key_F10), int(Qt::Key_A), int(Qt::Key_F12)}) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QCoreApplication::sendEvent(&window.widget(), &press);
    }
    EXPECT_EQ(handler.keys, (std::vector<int>{13, 38, -193, -198, 1000, 1001, 'A'}));

    const QPointF down(10, 20), moved(30, 40);
    QMouseEvent press(QEvent::MouseButtonPress, down, down, Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QMouseEvent move(QEvent::MouseMove, moved, moved, Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, moved, moved, Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QCoreApplication::sendEvent(&window.widget(), &press);
    QCoreApplication::sendEvent(&window.widget(), &move);
    QCoreApplication::sendEvent(&window.widget(), &release);
    ASSERT_EQ(handler.strokes.size(), 3u);
    EXPECT_EQ(handler.strokes[0], std::make_pair(platform::StylusAction::Down, Point{10, 20}));
    EXPECT_EQ(handler.strokes[1], std::make_pair(platform::StylusAction::Move, Point{30, 40}));
    EXPECT_EQ(handler.strokes[2], std::make_pair(platform::StylusAction::Up, Point{30, 40}));
}

TEST(QtWindow, CloseAsksTheHandlerWhichMayRefuse) {
    RecordingHandler handler;
    QtWindow window(handler, Size{100, 100});
    window.show();
    std::thread([&] { window.close(); }).join();
    processEventsFor(200ms, [&] { return handler.closeRequests == 1; });
    EXPECT_EQ(handler.closeRequests, 1);
    EXPECT_TRUE(window.widget().isVisible());
    handler.allowClose = true;
    window.close();
    processEventsFor(200ms, [&] { return handler.closeRequests == 2; });
    EXPECT_FALSE(window.widget().isVisible());
}

TEST(QtKeys, RoutesQtKeysToTheProgramsKeys) {
    using platform::qt::KeyRoute;
    using platform::qt::RoutedKey;
    struct Case {
        const char* legend;
        int qtKey;
        RoutedKey expected;
    };
    const Case cases[] = {
        {"Enter keeps 13", Qt::Key_Enter, {KeyRoute::Key, platform::kKeyEnter}},
        {"left arrow keeps 37", Qt::Key_Left, {KeyRoute::Key, 37}},
        {"down arrow keeps 40", Qt::Key_Down, {KeyRoute::Key, 40}},
        {"F1 is application key 193", Qt::Key_F1, {KeyRoute::HotKey, 193}},
        {"F6 is application key 198", Qt::Key_F6, {KeyRoute::HotKey, 198}},
        {"F7 is nothing", Qt::Key_F7, {}},
        {"F9 is the left soft key", Qt::Key_F9, {KeyRoute::SoftKeyLeft, 0}},
        {"F10 is the right soft key", Qt::Key_F10, {KeyRoute::SoftKeyRight, 0}},
        {"digits keep ASCII", Qt::Key_5, {KeyRoute::Key, '5'}},
        {"a shift key alone is nothing", Qt::Key_Shift, {}},
    };
    for (const Case& c : cases) EXPECT_EQ(platform::qt::routeKey(c.qtKey), c.expected) << c.legend;
}

}  // namespace
}  // namespace wendra::test
