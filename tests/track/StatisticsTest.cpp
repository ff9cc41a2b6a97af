// The range pass, the choice of the range and the rows, on small tracks whose
// expectations are worked out by hand (distances are 3-D: a 20 m rise over 100 m
// of ground is a step of 101.98 m).

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "records/DayNumber.h"
#include "records/Text.h"
#include "support/FakeClock.h"
#include "track/PointValues.h"
#include "support/ScriptedDialogHost.h"
#include "support/ScriptedMessageBoxes.h"
#include "track/StatisticsDisplay.h"
#include "track/StatisticsScreen.h"
#include "track/Track.h"
#include "track/TrackPoint.h"
#include "track/TrackStatistics.h"

namespace wendra::test {
namespace {

constexpr double kLatitude = 45.0;
constexpr double kLongitude = 7.0;
constexpr double kMetresPerDegree = 20037508.342789244 / 180.0;
constexpr double kDay = 8000.0;
constexpr double kSecond = 1.0 / 86400.0;
constexpr float kSecondTolerance = 1e-3f;

struct Step {
    double northMetres;
    double seconds;
    float speed = 6.0f;
    float altitude = 100.0f;
    std::uint32_t flags = 0;
};

// Appends stored points (flags as given, no gap test) with their smoothed altitude
// equal to the altitude, so that the climbing state follows the altitudes.
std::vector<TrackPoint*> build(Track& track, std::initializer_list<Step> steps,
                               double baseDay = kDay) {
    std::vector<TrackPoint*> points;
    for (const Step& step : steps) {
        TrackPoint* point = track.main().append();
        PointValues values;
        values.lat = (kLatitude + step.northMetres / kMetresPerDegree) / 180.0;
        values.lon = kLongitude / 180.0;
        values.speed = step.speed;
        values.altitude = step.altitude;
        values.heading = 45;
        values.signal = 40.0f;
        values.time = baseDay + step.seconds * kSecond;
        values.timeZone = 0;
        values.flags = step.flags;
        setPointValues(*point, values, track.settings.minPointDistanceKm);
        points.push_back(point);
    }
    for (TrackPoint* point : points) point->smoothAltitude = point->altitude;
    track.cumulativeValues();
    return points;
}

StatisticsResults pass(Track& track, const TrackPoint* from, const TrackPoint* to) {
    return passRange(*from, *to, {track.settings.joinFarPoints, 0.0f, 0.0f});
}

float seconds(float days) {
    return static_cast<float>(days / kSecond);
}

TEST(StatisticsPass, OnePointHasNoLengthTimeOrSpeed) {
    Track track;
    const auto p = build(track, {{0, 0, 7.0f, 321.0f}});
    const StatisticsResults r = pass(track, p[0], p[0]);
    EXPECT_EQ(r.pointCount, 1);
    EXPECT_EQ(r.segmentCount, 1);
    EXPECT_EQ(r.lengthKm, 0.0f);
    EXPECT_EQ(r.totalTime, 0.0f);
    EXPECT_EQ(r.accumulatedTime, 0.0f);
    EXPECT_EQ(r.movingTime, 0.0f);
    EXPECT_EQ(r.stationaryTime, 0.0f);
    EXPECT_EQ(r.averageSpeed, 0.0f);
    EXPECT_EQ(r.averageTotalSpeed, 0.0f);
    EXPECT_EQ(r.averageMovingSpeed, 0.0f);
    EXPECT_EQ(r.stationaryPercent, 0);
    EXPECT_EQ(r.amplitude, 0.0f);
    EXPECT_EQ(r.maxAltitude.value, 321.0f);
    EXPECT_EQ(r.minAltitude.value, 321.0f);
    EXPECT_EQ(r.averageSignal, 40.0f);
}

TEST(StatisticsPass, SumsAWalkAndClassifiesItsClimbs) {
    Track track;
    // Up 20 m, level, down 20 m; a minute per 100 m step, the last step faster.
    const auto p = build(track, {{0, 0, 6.0f, 100.0f},
                                 {100, 60, 6.0f, 120.0f},
                                 {200, 120, 6.0f, 120.0f},
                                 {300, 180, 12.0f, 100.0f}});
    const StatisticsResults r = pass(track, p[0], p[3]);
    const float slanted = std::hypot(100.0f, 20.0f) / 1000.0f;  // km
    EXPECT_NEAR(r.lengthKm, 2 * slanted + 0.1f, 1e-5);
    EXPECT_NEAR(seconds(r.totalTime), 180.0f, kSecondTolerance);
    EXPECT_NEAR(seconds(r.accumulatedTime), 180.0f, kSecondTolerance);
    EXPECT_NEAR(seconds(r.movingTime), 180.0f, kSecondTolerance);
    EXPECT_EQ(r.stationaryPercent, 0);
    EXPECT_NEAR(r.averageSpeed, (2 * slanted + 0.1f) / 0.05f, 1e-3);
    EXPECT_EQ(r.maxSpeed.value, 12.0f);
    EXPECT_EQ(r.maxSpeed.lat, p[3]->lat);
    // The first of equal extremes wins.
    EXPECT_EQ(r.maxAltitude.time, p[1]->time);
    EXPECT_EQ(r.minAltitude.time, p[0]->time);
    EXPECT_EQ(r.amplitude, 20.0f);
    EXPECT_EQ(r.altitudeDelta, 0.0f);
    // The level step turns the state to descending: a rise must exceed 0.8 m.
    EXPECT_EQ(r.positive.uneven, 20.0f);
    EXPECT_NEAR(r.positive.distance, slanted, 1e-6);
    EXPECT_NEAR(seconds(r.positive.time), 60.0f, kSecondTolerance);
    EXPECT_NEAR(r.positive.averageSpeed, slanted * 60.0f, 1e-3);
    EXPECT_NEAR(r.positive.slope, 20.0f / slanted / 10.0f, 1e-3);
    EXPECT_EQ(r.negative.uneven, 20.0f);
    EXPECT_NEAR(r.negative.distance, slanted + 0.1f, 1e-6);
    EXPECT_NEAR(seconds(r.negative.time), 120.0f, kSecondTolerance);
}

// Two segments of one 100 m step each, an hour and a kilometre apart; the speed of
// the point after the gap decides where the hour goes once far points are joined.
struct GapCase {
    const char* legend;
    bool join;
    float speedAfterGap;
    float lengthKm;
    float accumulatedSeconds;
    float movingSeconds;
    float stationarySeconds;
    int stationaryPercent;
};

const GapCase kGapCases[] = {
    {"apart: the hour is a stop between segments", false, 6.0f, 0.2f, 120, 120, 3600, 97},
    {"joined, slow after the gap: stationary", true, 1.0f, 1.2f, 3720, 120, 3600, 97},
    {"joined, fast after the gap: moving", true, 6.0f, 1.2f, 3720, 3720, 0, 0},
};

TEST(StatisticsPass, SegmentGapFollowsJoinFarPoints) {
    for (const GapCase& c : kGapCases) {
        SCOPED_TRACE(c.legend);
        Track track;
        track.settings.joinFarPoints = c.join;
        const auto p = build(track, {{0, 0},
                                     {100, 60, 6.0f, 100.0f, kSegmentEnd},
                                     {1100, 3660, c.speedAfterGap, 100.0f, kSegmentStart},
                                     {1200, 3720}});
        const StatisticsResults r = pass(track, p[0], p[3]);
        EXPECT_EQ(r.segmentCount, 2);
        EXPECT_NEAR(r.lengthKm, c.lengthKm, 1e-5);
        EXPECT_NEAR(seconds(r.accumulatedTime), c.accumulatedSeconds, kSecondTolerance);
        EXPECT_NEAR(seconds(r.movingTime), c.movingSeconds, kSecondTolerance);
        EXPECT_NEAR(seconds(r.stationaryTime), c.stationarySeconds, 0.01f);
        EXPECT_EQ(r.stationaryPercent, c.stationaryPercent);
    }
}

TEST(StatisticsPass, ClimbAfterAGapDoesNotTakeTheGapsTime) {
    Track track;
    const auto p = build(track, {{0, 0, 6.0f, 0.0f},
                                 {100, 60, 6.0f, 0.0f, kSegmentEnd},
                                 {1100, 3660, 6.0f, 0.0f, kSegmentStart},
                                 {1200, 3720, 6.0f, 10.0f}});
    const StatisticsResults r = pass(track, p[0], p[3]);
    EXPECT_EQ(r.positive.uneven, 10.0f);
    EXPECT_NEAR(seconds(r.positive.time), 60.0f, kSecondTolerance);
    EXPECT_NEAR(seconds(r.negative.time), 60.0f, kSecondTolerance);
}

TEST(StatisticsPass, TwoKilometresAnHourIsStationary) {
    Track track;
    // 100 m in three minutes is exactly 2.0 km/h; the speed field decides, not the step.
    const auto p = build(track, {{0, 0, 2.0f}, {100, 180, 2.0f}, {200, 360, 2.01f}});
    const StatisticsResults r = pass(track, p[0], p[2]);
    EXPECT_NEAR(seconds(r.stationaryTime), 180.0f, kSecondTolerance);
    EXPECT_NEAR(seconds(r.movingTime), 180.0f, kSecondTolerance);
    EXPECT_EQ(r.stationaryPercent, 50);
}

// Each case: smoothed altitudes of a short track (0.8 is exact from 0 in single
// precision) and which steps count as climbing.
struct ClimbCase {
    const char* legend;
    std::vector<float> altitudes;
    int climbingSteps;
    int descendingSteps;
};

const ClimbCase kClimbCases[] = {
    {"starts up, a rise of exactly 0.8 m stays up", {0.0f, 0.8f}, 1, 0},
    {"starts up, a rise of 0.5 m turns down", {0.0f, 0.5f}, 0, 1},
    {"starts down, a rise of exactly 0.8 m stays down", {0.8f, 0.0f, 0.8f}, 0, 2},
    {"starts down, a rise of 0.9 m turns up", {0.8f, 0.0f, 0.9f}, 1, 1},
    {"a level start is down", {5.0f, 5.0f, 5.0f}, 0, 2},
};

TEST(StatisticsPass, ClimbingStateTurnsOnlyPastEightDecimetres) {
    for (const ClimbCase& c : kClimbCases) {
        SCOPED_TRACE(c.legend);
        Track track;
        std::vector<TrackPoint*> p;
        for (std::size_t i = 0; i < c.altitudes.size(); ++i) {
            const auto added =
                build(track, {{100.0 * static_cast<double>(i), 60.0 * static_cast<double>(i), 6.0f,
                               c.altitudes[i]}});
            p.push_back(added.front());
        }
        for (TrackPoint* point : p) point->smoothAltitude = point->altitude;
        const StatisticsResults r = pass(track, p.front(), p.back());
        EXPECT_NEAR(seconds(r.positive.time), 60.0f * c.climbingSteps, kSecondTolerance);
        EXPECT_NEAR(seconds(r.negative.time), 60.0f * c.descendingSteps, kSecondTolerance);
        EXPECT_GE(r.positive.uneven, 0.0f);
        EXPECT_GE(r.negative.uneven, 0.0f);
    }
}

TEST(StatisticsPass, BelowSeaLevelThereIsNoMaximumAndTheAmplitudeStartsAtZero) {
    Track track;
    const auto p =
        build(track, {{0, 0, 6.0f, -10.0f}, {100, 60, 6.0f, -30.0f}, {200, 120, 6.0f, -20.0f}});
    const StatisticsResults r = pass(track, p[0], p[2]);
    EXPECT_FALSE(r.maxAltitude.found());
    EXPECT_TRUE(r.minAltitude.found());
    EXPECT_EQ(r.minAltitude.value, -30.0f);
    EXPECT_EQ(r.amplitude, 30.0f);
    EXPECT_EQ(r.altitudeDelta, -10.0f);
}

TEST(StatisticsPass, RangeStopsAtItsEndAndLeavesTheNextIntervalOut) {
    Track track;
    const auto p = build(track, {{0, 0}, {100, 60}, {200, 120}, {300, 300}});
    const StatisticsResults r = pass(track, p[1], p[2]);
    EXPECT_EQ(r.pointCount, 2);
    EXPECT_NEAR(r.lengthKm, 0.1f, 1e-5);
    EXPECT_NEAR(seconds(r.totalTime), 60.0f, kSecondTolerance);
    EXPECT_NEAR(seconds(r.accumulatedTime), 60.0f, kSecondTolerance);
    EXPECT_EQ(r.firstTime, p[1]->time);
    EXPECT_EQ(r.lastTime, p[2]->time);
}

TEST(StatisticsPass, PointsWithoutTimeMakeTheAccumulatedTimeZero) {
    Track track;
    const auto p = build(track, {{0, 0}, {100, 60}, {200, 120}}, 0.0);
    const StatisticsResults r = pass(track, p[0], p[2]);
    EXPECT_TRUE(r.timeless);
    EXPECT_EQ(r.accumulatedTime, 0.0f);
    EXPECT_EQ(r.movingTime, 0.0f);
    EXPECT_EQ(r.stationaryTime, 0.0f);
    EXPECT_EQ(r.averageSpeed, 0.0f);
    EXPECT_NEAR(r.lengthKm, 0.2f, 1e-5);
}

TEST(StatisticsPass, SlopeFollowsTheGlideRatio) {
    EXPECT_EQ(slopeFromGlideRatio(0.0f), 0.0f);
    EXPECT_EQ(slopeFromGlideRatio(0.1f), 0.0f);
    EXPECT_EQ(slopeFromGlideRatio(-20.0f), -5.0f);
    EXPECT_EQ(slopeFromGlideRatio(0.1001f), StatisticsResults::kNoSlope);
    EXPECT_NEAR(slopeFromGlideRatio(0.11f), 909.09f, 0.01f);
}

TEST(StatisticsRange, SelectionWithItsEndsInTrackOrder) {
    Track track;
    const auto p = build(track, {{0, 0}, {100, 60}, {200, 120}, {300, 180}});
    TrackSelection& selection = track.main().selection;
    StatisticsRange range = TrackStatistics::selectRange(track);
    EXPECT_EQ(range.from, p[0]);
    EXPECT_EQ(range.to, p[3]);

    selection = {p[2], p[1], true, true};
    range = TrackStatistics::selectRange(track);
    EXPECT_EQ(range.from, p[1]);
    EXPECT_EQ(range.to, p[2]);

    // Markers switched off, or both on one point: not a selection.
    selection.anchorPlaced = false;
    EXPECT_EQ(TrackStatistics::selectRange(track).from, p[0]);
    selection = {p[2], p[2], true, true};
    EXPECT_EQ(TrackStatistics::selectRange(track).to, p[3]);

    Track empty;
    range = TrackStatistics::selectRange(empty);
    EXPECT_EQ(range.from, nullptr);
    EXPECT_EQ(range.to, nullptr);
}

TEST(StatisticsRows, LabelsAsTheScreenWritesThem) {
    TrackStatistics stats;
    EXPECT_EQ(stats.row(0).label, u"First point");
    EXPECT_EQ(stats.row(11).label, u"Lenght:");
    EXPECT_EQ(stats.row(18).label, u"--at:");
    EXPECT_EQ(stats.row(53).label, u"-Stabilized:");
    EXPECT_EQ(stats.row(62).label, u"--Cross track error:");
    EXPECT_EQ(stats.row(76).label, u"--Arriving at:");
    EXPECT_EQ(stats.row(77).label, u"Memory");
    EXPECT_EQ(stats.row(85).label, u"--Nb of tuiles:");
    EXPECT_EQ(stats.row(89).label, u"--Size:");
    EXPECT_EQ(stats.row(36).depth(), 2);
    EXPECT_EQ(stats.row(36).caption(), u"Slope:");
    EXPECT_EQ(stats.row(45).depth(), 0);
    int exported = 0;
    for (int i = 0; i < TrackStatistics::kRowCount; ++i) {
        EXPECT_FALSE(stats.row(i).label.empty()) << i;
        EXPECT_TRUE(stats.row(i).expanded) << i;
        exported += stats.row(i).exported ? 1 : 0;
    }
    EXPECT_EQ(exported, 13 + 5 + 2 + 18 + 4);
    EXPECT_FALSE(stats.row(13).exported);
    EXPECT_TRUE(stats.row(22).exported);
}

// The walk of SumsAWalk... recorded at 9:00 today, shown in two unit systems.
struct RowCase {
    int row;
    const char16_t* metric;
    const char16_t* angloSaxon;
};

const RowCase kRowCases[] = {
    {0, u"", u""},
    {1, u"9:00:00s", u"9:00:00s"},
    {2, u"100m", u"328ft"},
    {4, u"9:03:00s", u"9:03:00s"},
    {7, u"3'00s", u"3'00s"},
    {8, u"3'00s", u"3'00s"},
    {9, u"3'00s", u"3'00s"},
    {10, u"0s (0%)", u"0s (0%)"},
    {11, u"304m", u"0.189mi"},
    {13, u"12km/h", u"7.6mi/h"},
    {14, u"6.1km/h", u"3.8mi/h"},
    {17, u"12km/h", u"7.5mi/h"},
    {18, u"9:03:00s", u"9:03:00s"},
    {19, u"0.0m/mn", u"0.0ft/mn"},
    {20, u"0.0", u"0.0"},
    {21, u"0.0%", u"0.0%"},
    {22, u"4'53s/km", u"7'51s/mi"},
    {24, u"250m", u"820ft"},
    {25, u"120m", u"394ft"},
    {26, u"9:01:00s", u"9:01:00s"},
    {27, u"100m", u"328ft"},
    {30, u"0m", u"0ft"},
    {31, u"20m", u"66ft"},
    {32, u"20m", u"66ft"},
    {33, u"102m", u"335ft"},
    {34, u"1'00s", u"1'00s"},
    {35, u"6.1km/h", u"3.8mi/h"},
    {36, u"20%", u"20%"},
    {38, u"202m", u"0.126mi"},
    {39, u"2'00s", u"2'00s"},
    {41, u"9.9%", u"9.9%"},
    {43, u"33.5dB", u"33.5dB"},
    {44, u"40.0dB", u"40.0dB"},
    {46, u"4/7500", u"4/7500"},
    {47, u"1", u"1"},
    {49, u"45.500000N", u"45.500000N"},
    {50, u"7.250000E", u"7.250000E"},
    {52, u"90", u"90"},
    {53, u"45", u"45"},
    {58, u"", u""},
};

TEST(StatisticsRows, WrittenInTheUnitSystem) {
    FakeClock clock;
    clock.local = {2024, 5, 17, 12, 0, 0, 0};
    platform::ScopedClock useClock(clock);
    const double nine = std::floor(currentDayNumber()) + 9.0 / 24.0;
    Track track;
    build(track,
          {{0, 0, 6.0f, 100.0f},
           {100, 60, 6.0f, 120.0f},
           {200, 120, 6.0f, 120.0f},
           {300, 180, 12.0f, 100.0f}},
          nine);
    TrackStatistics stats;
    stats.liveUpdate(Fix{45.5, 7.25, 12.3f, 250.0f, 90, 33.5f, nine + 200 * kSecond});
    for (int units : {0, 1}) {
        SCOPED_TRACE(units);
        stats.computeSelection(track, {units, 0});
        for (const RowCase& c : kRowCases) {
            SCOPED_TRACE(c.row);
            EXPECT_EQ(stats.row(c.row).value, units == 0 ? c.metric : c.angloSaxon);
        }
    }
}

TEST(StatisticsRows, OnlyLiveRowsWithoutARange) {
    Track track;
    TrackStatistics stats;
    stats.setValue(80, u"stale");
    stats.compute(track, nullptr, nullptr, {});
    // No fix yet: the current values are empty too, the live results are zero.
    EXPECT_EQ(stats.row(kRowCurrentSpeed).value, u"");
    EXPECT_EQ(stats.row(kRowLatitude).value, u"");
    EXPECT_EQ(stats.row(kRowClimbSpeed).value, u"0.0m/mn");
    EXPECT_EQ(stats.row(kRowLength).value, u"");
    EXPECT_EQ(stats.row(kRowPointCount).value, u"");
    EXPECT_EQ(stats.row(80).value, u"");
    // This machine says how much memory is free: a byte size.
    ASSERT_FALSE(stats.row(kRowFreeMemory).value.empty());
    EXPECT_EQ(stats.row(kRowFreeMemory).value.back(), u'b');
}

TEST(StatisticsRows, GridFormatsSplitTheGridValues) {
    Track track;
    TrackStatistics stats;
    stats.liveUpdate(Fix{46.95108, 7.43864, 0.0f, 500.0f, 0, 30.0f, kDay});
    stats.compute(track, nullptr, nullptr, {0, 3});
    EXPECT_EQ(stats.row(kRowLatitude).value, u"381189");
    EXPECT_EQ(stats.row(kRowLongitude).value, u"5200911 32N");
    stats.liveUpdate(Fix{44.9, 7.0, 0.0f, 500.0f, 0, 30.0f, kDay + 1});
    stats.compute(track, nullptr, nullptr, {0, 4});
    EXPECT_EQ(stats.row(kRowLatitude).value, u"---");
}

TEST(StatisticsRows, ValuesAreCutToThirtyOneCharacters) {
    TrackStatistics stats;
    stats.setValue(78, std::u16string(40, u'x'));
    EXPECT_EQ(stats.row(78).value.size(), TrackStatistics::kMaxValueLength);
    stats.setValue(TrackStatistics::kRowCount, u"ignored");
    stats.setValue(-1, u"ignored");
}

TEST(StatisticsRows, NegativeRangeLeavesTheMaximumRowEmpty) {
    Track track;
    build(track, {{0, 0, 0.0f, -10.0f}, {100, 60, 0.0f, -30.0f}});
    TrackStatistics stats;
    stats.computeSelection(track, {});
    EXPECT_EQ(stats.row(kRowMaxAltitude).value, u"");
    EXPECT_EQ(stats.row(kRowMinAltitude).value, u"-30m");
    EXPECT_EQ(stats.row(kRowAmplitude).value, u"30m");
    // Nobody moved: no maximum speed either.
    EXPECT_EQ(stats.row(kRowMaxSpeed).value, u"");
}

// A receiver's clock may jump backwards (a reset, a week roll-over): the screen still
// shows no negative time and a stationary share between 0 and 100 %.
TEST(StatisticsRows, AClockThatJumpsBackShowsNoNegativeTime) {
    constexpr double kYear = 365.0 * 86400.0;
    struct Case {
        const char* legend;
        std::vector<Step> steps;
    };
    const Case cases[] = {
        {"an hour back in the middle", {{0, 0}, {100, 60}, {200, -3540}, {300, -3480}}},
        {"the last point before the first", {{0, 0}, {100, 60}, {200, -60, 1.0f}}},
        {"a year back while stopped, a span of one second",
         {{0, 0}, {100, -kYear, 0.0f}, {200, 1}}},
        {"back and forth: steps longer than the span",
         {{0, 0}, {100, 3600}, {200, 0}, {300, 3600}}},
        {"climbing while the clock goes back",
         {{0, 0, 6.0f, 100.0f}, {100, -600, 6.0f, 120.0f}, {200, -540, 6.0f, 90.0f}}},
    };
    const int durationRows[] = {kRowAccumulatedTime, kRowTotalTime,    kRowMovingTime,
                                kRowStationary,      kRowPositive + 2, kRowPositive + 7};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.legend);
        Track track;
        for (const Step& step : c.steps) build(track, {step});
        TrackStatistics stats;
        stats.computeSelection(track, {});
        for (const int row : durationRows) {
            SCOPED_TRACE(row);
            EXPECT_EQ(stats.row(row).value.find(u'-'), std::u16string::npos)
                << toUtf8(stats.row(row).value);
        }
        const std::u16string& stationary = stats.row(kRowStationary).value;
        const size_t open = stationary.find(u'(');
        ASSERT_NE(open, std::u16string::npos);
        const int percent = std::stoi(toUtf8(stationary.substr(open + 1)));
        EXPECT_GE(percent, 0);
        EXPECT_LE(percent, 100);
    }
}

// Display: the extreme rows move the view when their point was found.
TEST(StatisticsDisplay, CentresOnAFoundExtremeAndHintsOnce) {
    StatisticsResults r;
    r.maxSpeed = {30.0f, kDay, 0.04, 0.25};
    r.minAltitude = {-5.0f, kDay, 0.05, 0.26};
    StatisticsDisplay d = StatisticsDisplay::decide(kRowMaxSpeed, r, false);
    EXPECT_TRUE(d.centre);
    EXPECT_EQ(d.lon, 0.04);
    EXPECT_EQ(d.lat, 0.25);
    EXPECT_TRUE(d.showHint);
    d = StatisticsDisplay::decide(kRowMinAltitude, r, true);
    EXPECT_TRUE(d.centre);
    EXPECT_EQ(d.lon, 0.05);
    EXPECT_FALSE(d.showHint);
    // Not found, not an extreme row, no row.
    for (int row : {int{kRowMaxAltitude}, int{kRowMaxSpeedAt}, int{kRowCurrentSpeed}, -1}) {
        SCOPED_TRACE(row);
        EXPECT_FALSE(StatisticsDisplay::decide(row, r, false).centre);
    }
}

// The screen as the user works it: rows hang under their headings with their values;
// "Display" refuses a row without a position and ends on the maximum speed.
TEST(StatisticsScreen, ShowsTheRowsAndDisplaysAFoundExtreme) {
    Track track;
    build(track, {{0, 0, 6.0f, 100.0f}, {100, 60, 12.0f, 120.0f}});
    TrackStatistics statistics;
    statistics.computeSelection(track, {});
    test::ScriptedDialogHost host;
    test::ScriptedMessageBoxes boxes;
    StatisticsScreen screen(statistics, false);
    host.expect([&](test::ScriptedDialog& shown) {
        EXPECT_EQ(shown.title(), u"Statistics");
        const platform::TreeItem maxi =
            shown.findTreeItem(StatisticsScreen::kTree, {u"Speed", u"Maxi: 12km/h"});
        ASSERT_NE(maxi, platform::kNoTreeItem);
        EXPECT_NE(shown.findTreeItem(StatisticsScreen::kTree, {u"Time", u"Total: 1'00s"}),
                  platform::kNoTreeItem);
        EXPECT_TRUE(shown.select(StatisticsScreen::kTree,
                                 shown.treeParent(StatisticsScreen::kTree, maxi)));
        EXPECT_TRUE(shown.press(StatisticsScreen::kDisplay));
        EXPECT_FALSE(shown.ended()) << "a heading has no position";
        EXPECT_TRUE(shown.select(StatisticsScreen::kTree, maxi));
        EXPECT_TRUE(shown.press(StatisticsScreen::kDisplay));
    });
    EXPECT_EQ(platform::runDialog(StatisticsScreen::dialogTemplate(), screen),
              StatisticsScreen::kDisplay);
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].text, u"No selection!");
    EXPECT_TRUE(screen.display().centre);
    EXPECT_TRUE(screen.display().showHint);
    EXPECT_EQ(statistics.selectedRow, kRowMaxSpeed) << "kept for the next showing";
}

}  // namespace
}  // namespace wendra::test
