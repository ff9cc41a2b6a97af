#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "track/PointValues.h"
#include "track/Track.h"
#include "track/TrackPoint.h"
#include "view/PenDrag.h"
#include "view/ViewCycle.h"
#include "view/ViewStatus7.h"
#include "view/VisibleTrack.h"

namespace wendra::test {
namespace {

struct Spot {
    double lat, lon;
    std::uint32_t flags = 0;
};

// Points of the main layer with their geometry and distances, as recording leaves them.
void fill(TrackLayer& layer, const std::vector<Spot>& spots) {
    TrackPoint* prev = nullptr;
    for (const Spot& s : spots) {
        TrackPoint* p = layer.append();
        p->lat = s.lat;
        p->lon = s.lon;
        p->latRad = s.lat * M_PI;
        p->cosLat = std::cos(p->latRad);
        p->flags = s.flags;
        if (prev)
            prev->distNext = static_cast<float>(
                std::hypot(p->lat - prev->lat, (p->lon - prev->lon) * prev->cosLat));
        prev = p;
    }
}

int chainLength(const TrackPoint* p) {
    int n = 0;
    for (; p; p = p->drawNext) ++n;
    return n;
}

TEST(VisibleTrack, KeepsOnePointPerTwoPixelsAndEverySegmentEnd) {
    struct Case {
        const char* legend;
        double spacing;  // units between neighbours, along the equator
        int count;
        int segmentEndAt;  // -1: none
        int expectedKept;
    };
    // At scale 1e6, two pixels are 2e-6 units.
    const Case cases[] = {
        {"spacing of two pixels: all", 2e-6, 10, -1, 10},
        {"half a pixel: every fourth, and the last", 0.5e-6, 13, -1, 4},
        {"a segment end and its start stay", 0.5e-6, 13, 5, 6},
        {"a single point", 1e-6, 1, -1, 1},
    };
    for (const Case& c : cases) {
        Track track;
        std::vector<Spot> spots;
        for (int i = 0; i < c.count; ++i) {
            std::uint32_t flags = 0;
            if (i == c.segmentEndAt) flags = kSegmentEnd;
            if (i == c.segmentEndAt + 1 && c.segmentEndAt >= 0) flags = kSegmentStart;
            spots.push_back({0.0, i * c.spacing, flags});
        }
        fill(track.main(), spots);
        EXPECT_EQ(VisibleTrack::decimate(track.main(), 1.0e6f), c.expectedKept) << c.legend;
        EXPECT_EQ(chainLength(track.main().drawHead), c.expectedKept) << c.legend;
    }
}

TEST(VisibleTrack, CullsToTheDiagonalSquareButKeepsAFirstPoint) {
    ViewGeometry view;
    view.placeRect({0, 0, 300, 400});  // diagonal 500
    view.scale = 1.0e6f;               // half extent 250e-6 + 2.5e-6 units
    view.setCentre(0.0, 0.0);
    struct Case {
        const char* legend;
        std::vector<Spot> spots;
        double extent;
        int expectedVisible;
    };
    const Case cases[] = {
        {"inside and outside the square", {{0, 0}, {0, 250e-6}, {0, 260e-6}, {-252e-6, 0}}, 0, 3},
        {"none near: the first is taken", {{0.1, 0.1}, {0.1, 0.2}}, 0, 1},
        {"a fit pass takes all", {{0.1, 0.1}, {0.1, 0.2}}, VisibleTrack::kUnlimited, 2},
    };
    for (const Case& c : cases) {
        Track track;
        fill(track.main(), c.spots);
        VisibleTrack::decimate(track.main(), 1.0e12f);  // keeps everything
        const double extent = c.extent != 0 ? c.extent : VisibleTrack::halfExtent(view);
        EXPECT_EQ(VisibleTrack::cull(track.main(), view, extent, true), c.expectedVisible)
            << c.legend;
        const TrackPoint* p = track.main().visibleHead;
        ASSERT_NE(p, nullptr) << c.legend;
        EXPECT_EQ(view.toScreen({p->viewRelX, p->viewRelY}),
                  (platform::Point{p->screenX, p->screenY}))
            << c.legend;
    }
}

struct CycleFixture : ::testing::Test {
    Track track;
    ViewGeometry view;
    ViewCycle cycle{view, track};
    LatLon gps{};
    FrameInputs in;

    CycleFixture() {
        in.client = {0, 0, 410, 310};
        in.gps = &gps;
        in.paintMs = 100;
    }
};

TEST_F(CycleFixture, AutomaticZoomCentresOnTheTrackAndFitsIt) {
    for (int rotation : {0, 40}) {
        track.clearLayer(0);
        view.settingsWord |= settings::kTurningView;
        view.settingsWord &= ~settings::kSmoothRotate;
        in.course = rotation;
        fill(track.main(), {{0.25, 0.040}, {0.2501, 0.0402}, {0.2504, 0.0401}});
        cycle.update(in);
        const TrackPoint* first = track.main().first();
        const TrackPoint* last = track.main().last();
        EXPECT_EQ(view.rotationDegrees(), rotation);
        // The box is symmetric about the centre in the view's frame.
        double minX = 1, maxX = -1, minY = 1, maxY = -1;
        for (const TrackPoint* p = first; p; p = p->next) {
            minX = std::min(minX, double{p->viewRelX});
            maxX = std::max(maxX, double{p->viewRelX});
            minY = std::min(minY, double{p->viewRelY});
            maxY = std::max(maxY, double{p->viewRelY});
        }
        EXPECT_NEAR(minX + maxX, 0.0, 1e-7) << rotation;
        EXPECT_NEAR(minY + maxY, 0.0, 1e-7) << rotation;
        // Everything on screen, the widest side nearly filling it.
        for (const TrackPoint* p = first; p; p = p->next) {
            EXPECT_GE(p->screenX, 0);
            EXPECT_LE(p->screenX, 410);
            EXPECT_GE(p->screenY, 0);
            EXPECT_LE(p->screenY, 310);
        }
        const double fill =
            std::max((maxX - minX) * view.scale / 400, (maxY - minY) * view.scale / 300);
        EXPECT_NEAR(fill, 1.0 / 1.025, 0.01) << rotation;
        EXPECT_NE(last, nullptr);
    }
}

// Chains and placed points are kept from one update to the next, so every change of
// the layer or of the scale has to reach them.
TEST_F(CycleFixture, KeptChainsFollowEveryChangeOfTheLayerAndTheScale) {
    view.enterManualZoom();
    view.scale = view.manualScale = 1.0e6f;
    gps = {0.0, 0.04};
    in.fixValid = true;
    std::vector<Spot> spots;
    for (int i = 0; i < 13; ++i) spots.push_back({0.0, 0.04 + i * 0.5e-6});
    fill(track.main(), spots);  // half a pixel apart: every fourth point, and the last
    const auto placeAt = [&](TrackPoint& p, double pixels) {
        PointValues v;
        v.lon = 0.04 + pixels * 1e-6;
        v.timeZone = 0;
        v.flags = 0;
        setPointValues(p, v, 0.0);
    };
    const int centreX = 205;
    cycle.update(in);
    EXPECT_EQ(chainLength(track.main().drawHead), 4);
    cycle.update(in);
    EXPECT_EQ(chainLength(track.main().drawHead), 4) << "kept as it was";

    placeAt(*track.main().append(), 16.0);
    cycle.update(in);
    EXPECT_EQ(chainLength(track.main().drawHead), 5) << "an added point";
    EXPECT_EQ(track.main().last()->screenX, centreX + 16);

    placeAt(*track.main().last(), 20.0);
    cycle.update(in);
    EXPECT_EQ(track.main().last()->screenX, centreX + 20) << "a point moved";

    track.main().erase(track.main().last());
    cycle.update(in);
    EXPECT_EQ(chainLength(track.main().drawHead), 4) << "a point deleted";

    view.manualScale = 4.0e6f;
    cycle.update(in);
    EXPECT_EQ(chainLength(track.main().drawHead), 13) << "two pixels apart now";
}

// While recording appends, the chain goes on from near its end; it must be the chain
// a decimation of the whole layer gives, links and all.
TEST_F(CycleFixture, ChainContinuedAfterEveryFixIsTheChainOfTheWholeLayer) {
    struct Case {
        const char* legend;
        int stopAt;    // from this fix on, four slow fixes 8 m apart in every eight (-1: never)
        int breakAt;   // the segment ends before this fix (-1: never)
        int colourAt;  // fixes take another colour from here on (-1: never)
        int editAt;    // before this fix an early point is moved (-1: never)
        int zoomAt;    // the scale halves before this fix (-1: never)
    };
    const Case cases[] = {
        {"a walk of uneven steps", -1, -1, -1, -1, -1},
        {"with stops, each merged into two points", 9, -1, -1, -1, -1},
        {"with the segment ended and a colour change", -1, 12, 20, -1, -1},
        {"an early point edited, then recording goes on", -1, -1, -1, 15, -1},
        {"zoomed out half way", -1, -1, -1, -1, 18},
    };
    view.enterManualZoom();
    in.fixValid = true;
    for (const Case& c : cases) {
        track.clearLayer(Track::kMainLayer);
        track.settings.newPointColour = 0;
        track.settings.minPointDistanceKm = 0.03;  // closer fixes merge, moving the last point
        view.scale = view.manualScale = 1.0e6f;  // about 20 m a pixel
        double north = 0.0;
        for (int i = 0; i < 40; ++i) {
            if (i == c.editAt) {
                TrackPoint& early = *track.main().first()->next->next;
                setPointValues(early, {.lon = early.lon, .lat = early.lat + 1e-6, .flags = 0}, 0.001);
            }
            if (i == c.breakAt) track.endSegment(u".Test");
            if (i == c.colourAt) track.settings.newPointColour = 5;
            if (i == c.zoomAt) view.manualScale = 0.5e6f;
            const bool stopped = c.stopAt >= 0 && i >= c.stopAt && (i - c.stopAt) % 8 < 4;
            north += stopped ? 8.0 : 6.0 + 11.0 * (i % 4);
            const TrackFix fix{.latitude = 45.0 + north / 111195.0, .longitude = 7.0,
                               .speed = stopped ? 0.5f : 20.0f, .time = 8000.0 + i / 86400.0};
            track.addFix(fix, true);
            gps = {fix.latitude / 180.0, fix.longitude / 180.0};
            cycle.update(in);
        }
        const auto continued = cycle.retained(Track::kMainLayer);
        std::vector<const TrackPoint*> linked;
        for (const TrackPoint* p = track.main().drawHead; p; p = p->drawNext) linked.push_back(p);
        std::vector<VisibleTrack::ChainPoint> whole;
        VisibleTrack::decimate(track.main(), view.scale, &whole);
        ASSERT_EQ(continued.size(), whole.size()) << c.legend;
        ASSERT_EQ(linked.size(), whole.size()) << c.legend;
        EXPECT_LT(whole.size(), static_cast<std::size_t>(track.main().count())) << c.legend;
        for (std::size_t k = 0; k < whole.size(); ++k) {
            EXPECT_EQ(continued[k].point, whole[k].point) << c.legend << " at " << k;
            EXPECT_EQ(linked[k], whole[k].point) << c.legend << " at " << k;
            EXPECT_EQ(continued[k].colour, whole[k].colour) << c.legend << " at " << k;
            EXPECT_EQ(continued[k].segmentEnd, whole[k].segmentEnd) << c.legend << " at " << k;
            EXPECT_EQ(continued[k].lat, whole[k].lat) << c.legend << " at " << k;
        }
    }
}

TEST_F(CycleFixture, ManualZoomFollowsTheFixOrHandsTheCentreToIt) {
    view.enterManualZoom();
    gps = {0.2, 0.1};
    in.fixValid = true;
    cycle.update(in);
    EXPECT_DOUBLE_EQ(view.centreLat(), 0.2);
    EXPECT_DOUBLE_EQ(view.centreLon(), 0.1);
    view.setCentre(0.3, 0.2);
    in.fixValid = false;
    cycle.update(in);
    EXPECT_DOUBLE_EQ(gps.lat, 0.3);
    EXPECT_DOUBLE_EQ(gps.lon, 0.2);
}

TEST_F(CycleFixture, ADragMovesOnlyOnceOutOfTheDeadSquare) {
    view.placeRect(in.client);
    view.enterManualZoom();
    view.scale = 1.0e6f;
    PenDrag drag;
    drag.penDown({100, 100});
    struct Step {
        const char* legend;
        platform::Point at;
        bool shifted;
        double lonMoved;  // units, from the previous step
    };
    const Step steps[] = {
        {"inside the square", {120, 80}, false, 0.0},
        {"leaves it: the whole way at once", {121, 100}, true, -21e-6},
        {"then each displacement", {131, 100}, true, -10e-6},
    };
    for (const Step& s : steps) {
        const double before = view.centreLon();
        const PenDrag::Step step = drag.penMove(s.at, view, cycle);
        EXPECT_EQ(step.shifted, s.shifted) << s.legend;
        EXPECT_EQ(step.quickDraw, s.shifted) << s.legend;
        EXPECT_NEAR(view.centreLon() - before, s.lonMoved, 1e-9) << s.legend;
    }
    EXPECT_TRUE(view.has(viewflag::kFreeMovement));
}

TEST_F(CycleFixture, ShiftCommandsAreRefusedOutsideFreeMovement) {
    EXPECT_EQ(cycle.shiftCommand(ShiftDirection::Right), u"Action not available");
    EXPECT_FALSE(cycle.keyShift(ShiftDirection::Up));
    view.enterFreeMovement();
    view.scale = 1.0e6f;
    EXPECT_EQ(cycle.shiftCommand(ShiftDirection::Right), u"Right");
    EXPECT_NEAR(view.centreLon(), 2e-6, 1e-12);
    EXPECT_EQ(cycle.shiftCommand(ShiftDirection::Down), u"Down");
    EXPECT_NEAR(view.centreLat(), -2e-6, 1e-12);
}

TEST_F(CycleFixture, TheTrackCursorWalksByPenTravel) {
    // Points 1e-6 apart; at scale 1e6 one pixel of pen travel is 2e-6 units of track.
    fill(track.main(),
         {{0, 0}, {0, 1e-6}, {0, 2e-6}, {0, 3e-6, kSegmentEnd}, {0, 4e-6}, {0, 5e-6}});
    view.placeRect(in.client);
    view.scale = 1.0e6f;
    view.setCentre(0.0, 1.1e-6);
    ASSERT_TRUE(cycle.enterTrackCursor());
    TrackPoint*& cursor = track.main().selection.cursor;
    EXPECT_EQ(cursor->index, 1);
    EXPECT_TRUE(view.has(viewflag::kTrackCursor));
    EXPECT_TRUE(cycle.shift(1, 0));  // 2e-6: two points on
    EXPECT_EQ(cursor->index, 3);
    EXPECT_TRUE(cycle.shift(1, 0));  // across the segment end (0.5e-6), then one more
    EXPECT_EQ(cursor->index, 5);
    EXPECT_FALSE(cycle.shift(5, 0));  // the end of the track holds
    EXPECT_TRUE(cycle.shift(-1, ViewCycle::kStepOnePoint));
    EXPECT_EQ(cursor->index, 4);
    EXPECT_DOUBLE_EQ(view.centreLon(), 4e-6);
}

TEST_F(CycleFixture, TheSecondMarkerSnapsToATrackPointWithinTenMetres) {
    fill(track.main(), {{0.1, 0.1}, {0.1, 0.1001}});
    view.setCentre(0.1, 0.1001 + 0.005 / 20037.5);  // 5 m east of the second point
    TrackPoint* on = cycle.setSecondMarker();
    ASSERT_EQ(on, track.main().last());
    EXPECT_DOUBLE_EQ(view.secondMarker.lon, 0.1001);
    EXPECT_TRUE(view.manualZoom());
    EXPECT_TRUE(view.has(viewflag::kFreeMovement));
    view.setCentre(0.1, 0.1002);  // 2 km away: stays at the centre
    EXPECT_EQ(cycle.setSecondMarker(), nullptr);
    EXPECT_DOUBLE_EQ(view.secondMarker.lon, 0.1002);
}

TEST_F(CycleFixture, ZoomModesCycleAndFollowingResumes) {
    fill(track.main(), {{0.1, 0.1}, {0.1001, 0.1001}});
    view.enterFreeMovement();
    EXPECT_EQ(view.cycleZoomMode(true, gps, false), u"Action not available");
    EXPECT_EQ(view.cycleZoomMode(false, gps, false), u"Zoom Proportional");
    EXPECT_FALSE(view.has(viewflag::kFreeMovement));
    EXPECT_DOUBLE_EQ(gps.lat, view.centreLat());  // no fix: drawn where the view is
    // Proportional without a fix shows everything at once.
    cycle.update(in);
    EXPECT_NEAR(view.centreLat(), 0.10005, 1e-9);
    EXPECT_NEAR(view.scale, 300.0 / (2.05 * 0.00005), 300.0 / (2.05 * 0.00005) * 0.01);
    EXPECT_GT(cycle.scaleBar().lengthPixels, 0);  // the bar follows the settled scale
    EXPECT_EQ(cycle.scaleBar().lengthPixels,
              ScaleBar::compute(view.scale, 0, view.pixelMultiplier()).lengthPixels);
    EXPECT_EQ(view.cycleZoomMode(false, gps, false), u"Auto Zoom");
    EXPECT_EQ(view.cycleZoomMode(false, gps, false), u"Manual Zoom");
    // The wheel leaves proportional zoom for manual zoom before stepping.
    view.setProportional(gps, false);
    const float before = view.scale;
    EXPECT_EQ(view.wheelZoom(false), u"Zoom -");
    EXPECT_TRUE(view.manualZoom());
    EXPECT_FALSE(view.proportionalZoom());
    EXPECT_FLOAT_EQ(view.manualScale, before / 1.5f);
}

TEST(ViewStatus7, RoundTripsAndLeavesNavigationOnTheInformationLine) {
    const std::int32_t word = settings::withField(settings::kDefault, settings::kInfoLineShift, 4);
    const ViewStatus7 stored =
        ViewStatus7::fromFields(0x0005 | zoom::kManual, word, 2.5e6f, 0.05, 0.25);
    ViewGeometry view;
    LatLon gps;
    stored.applyTo(view, gps);
    EXPECT_TRUE(view.manualZoom());
    EXPECT_EQ(settings::field(view.settingsWord, settings::kInfoLineShift), 1);
    EXPECT_DOUBLE_EQ(gps.lat, 0.25);
    EXPECT_DOUBLE_EQ(view.longitudeDegrees(), 9.0);
    const ViewStatus7 back = ViewStatus7::takeFrom(view);
    EXPECT_EQ(back.mergedTrackWord(0x0005), 0x0005 | zoom::kManual);
    EXPECT_FLOAT_EQ(back.manualScale, 2.5e6f);
    EXPECT_DOUBLE_EQ(back.centreLon, 0.05);
}

}  // namespace
}  // namespace wendra::test
