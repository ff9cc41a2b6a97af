// The bridge from the GPS reader to the window: what a switched-off GPS does to the
// position's mark and how often it asks the window to repaint.

#include <gtest/gtest.h>

#include <cstdlib>

#include "app/AppMessages.h"
#include "app/ShellBridge.h"
#include "gps/NmeaParser.h"
#include "platform/Window.h"

namespace wendra {
namespace {

// Counts the repaint messages posted to the window.
class RepaintCount final : public platform::Window {
public:
    void post(std::uint32_t code, std::int64_t /*param*/) override {
        if (code == AppMessage::kRepaint) ++repaints;
    }
    void invalidate() override {}
    void close() override {}
    platform::Size clientSize() const override { return {}; }
    platform::DrawingSurface& backBuffer() override { std::abort(); }
    void showBackBuffer() override {}
    void setTitle(std::u16string_view) override {}
    void setFullScreen(bool) override {}
    void bringToFront() override {}
    int repaints = 0;
};

// The reader says "not shown" on every pass while the GPS is off (about nine a second):
// the window repaints when the position goes, not at every pass.
TEST(ShellBridge, TheGpsSwitchedOffMarksThePositionNotShownAndRepaintsOnce) {
    SerialSettings serial;
    NmeaParser parser;
    HandOverState handOver;
    ShellBridge bridge("/nonexistent", serial, parser, handOver);
    RepaintCount window;
    bridge.attach(&window);

    handOver.position = PositionMark::Shown;
    bridge.positionUpdated(Fix{45.0, 7.0});
    for (int pass = 0; pass < 20; ++pass) {
        bridge.positionNotShown();
        bridge.repaintTaken();  // the window handled each message at once
    }
    EXPECT_EQ(handOver.position, PositionMark::NotShown);
    EXPECT_FALSE(bridge.position().has_value());
    EXPECT_EQ(window.repaints, 1);

    // A receiver that lost its fix before the switch-off: the mark changes, one repaint.
    handOver.position = PositionMark::NoFix;
    bridge.positionNotShown();
    EXPECT_EQ(handOver.position, PositionMark::NotShown);
    EXPECT_EQ(window.repaints, 2);
    bridge.attach(nullptr);
}

}  // namespace
}  // namespace wendra
