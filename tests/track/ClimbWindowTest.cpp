// The live windows and the live update: which fixes feed them and what they give.

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <thread>

#include "track/ClimbWindow.h"
#include "track/Track.h"
#include "track/TrackStatistics.h"

namespace wendra::test {
namespace {

constexpr double kDay = 8000.0;
constexpr double kSecond = 1.0 / 86400.0;
// Half-turn units per metre along a meridian, as the windows measure it.
constexpr double kHalfTurnPerMetre = 1.0 / 20037507.8;

// Adds an entry `north` metres up a meridian at latitude 0, `seconds` after kDay.
void addAt(ClimbWindow& window, double north, double seconds, float altitude) {
    window.add(0.0, north * kHalfTurnPerMetre, kDay + seconds * kSecond, altitude);
}

TEST(ClimbWindow, NoResultBeforeThreeEntries) {
    ClimbWindow climb(30, ClimbWindow::Kind::Climb);
    addAt(climb, 0, 0, 0.0f);
    addAt(climb, 100, 60, 50.0f);
    EXPECT_EQ(climb.count(), 2);
    EXPECT_EQ(climb.climbSpeed(), 0.0f);
    EXPECT_EQ(climb.glideRatio(), 0.0f);
    addAt(climb, 200, 120, 100.0f);
    EXPECT_FLOAT_EQ(climb.climbSpeed(), 50.0f);  // 100 m in 2 min
    EXPECT_NEAR(climb.glideRatio(), 2.0, 1e-4);  // 200 m across, 100 m up
}

TEST(ClimbWindow, FullWindowMeasuresFromItsOldestEntry) {
    ClimbWindow climb(3, ClimbWindow::Kind::Climb);
    addAt(climb, 0, 0, 0.0f);
    addAt(climb, 10, 60, 10.0f);
    addAt(climb, 20, 120, 20.0f);
    addAt(climb, 30, 180, 40.0f);
    EXPECT_EQ(climb.count(), 3);
    const ClimbWindow::Span span = climb.span();
    EXPECT_NEAR(span.minutes, 2.0, 1e-6);
    EXPECT_EQ(span.altitude, 30.0f);
    EXPECT_NEAR(span.distance, 20.0f, 1e-3);
    EXPECT_FLOAT_EQ(climb.climbSpeed(), 15.0f);
}

TEST(ClimbWindow, ClimbSpeedNeedsMoreThanATenthOfASecond) {
    ClimbWindow climb(30, ClimbWindow::Kind::Climb);
    addAt(climb, 0, 0, 0.0f);
    addAt(climb, 10, 0.05, 5.0f);
    addAt(climb, 20, 0.09, 9.0f);
    EXPECT_EQ(climb.climbSpeed(), 0.0f);
}

TEST(ClimbWindow, GlideWindowFoldsFixesWithinOneMetre) {
    ClimbWindow glide(30, ClimbWindow::Kind::Glide);
    ClimbWindow climb(30, ClimbWindow::Kind::Climb);
    for (ClimbWindow* window : {&glide, &climb}) {
        addAt(*window, 0, 0, 100.0f);
        addAt(*window, 0.5, 60, 98.0f);
        addAt(*window, 1.0, 120, 96.0f);
    }
    EXPECT_EQ(climb.count(), 3);
    // 0.5 m and then 0.5 m again from the refreshed newest entry.
    EXPECT_EQ(glide.count(), 1);
    addAt(glide, 40, 180, 92.0f);
    addAt(glide, 80, 240, 88.0f);
    EXPECT_EQ(glide.count(), 3);
    // The first entry kept the altitude and time of the last fix folded into it.
    const ClimbWindow::Span span = glide.span();
    EXPECT_EQ(span.altitude, -8.0f);
    EXPECT_NEAR(span.minutes, 2.0, 1e-6);
    EXPECT_NEAR(span.distance, 80.0f, 1e-3);
    EXPECT_NEAR(glide.glideRatio(), -10.0, 1e-3);  // descending
}

TEST(ClimbWindow, GlideRatioNeedsMoreThanOneMetreOfHeight) {
    ClimbWindow glide(30, ClimbWindow::Kind::Glide);
    addAt(glide, 0, 0, 100.0f);
    addAt(glide, 50, 60, 100.5f);
    addAt(glide, 100, 120, 101.0f);
    EXPECT_EQ(glide.glideRatio(), 0.0f);
    addAt(glide, 150, 180, 101.5f);
    EXPECT_NEAR(glide.glideRatio(), 100.0, 1e-3);  // 150 m across, 1.5 m up
}

TEST(ClimbWindow, ReallocationEmptiesTheWindow) {
    ClimbWindow climb(30, ClimbWindow::Kind::Climb);
    for (int i = 0; i < 5; ++i) addAt(climb, 10 * i, 60 * i, 10.0f * i);
    EXPECT_TRUE(climb.reallocate(4));
    EXPECT_EQ(climb.capacity(), 4);
    EXPECT_EQ(climb.count(), 0);
    EXPECT_EQ(climb.climbSpeed(), 0.0f);
    EXPECT_TRUE(climb.reallocate(0));
    EXPECT_EQ(climb.capacity(), 1);
    addAt(climb, 0, 0, 0.0f);
    addAt(climb, 10, 60, 1.0f);
    EXPECT_EQ(climb.count(), 1);
}

Fix fixAt(double seconds, float altitude, double northMetres = 0.0) {
    Fix fix;
    fix.latitude = northMetres * kHalfTurnPerMetre * 180.0;
    fix.longitude = 0.0;
    fix.altitude = altitude;
    fix.speed = 3.0f;
    fix.course = 10;
    fix.signal = 35.0f;
    fix.time = kDay + seconds * kSecond;
    return fix;
}

TEST(LiveUpdate, HalfSecondFixesFeedEveryOtherOne) {
    TrackStatistics stats;
    const bool expected[] = {true, false, true, false, true, false, true};
    for (int i = 0; i < 7; ++i) {
        SCOPED_TRACE(i);
        stats.liveUpdate(fixAt(0.5 * i, static_cast<float>(i)));
        EXPECT_EQ(stats.lastFixFedWindows(), expected[i]);
        EXPECT_EQ(stats.live().fix.altitude, static_cast<float>(i));
    }
    // Entries at 0, 1, 2 and 3 s with altitudes 0, 2, 4, 6: 6 m in 3 s.
    EXPECT_NEAR(stats.liveClimbSpeed(), 120.0f, 1e-2);
}

TEST(LiveUpdate, ClockSetBackRestartsTheInterval) {
    TrackStatistics stats;
    stats.liveUpdate(fixAt(3600, 0.0f));
    stats.liveUpdate(fixAt(0, 0.0f));
    EXPECT_FALSE(stats.lastFixFedWindows());
    stats.liveUpdate(fixAt(1, 0.0f));
    EXPECT_TRUE(stats.lastFixFedWindows());
}

TEST(LiveUpdate, GlideRatioFromTheFixes) {
    TrackStatistics stats;
    for (int i = 0; i < 3; ++i) stats.liveUpdate(fixAt(10.0 * i, 100.0f - 2.0f * i, 20.0 * i));
    EXPECT_NEAR(stats.liveGlideRatio(), -10.0f, 1e-3);  // 40 m across, 4 m down
    EXPECT_NEAR(stats.liveClimbSpeed(), -12.0f, 1e-3);  // 4 m down in 20 s
    LiveValues live = stats.live();
    EXPECT_TRUE(live.known);
    EXPECT_EQ(live.fix.course, 10);

    stats.setClimbWindow(5);
    EXPECT_EQ(stats.liveClimbSpeed(), 0.0f);
    EXPECT_EQ(stats.liveGlideRatio(), 0.0f);
    // The windows start empty: two new entries are not enough.
    stats.liveUpdate(fixAt(40, 90.0f, 80));
    stats.liveUpdate(fixAt(50, 80.0f, 100));
    EXPECT_EQ(stats.liveClimbSpeed(), 0.0f);
}

// The reader thread feeds fixes while the window thread computes the rows.
TEST(LiveUpdate, FedFromTheReaderThreadWhileTheScreenComputes) {
    TrackStatistics stats;
    Track track;
    std::atomic<bool> done{false};
    std::thread reader([&] {
        for (int i = 0; i < 2000; ++i) stats.liveUpdate(fixAt(i, static_cast<float>(i), i));
        done = true;
    });
    int computed = 0;
    while (!done || computed == 0) {
        stats.compute(track, nullptr, nullptr, {});
        ++computed;
    }
    reader.join();
    // One metre and one second a fix: 60 m/min, whatever the window saw last.
    EXPECT_NEAR(stats.liveClimbSpeed(), 60.0f, 1e-2);
    stats.compute(track, nullptr, nullptr, {});
    EXPECT_EQ(stats.row(kRowCurrentAltitude).value, u"1999m");
}

}  // namespace
}  // namespace wendra::test
