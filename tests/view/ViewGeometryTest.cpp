#include <gtest/gtest.h>

#include <cmath>

#include "view/ScaleBar.h"
#include "view/ViewGeometry.h"
#include "view/ViewMessages.h"

namespace wendra::test {
namespace {

constexpr double kKmPerUnit = 20037.5;

// A 410 x 310 client: usable 400 x 300, centre pixel (205, 155).
ViewGeometry viewAt(double lat, double lon, float scale, int rotation) {
    ViewGeometry view;
    view.placeRect({0, 0, 410, 310});
    view.scale = scale;
    view.setTargetHeading(rotation);
    view.jumpRotation();
    view.setCentre(lat, lon);
    return view;
}

TEST(ViewGeometry, ScreenPixelsLeadBackToTheirPosition) {
    struct Case {
        const char* legend;
        double centreLat, centreLon;
        int rotation;
        double lat, lon;
    };
    const Case cases[] = {
        {"north up, equator", 0.0, 0.0, 0, 0.0001, 0.0002},
        {"north up, 60 N", 0.3333, 0.05, 0, 0.3334, 0.0503},
        {"turned 30, 45 N", 0.25, 0.04, 30, 0.2502, 0.0398},
        {"turned 90, south", -0.2, -0.5, 90, -0.2001, -0.4997},
        {"turned 271", 0.1, 0.9, 271, 0.1002, 0.9003},
    };
    for (const Case& c : cases) {
        const ViewGeometry view = viewAt(c.centreLat, c.centreLon, 2.0e6f, c.rotation);
        const platform::Point px =
            view.toScreen(view.project(c.lat, c.lon, std::cos(c.lat * M_PI)));
        const LatLon back = view.fromScreen(px.x, px.y);
        // Within one pixel's worth of units, since pixels are whole.
        const double pixel = 1.0 / view.scale;
        EXPECT_NEAR(back.lat, c.lat, pixel) << c.legend;
        EXPECT_NEAR((back.lon - c.lon) * std::cos(c.lat * M_PI), 0.0, pixel) << c.legend;
    }
}

TEST(ViewGeometry, HeadingPointsUpAndNorthUpKeepsNorthUp) {
    struct Case {
        const char* legend;
        int rotation;
        double dLat, dLon;  // from the centre, at the equator
        int dx, dy;         // expected pixel offset from the centre pixel
    };
    const Case cases[] = {
        {"north up: north is up", 0, 0.0001, 0.0, 0, -100},
        {"north up: east is right", 0, 0.0, 0.0001, 100, 0},
        {"heading east: east is up", 90, 0.0, 0.0001, 0, -100},
        {"heading east: north is left", 90, 0.0001, 0.0, -100, 0},
    };
    for (const Case& c : cases) {
        const ViewGeometry view = viewAt(0.0, 0.0, 1.0e6f, c.rotation);
        const platform::Point px = view.toScreen(view.project(c.dLat, c.dLon, 1.0));
        EXPECT_EQ(px.x - 205, c.dx) << c.legend;
        EXPECT_EQ(px.y - 155, c.dy) << c.legend;
    }
}

TEST(ViewGeometry, ScaleRulesOfEachZoomMode) {
    const double width = 400.0;
    const double bAuto = width / 2.4953202e-06;
    const double closest = width / 9.2326849e-07;
    struct Case {
        const char* legend;
        std::int32_t zoomWord;
        int limitIndex;  // "Limit zoom auto"
        ScaleInputs in;
        double expectedScale;    // current scale after the rules (0: not checked)
        double expectedPending;  // 0: none
    };
    const Case cases[] = {
        {"auto: width-bound fit", 0, 1, {0.001, 0.0005, -1.0}, 400.0 / (2.05 * 0.001), 0},
        {"auto: height-bound fit", 0, 1, {0.0001, 0.001, -1.0}, 300.0 / (2.05 * 0.001), 0},
        {"auto: map caps the fit", 0, 1, {0.001, 0.0005, 1.0e5}, 1.0e5, 0},
        {"auto: factor 1.5 raises the map cap", 0, 4, {0.001, 0.0005, 1.0e5}, 1.5e5, 0},
        {"auto: \"No\" ignores the map", 0, 0, {0.001, 0.0005, 1.0e5}, 400.0 / (2.05 * 0.001), 0},
        {"auto: nothing to fit shows 50 m", 0, 1, {kNotSet, kNotSet, -1.0}, bAuto, 0},
        {"auto: a map of scale 0 is no map", 0, 1, {kNotSet, kNotSet, 0.0}, bAuto, 0},
        {"proportional, 0 km/h: 50 m across",
         zoom::kManual | zoom::kProportional,
         0,
         {kNotSet, kNotSet, -1.0, true, 0.0f},
         0,
         std::min(width / (0.05 / kKmPerUnit), bAuto)},
        {"proportional, 100 km/h: 4 km across",
         zoom::kManual | zoom::kProportional,
         0,
         {kNotSet, kNotSet, -1.0, true, 100.0f},
         0,
         width / (4.0 / kKmPerUnit)},
        {"proportional: map cap lower",
         zoom::kManual | zoom::kProportional,
         1,
         {kNotSet, kNotSet, 1.0e6, true, 100.0f},
         0,
         1.0e6},
        {"manual following the map",
         zoom::kManual | zoom::kFollowMapScale,
         1,
         {kNotSet, kNotSet, 1.0e6},
         0,
         1.0e6},
        {"manual: takes the manual scale", zoom::kManual, 1, {kNotSet, kNotSet, 1.0e6}, 3.0e6, 0},
        {"manual: held below 18.5 m across", zoom::kManual, 1, {}, closest, 0},
    };
    for (const Case& c : cases) {
        ViewGeometry view = viewAt(0.0, 0.0, 1.0e5f, 0);
        view.zoomWord = c.zoomWord;
        view.settingsWord =
            settings::withField(view.settingsWord, settings::kLimitZoomShift, c.limitIndex);
        view.manualScale = c.expectedScale == closest ? 1.0e10f : 3.0e6f;
        view.applyScaleRules(c.in);
        if (c.expectedScale != 0) {
            EXPECT_NEAR(view.scale, c.expectedScale, c.expectedScale * 1e-6) << c.legend;
        }
        if (c.expectedPending != 0) {
            EXPECT_NEAR(view.pendingScale, c.expectedPending, c.expectedPending * 1e-6) << c.legend;
        } else {
            EXPECT_EQ(view.pendingScale, kNotSetF) << c.legend;
        }
    }
}

TEST(ViewGeometry, ZoomStepsOnlyInPlainManualZoomAndStopAtTheClosestLimit) {
    ViewGeometry view = viewAt(0.0, 0.0, 1.0e7f, 0);
    EXPECT_EQ(view.zoomStep(true), viewmsg::kNotAvailable);  // automatic
    view.zoomWord = zoom::kManual | zoom::kProportional;
    EXPECT_EQ(view.zoomStep(true), viewmsg::kNotAvailable);
    view.zoomWord = zoom::kManual | zoom::kFollowMapScale;
    view.manualScale = 5.0e6f;  // the map's; the step starts from what is shown
    for (int i = 0; i < 5; ++i) EXPECT_EQ(view.zoomStep(true), viewmsg::kZoomIn);
    EXPECT_FALSE(view.followsMapScale());
    EXPECT_NEAR(view.manualScale, 1.0e7 * std::pow(1.5, 5), 1e7 * 1e-5);
    for (int i = 0; i < 5; ++i) view.zoomStep(true);
    EXPECT_FLOAT_EQ(view.manualScale, static_cast<float>(400.0 / 9.2326849e-07));
}

TEST(ViewGeometry, RotationTurnsTheShortWayInBoundedSteps) {
    struct Case {
        const char* legend;
        float from;
        int target;
        int paintMs;
        bool smooth;
        float expected;
    };
    const Case cases[] = {
        {"350 to 10 passes 0: +1 at 0 ms", 350.0f, 10, 0, true, 351.0f},
        {"359.5 wraps through 0", 359.5f, 10, 0, true, 0.5f},
        {"10 to 350 turns left", 10.0f, 350, 0, true, 9.0f},
        {"180 ms: 10 degree step", 0.0f, 90, 180, true, 10.0f},
        {"closer than a step: jumps", 85.0f, 90, 180, true, 90.0f},
        {"half turn goes right", 0.0f, 180, 0, true, 1.0f},
        {"smooth rotate off: jumps", 350.0f, 10, 0, false, 10.0f},
    };
    for (const Case& c : cases) {
        ViewGeometry view;
        if (!c.smooth) view.settingsWord &= ~settings::kSmoothRotate;
        view.rotation = c.from;
        view.setTargetHeading(c.target);
        view.smoothRotation(c.paintMs);
        EXPECT_FLOAT_EQ(view.rotation, c.expected) << c.legend;
        EXPECT_EQ(view.rotationDegrees(), static_cast<int>(std::lround(c.expected)) % 360)
            << c.legend;
    }
}

TEST(ViewGeometry, ZoomAnimationMovesByThePaintDuration) {
    struct Case {
        const char* legend;
        float pending;
        int paintMs;
        float expected;
        bool stillPending;
    };
    const Case cases[] = {
        {"0 ms: no progress", 2.0e6f, 0, 1.0e6f, true},
        {"180 ms: x1.2", 2.0e6f, 180, 1.2e6f, true},
        {"180 ms: /1.2", 0.5e6f, 180, 1.0e6f / 1.2f, true},
        {"within a step: arrives", 1.1e6f, 180, 1.1e6f, false},
    };
    for (const Case& c : cases) {
        ViewGeometry view;
        view.scale = 1.0e6f;
        view.pendingScale = c.pending;
        view.animateZoom(c.paintMs);
        EXPECT_FLOAT_EQ(view.scale, c.expected) << c.legend;
        EXPECT_EQ(view.pendingScale != kNotSetF, c.stillPending) << c.legend;
    }
}

TEST(ViewGeometry, TurnStepOnlyInFreeMovement) {
    ViewGeometry view;
    view.settingsWord |= settings::kTurningView;
    EXPECT_EQ(view.turnStep(1), viewmsg::kNotAvailable);
    view.enterFreeMovement();
    view.heading = 37;
    EXPECT_EQ(view.turnStep(1), viewmsg::kTurningRight);
    EXPECT_EQ(view.rotationDegrees(), 40);
    view.heading = 2;
    EXPECT_EQ(view.turnStep(-1), viewmsg::kTurningLeft);
    EXPECT_EQ(view.heading, 355);
    EXPECT_EQ(view.turnStep(0), viewmsg::kTurningCenter);
    EXPECT_EQ(view.rotationDegrees(), 0);
}

TEST(ScaleBar, ShowsARoundDistanceNearItsNominalLength) {
    // The scale at which 65 pixels cover `metres`.
    auto scaleFor = [](double metres) {
        return static_cast<float>(65.0 / (metres / 1000.0) * kKmPerUnit);
    };
    struct Case {
        const char* legend;
        double covered;
        int unitSystem;
        double shownMetres;
        const char16_t* label;
    };
    const Case cases[] = {
        {"137 m shows 100 m", 137.0, 0, 100.0, u"100m"},
        {"155 m shows 200 m", 155.0, 0, 200.0, u"200m"},
        {"exactly 1 km", 1000.0, 0, 1000.0, u"1.00km"},
        {"statute, short: feet", 30.0, 1, 100.0 / 3.2808299, u"100ft"},
        {"nautical, long: sea miles", 5000.0, 2, 3000.0 / 0.53996998, u"3.00mn"},
    };
    for (const Case& c : cases) {
        const ScaleBar bar = ScaleBar::compute(scaleFor(c.covered), c.unitSystem, 1);
        EXPECT_NEAR(bar.metres, c.shownMetres, 1e-6 * c.shownMetres) << c.legend;
        EXPECT_NEAR(bar.lengthPixels, 65.0 * c.shownMetres / c.covered, 1.0) << c.legend;
        EXPECT_EQ(bar.label, c.label) << c.legend;
    }
    EXPECT_EQ(ScaleBar::compute(0.0f, 0, 1).lengthPixels, 0);
}

}  // namespace
}  // namespace wendra::test
