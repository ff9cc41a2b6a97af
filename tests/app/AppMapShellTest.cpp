// The window's side of the maps: where the view stands as the manager ranks for it,
// and the repaints a manager pass asks for.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "app/AppMapShell.h"
#include "app/AppMessages.h"
#include "support/MessageOnlyWindow.h"

namespace wendra::test {
namespace {

class MapsRepaints final : public MessageOnlyWindow {
public:
    void post(std::uint32_t code, std::int64_t /*param*/) override {
        if (code == AppMessage::kMapsRepaint) ++posted;
    }
    int posted = 0;
};

TEST(AppMapShell, RanksForTheLastUsableViewInDegrees) {
    AppMapShell shell;
    EXPECT_FALSE(shell.rankingView()) << "no view before the first frame";
    struct Case {
        const char* legend;
        double scale;
        double latitude, longitude, diagonal;  // what the manager then gets
    };
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const Case cases[] = {
        {"a frame", 4.0e6, 45.0, -9.0, 500.0},
        {"a scale that is not a number keeps the last view", nan, 45.0, -9.0, 500.0},
        {"a zero scale keeps the last view", 0.0, 45.0, -9.0, 500.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.legend);
        shell.viewPlaced(ViewCentre{0.25, -0.05}, c.scale, {400, 300});
        const auto view = shell.rankingView();
        ASSERT_TRUE(view);
        EXPECT_DOUBLE_EQ(view->latitude, c.latitude);
        EXPECT_DOUBLE_EQ(view->longitude, c.longitude);
        EXPECT_FLOAT_EQ(view->scale, 4.0e6f);
        EXPECT_DOUBLE_EQ(view->diagonal, c.diagonal);
    }
}

// Maps take the chosen night mode only while the view shows its night colours.
TEST(AppMapShell, GivesTheMapsTheirNightColoursOnlyAtNight) {
    AppMapShell shell;
    struct Case {
        const char* legend;
        bool night;
        int chosen;
        maps::NightMode taken;
    };
    const Case cases[] = {
        {"by day the chosen mode waits", false, 1, maps::NightMode::None},
        {"at night the chosen mode", true, 3, maps::NightMode::Darker},
        {"a mode the settings cannot hold is none", true, 7, maps::NightMode::None},
        {"back to day", false, 3, maps::NightMode::None},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.legend);
        shell.viewColours(c.night, c.chosen);
        EXPECT_EQ(shell.nightMode(), c.taken);
    }
}

// The manager refreshes after every pass; one repaint on its way is enough, and none
// goes to a window that has closed.
TEST(AppMapShell, PostsOneRepaintUntilTheWindowTookIt) {
    AppMapShell shell;
    MapsRepaints window;
    shell.refreshStatusLine();
    shell.attachWindow(&window);
    shell.refreshStatusLine();
    shell.refreshStatusLine();
    EXPECT_EQ(window.posted, 1);
    shell.repaintTaken();
    shell.refreshStatusLine();
    EXPECT_EQ(window.posted, 2);
    shell.repaintTaken();
    shell.attachWindow(nullptr);
    shell.refreshStatusLine();
    EXPECT_EQ(window.posted, 2);
    EXPECT_FALSE(shell.screenOff()) << "without a screen attached it counts as on";
}

}  // namespace
}  // namespace wendra::test
