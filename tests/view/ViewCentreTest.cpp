#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "view/ViewCentre.h"

namespace wendra::test {
namespace {

Fix fixAt(double latitude, double longitude) {
    Fix fix;
    fix.latitude = latitude;
    fix.longitude = longitude;
    return fix;
}

TEST(ViewCentre, FollowsTheGpsOnlyWhileAFixIsShown) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const ViewCentre here{0.25, 0.04};
    struct Case {
        const char* legend;
        Fix fix;
        PositionMark mark;
        ViewCentre expected;
    };
    const Case cases[] = {
        {"shown fix: centre on it", fixAt(45.0, 9.0), PositionMark::Shown, {0.25, 0.05}},
        {"no fix: stays", fixAt(45.0, 9.0), PositionMark::NoFix, here},
        {"nothing shown yet: stays", fixAt(45.0, 9.0), PositionMark::NotShown, here},
        {"position not a number: stays", fixAt(nan, 9.0), PositionMark::Shown, here},
        {"beyond the pole: clamped", fixAt(95.0, -190.0), PositionMark::Shown, {0.5, -1.0}},
    };
    for (const Case& c : cases) {
        const ViewCentre got = followGps(here, c.fix, c.mark);
        EXPECT_DOUBLE_EQ(got.lat, c.expected.lat) << c.legend;
        EXPECT_DOUBLE_EQ(got.lon, c.expected.lon) << c.legend;
    }
}

TEST(ViewCentre, DoublesThePixelsOnlyBeyondA600PixelDiagonal) {
    EXPECT_EQ(pixelMultiplier({480, 360}), 1);  // diagonal exactly 600
    EXPECT_EQ(pixelMultiplier({800, 480}), 2);
    EXPECT_EQ(pixelMultiplier({0, 0}), 1);
}

}  // namespace
}  // namespace wendra::test
