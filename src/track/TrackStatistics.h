#pragma once
// The track statistics: the 90 labelled rows of the statistics screen and exports,
// the numbers of the last range pass, the current fix and the two live climb windows.
// The live part may be fed from the GPS reader thread; everything else is the window
// thread's. Row values are at most kMaxValueLength characters.

#include <array>
#include <mutex>
#include <string>
#include <string_view>

#include "gps/Fix.h"
#include "track/ClimbWindow.h"
#include "track/StatisticsResults.h"
#include "track/StatisticsRow.h"

namespace wendra {

class Track;
class TrackPoint;

// The two user choices the rows are written in (settings of the configuration).
struct StatisticsFormat {
    int unitSystem = 0;        // 0..3
    int coordinateFormat = 0;  // 0..4
};

// The ends of the range to compute over; both null when the main layer is empty.
struct StatisticsRange {
    TrackPoint* from = nullptr;
    TrackPoint* to = nullptr;
};

// The current fix as the last live update left it.
struct LiveValues {
    Fix fix;
    bool known = false;  // a fix was received in this run
    float climbSpeed = 0.0f;
    float glideRatio = 0.0f;
};

class TrackStatistics {
public:
    static constexpr int kRowCount = 90;
    static constexpr std::size_t kMaxValueLength = 31;
    // Fixes closer in time than this (0.9 s) do not feed the live windows.
    static constexpr double kMinLiveInterval = 1.0416667e-5;

    explicit TrackStatistics(int climbWindow = 30);
    TrackStatistics(const TrackStatistics&) = delete;
    TrackStatistics& operator=(const TrackStatistics&) = delete;

    // For every new valid fix, before it is recorded: keeps it as the current fix and,
    // when it is more than 0.9 s after the previous one, feeds both live windows and
    // recomputes the live climb speed and glide ratio.
    void liveUpdate(const Fix& fix);
    // m/min, what the hand-over copies into the last point.
    float liveClimbSpeed() const;
    float liveGlideRatio() const;
    // Whether the last liveUpdate fed the windows (the navigation windows follow it).
    bool lastFixFedWindows() const;
    LiveValues live() const;

    // A new climbWindow: both windows start again empty with that capacity. The caller
    // smooths the track again (Track::smoothAll).
    void setClimbWindow(int entries);

    // The selection of the main layer when it is usable (both markers placed, on points
    // of different index), else its first and last points; in track order. Brings the
    // cumulative values up to date (".Len").
    static StatisticsRange selectRange(Track& track);

    // Clears every row, fills the live rows and, when both ends are given, runs the
    // range pass under the track lock ".Stat" and fills the track rows. The ends must
    // still be points of the main layer, from not after to: while a reader thread
    // records, prefer computeSelection.
    void compute(Track& track, const TrackPoint* from, const TrackPoint* to,
                 const StatisticsFormat& format);
    // selectRange and compute under one hold of the track lock (".Stat").
    void computeSelection(Track& track, const StatisticsFormat& format);

    const StatisticsResults& results() const { return results_; }
    const StatisticsRow& row(int index) const { return rows_[static_cast<std::size_t>(index)]; }
    StatisticsRow& row(int index) { return rows_[static_cast<std::size_t>(index)]; }
    // For the subsystems that own a row's value (navigation, maps, points, internet);
    // the text is cut to kMaxValueLength characters.
    void setValue(int index, std::u16string_view value);

    // The statistics screen's selected row, kept between showings; -1 for none.
    int selectedRow = -1;

private:
    // What the rows need of the main layer, read under the track lock.
    struct TrackFacts {
        bool withRange = false;
        int maxPoints = 0;
        int stabilizedCourse = 0;
    };

    static StatisticsRange selectRangeHeld(Track& track);
    TrackFacts passHeld(const Track& track, const TrackPoint* from, const TrackPoint* to,
                        const LiveValues& live);
    void fillRows(const LiveValues& live, const TrackFacts& facts, const StatisticsFormat& format);
    // Written apart from the track code (StatisticsRows.cpp), which only hands over
    // the two values of the main layer that the rows need.
    void fillLiveRows(const LiveValues& live, int stabilizedCourse, const StatisticsFormat& format);
    void fillTrackRows(int maxPoints, const StatisticsFormat& format);

    mutable std::mutex liveMutex_;
    LiveValues live_;
    double previousTime_ = 0.0;
    bool fedWindows_ = false;
    ClimbWindow climb_;
    ClimbWindow glide_;

    StatisticsResults results_;
    std::array<StatisticsRow, kRowCount> rows_;
};

}  // namespace wendra
