#include "track/TrackStatistics.h"

#include "track/Track.h"
#include "track/TrackPoint.h"

namespace wendra {

namespace {

constexpr double kDegreesPerHalfTurn = 180.0;

// A selection the editing code would act on: both ends placed on different points.
bool usableSelection(const TrackSelection& s) {
    return s.cursorPlaced && s.anchorPlaced && s.cursor && s.anchor &&
           s.cursor->index != s.anchor->index;
}

}  // namespace

TrackStatistics::TrackStatistics(int climbWindow)
    : climb_(climbWindow, ClimbWindow::Kind::Climb), glide_(climbWindow, ClimbWindow::Kind::Glide) {
    for (int i = 0; i < kRowCount; ++i) {
        rows_[static_cast<std::size_t>(i)].label = statisticsLabel(i);
        rows_[static_cast<std::size_t>(i)].exported = statisticsRowExported(i);
    }
}

void TrackStatistics::liveUpdate(const Fix& fix) {
    std::lock_guard<std::mutex> lock(liveMutex_);
    live_.fix = fix;
    live_.known = true;
    // The interval is measured from the last fix that fed the windows, so that a
    // receiver sending every 0.5 s feeds every other fix rather than none. A clock
    // set back restarts the measure.
    fedWindows_ = fix.time - previousTime_ > kMinLiveInterval;
    if (fedWindows_ || fix.time < previousTime_) previousTime_ = fix.time;
    if (!fedWindows_) return;
    const double lon = fix.longitude / kDegreesPerHalfTurn;
    const double lat = fix.latitude / kDegreesPerHalfTurn;
    climb_.add(lon, lat, fix.time, fix.altitude);
    glide_.add(lon, lat, fix.time, fix.altitude);
    live_.climbSpeed = climb_.climbSpeed();
    live_.glideRatio = glide_.glideRatio();
}

float TrackStatistics::liveClimbSpeed() const {
    std::lock_guard<std::mutex> lock(liveMutex_);
    return live_.climbSpeed;
}

float TrackStatistics::liveGlideRatio() const {
    std::lock_guard<std::mutex> lock(liveMutex_);
    return live_.glideRatio;
}

bool TrackStatistics::lastFixFedWindows() const {
    std::lock_guard<std::mutex> lock(liveMutex_);
    return fedWindows_;
}

LiveValues TrackStatistics::live() const {
    std::lock_guard<std::mutex> lock(liveMutex_);
    return live_;
}

void TrackStatistics::setClimbWindow(int entries) {
    std::lock_guard<std::mutex> lock(liveMutex_);
    climb_.reallocate(entries);
    glide_.reallocate(entries);
    live_.climbSpeed = 0.0f;
    live_.glideRatio = 0.0f;
}

StatisticsRange TrackStatistics::selectRange(Track& track) {
    TrackLock::Hold hold(track.lock(), u".Len");
    return selectRangeHeld(track);
}

StatisticsRange TrackStatistics::selectRangeHeld(Track& track) {
    track.cumulativeValuesHeld();
    const TrackLayer& layer = track.main();
    StatisticsRange range{layer.first(), layer.last()};
    if (usableSelection(layer.selection)) {
        range = {layer.selection.cursor, layer.selection.anchor};
        if (range.to->index < range.from->index) std::swap(range.from, range.to);
    }
    return range;
}

void TrackStatistics::compute(Track& track, const TrackPoint* from, const TrackPoint* to,
                              const StatisticsFormat& format) {
    const LiveValues live = this->live();
    TrackFacts facts;
    {
        TrackLock::Hold hold(track.lock(), u".Stat");
        facts = passHeld(track, from, to, live);
    }
    fillRows(live, facts, format);
}

void TrackStatistics::computeSelection(Track& track, const StatisticsFormat& format) {
    const LiveValues live = this->live();
    TrackFacts facts;
    {
        // One hold for both steps: the ends cannot be thinned away in between.
        TrackLock::Hold hold(track.lock(), u".Stat");
        const StatisticsRange range = selectRangeHeld(track);
        facts = passHeld(track, range.from, range.to, live);
    }
    fillRows(live, facts, format);
}

TrackStatistics::TrackFacts TrackStatistics::passHeld(const Track& track, const TrackPoint* from,
                                                      const TrackPoint* to,
                                                      const LiveValues& live) {
    const TrackSettings& settings = track.settings;
    TrackFacts facts;
    facts.withRange = from != nullptr && to != nullptr;
    facts.maxPoints = settings.maxPoints(Track::kMainLayer);
    facts.stabilizedCourse = live.fix.course;
    // While recording, the last point's heading is the course averaged over the fixes
    // merged into it.
    const TrackPoint* last = track.layer(Track::kMainLayer).last();
    if (settings.recordTrack && last) facts.stabilizedCourse = last->heading;
    const StatisticsRangeOptions options{settings.joinFarPoints, live.climbSpeed, live.glideRatio};
    results_ = facts.withRange ? passRange(*from, *to, options) : StatisticsResults{};
    results_.climbSpeed = live.climbSpeed;
    results_.glideRatio = live.glideRatio;
    results_.slope = slopeFromGlideRatio(live.glideRatio);
    return facts;
}

void TrackStatistics::fillRows(const LiveValues& live, const TrackFacts& facts,
                               const StatisticsFormat& format) {
    for (StatisticsRow& row : rows_) row.value.clear();
    fillLiveRows(live, facts.stabilizedCourse, format);
    if (facts.withRange) fillTrackRows(facts.maxPoints, format);
}

void TrackStatistics::setValue(int index, std::u16string_view value) {
    if (index < 0 || index >= kRowCount) return;
    rows_[static_cast<std::size_t>(index)].value.assign(value.substr(0, kMaxValueLength));
}

}  // namespace wendra
