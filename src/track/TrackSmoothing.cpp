#include "track/TrackSmoothing.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <new>

#include "track/TrackLayer.h"
#include "track/TrackPoint.h"
#include "track/TrackUnits.h"

namespace wendra {

namespace {

constexpr int kCountEvery = 3;                  // only every third neighbour is weighed
constexpr float kAltitudeReachKm = 0.25f;       // altitude weight halves at this distance
constexpr float kTimeReachSeconds = 300.0f;     // speed and signal weight halves at this age
constexpr double kMinClimbMinutes = 0.0016667;  // 0.1 s: shorter spans give no climb speed

// The neighbours never cross a segment break in either direction.
TrackPoint* stepBack(const TrackPoint& point) {
    if (point.has(kSegmentStart) || !point.prev || point.prev->has(kSegmentEnd)) return nullptr;
    return point.prev;
}

TrackPoint* stepForward(const TrackPoint& point) {
    if (point.has(kSegmentEnd) || !point.next || point.next->has(kSegmentStart)) return nullptr;
    return point.next;
}

// The running sums of one point, and also one neighbour's share of them.
struct Sums {
    float altitude = 0.0f;
    float altitudeWeight = 1.0f;
    float speed = 0.0f;
    float signal = 0.0f;
    float timeWeight = 1.0f;
};

// Both ways of smoothing weigh a neighbour here and add its share with add(), so that
// they round alike to the last bit.
Sums shareOf(float distanceKm, double seconds, float altitude, float speed, float signal) {
    const float g = distanceKm / kAltitudeReachKm;
    const float wa = 1.0f / (1.0f + g * g * g * g);
    const float t = static_cast<float>(seconds) / kTimeReachSeconds;
    const float wt = 1.0f / (1.0f + t * t);
    return {wa * altitude, wa, wt * speed, wt * signal, wt};
}

void add(Sums& sums, const Sums& share) {
    sums.altitude += share.altitude;
    sums.altitudeWeight += share.altitudeWeight;
    sums.speed += share.speed;
    sums.signal += share.signal;
    sums.timeWeight += share.timeWeight;
}

double secondsBetween(double centreTime, double neighbourTime) {
    return std::fabs(centreTime - neighbourTime) * kSecondsPerDay;
}

float climbBetween(double backTime, float backAltitude, double forwardTime, float forwardAltitude) {
    const double minutes = (forwardTime - backTime) * kMinutesPerDay;
    return minutes > kMinClimbMinutes
               ? static_cast<float>((forwardAltitude - backAltitude) / minutes)
               : 0.0f;
}

// One side of the window: where it stands, how far it went, where the climb span ends.
struct Side {
    const TrackPoint* at;
    const TrackPoint* end;
    float distanceKm = 0.0f;
    bool endOpen = true;
};

void visit(const TrackPoint& centre, Side& side, int step, double windowSeconds, Sums& sums) {
    const TrackPoint& neighbour = *side.at;
    const double dt = secondsBetween(centre.time, neighbour.time);
    if (step == 0 || (side.endOpen && dt <= windowSeconds)) {
        side.end = &neighbour;
        side.endOpen = dt <= windowSeconds;
    } else {
        side.endOpen = false;
    }
    if (step % kCountEvery != 0) return;
    add(sums, shareOf(side.distanceKm, dt, neighbour.altitude, neighbour.speed, neighbour.signal));
}

void smoothAroundPlain(TrackPoint& point, int climbWindowSeconds) {
    smoothPoint(point, climbWindowSeconds);
    TrackPoint* back = &point;
    TrackPoint* forward = &point;
    for (int step = 0; step < kSmoothingReach && (back || forward); ++step) {
        if (back && (back = stepBack(*back))) smoothPoint(*back, climbWindowSeconds);
        if (forward && (forward = stepForward(*forward))) smoothPoint(*forward, climbWindowSeconds);
    }
}

}  // namespace

void smoothPoint(TrackPoint& point, int climbWindowSeconds) {
    Sums sums{point.altitude, 1.0f, point.speed, point.signal, 1.0f};
    Side back{&point, &point};
    Side forward{&point, &point};
    bool backGoing = true;
    bool forwardGoing = true;
    for (int step = 0; step < kSmoothingReach && (backGoing || forwardGoing); ++step) {
        if (backGoing) {
            const TrackPoint* prev = stepBack(*back.at);
            backGoing = prev != nullptr;
            if (backGoing) {
                back.at = prev;
                back.distanceKm += prev->distNextKm;
                visit(point, back, step, climbWindowSeconds, sums);
            }
        }
        if (forwardGoing) {
            const TrackPoint* next = stepForward(*forward.at);
            forwardGoing = next != nullptr;
            if (forwardGoing) {
                forward.distanceKm += forward.at->distNextKm;
                forward.at = next;
                visit(point, forward, step, climbWindowSeconds, sums);
            }
        }
    }
    point.smoothAltitude = sums.altitude / sums.altitudeWeight;
    point.smoothSpeed = sums.speed / sums.timeWeight;
    point.smoothSignal = sums.signal / sums.timeWeight;
    point.climbSpeed =
        climbBetween(back.end->time, back.end->altitude, forward.end->time, forward.end->altitude);
}

namespace {

// Smoothing around the last point of a layer, one fix after another, the way
// recording does it. A new or changed point reaches the sums of an earlier point Q
// only from the step where Q's walk meets it on; the steps before it and Q's
// backward neighbours stay as they were. So each smoothed point (a centre) keeps its
// backward shares and its sums before every weighed step, and a call recomputes only
// from the first step whose point changed: a weighed step (every third) changes the
// sums, any step in the climb window the climb speed. Every value read is compared
// with the previous call, point by point, so changes made in between by anyone
// (thinning, editing, a refreshed duplicate fix) are seen too.
constexpr int kReach = kSmoothingReach;
constexpr int kCentres = kReach + 1;
constexpr int kSpan = 2 * kReach + 1;  // the last point and all its centres can reach
constexpr int kLookAhead = 8;          // deleted points a match looks past
constexpr int kNone = -1;

// How many of the first `steps` steps are weighed.
constexpr int weighedSteps(int steps) {
    return (steps + kCountEvery - 1) / kCountEvery;
}
constexpr int kWeighedSteps = weighedSteps(kReach);

// What smoothing reads of one point. The values the sums use lie together, so that one
// comparison of their bits tells whether they changed.
struct Entry {
    std::uintptr_t id;  // the point it was read from
    double time;
    float altitude;
    float speed;
    float signal;
    float distanceKm;  // to the next point: walked leaving it ahead, or arriving behind
};
constexpr std::size_t kValuesOffset = offsetof(Entry, time);
constexpr std::size_t kValuesSize = offsetof(Entry, distanceKm) - kValuesOffset;
static_assert(kValuesSize == sizeof(double) + 3 * sizeof(float), "no padding among values");
static_assert(sizeof(Entry) == kValuesOffset + kValuesSize + sizeof(float), "no padding at all");

bool sameValues(const Entry& a, const Entry& b) {
    return std::memcmp(reinterpret_cast<const char*>(&a) + kValuesOffset,
                       reinterpret_cast<const char*>(&b) + kValuesOffset, kValuesSize) == 0;
}

bool sameDistance(const Entry& a, const Entry& b) {
    return std::bit_cast<std::uint32_t>(a.distanceKm) == std::bit_cast<std::uint32_t>(b.distanceKm);
}

// The last point (index 0) and the points behind it in its segment, as one call read
// them; point is valid during the call only.
struct Walk {
    int count = 0;
    std::array<TrackPoint*, kSpan> point{};
    std::array<Entry, kSpan> entry{};
};

// The running values of one centre's last computation, kept apart from its Centre so
// that the centres a call only looks at stay together in the cache.
struct Shares {
    std::array<Sums, kWeighedSteps> behind{};
    // Sums before weighed step k, both sides, for k up to the weighed steps ahead.
    std::array<Sums, kWeighedSteps + 1> before{};
    std::array<float, kReach> forwardKm{};  // distance walked at each step ahead
};

// What the last computation of one centre leaves for the next.
struct Centre {
    int back = kNone;     // neighbours behind
    int forward = 0;      // neighbours ahead
    int backEnd = kNone;  // step of the climb span's end behind; kNone: the centre itself
    int forwardRun = 0;   // leading steps ahead that lie within the climb window
    float smoothAltitude = 0.0f;
    float smoothSpeed = 0.0f;
    float smoothSignal = 0.0f;
    float climbSpeed = 0.0f;
    Shares* shares = nullptr;
};

class SmoothingMemo {
public:
    SmoothingMemo() {
        for (std::size_t slot = 0; slot < centres_.size(); ++slot)
            centres_[slot].shares = &shares_[slot];
    }
    SmoothingMemo(const SmoothingMemo&) = delete;
    SmoothingMemo& operator=(const SmoothingMemo&) = delete;

    // False, having touched nothing, when the point is not the last of a well-linked
    // layer: the caller smooths plainly.
    bool smoothAroundLast(TrackPoint& last, int climbWindowSeconds);

private:
    static bool capture(TrackPoint& last, Walk& walk);
    void match(const Walk& walk, const Walk& previous, bool comparable);
    bool linkBroken(const Walk& walk, int j) const;
    bool knownCentre(int c) const;
    int reusableFrom(const Walk& walk, int c, int lastTroubleAhead, int nextTroubleBehind) const;
    void computeAfresh(const Walk& walk, int c, Centre& centre) const;
    void resume(const Walk& walk, int c, int from, Centre& centre) const;
    void extendForward(const Walk& walk, int c, int from, Centre& centre) const;
    static void fold(const Walk& walk, int c, int k, Centre& centre);
    static void finishClimb(const Walk& walk, int c, Centre& centre);

    std::uintptr_t layer_ = 0;
    int climbWindow_ = 0;
    double windowSeconds_ = 0.0;
    int previous_ = 0;     // walks_[previous_] is the previous call's walk
    int centreCount_ = 0;  // centres the previous call left up to date
    std::array<Walk, 2> walks_;
    std::array<Centre, kCentres> centres_;
    std::array<Shares, kCentres> shares_;
    std::array<int, kCentres> slot_{};  // where centre c of the previous call is kept
    std::array<int, kCentres> newSlot_{};
    std::array<bool, kCentres> taken_{};
    // Per entry of this call's walk: its entry in the previous walk, and whether its
    // values or its distance to the next point differ from there.
    std::array<int, kSpan> matched_{};
    std::array<bool, kSpan> valueChanged_{};
    std::array<bool, kSpan> distanceChanged_{};
    // Entries, in order and ending with kSpan, that a walk behind finds changed: their
    // values or distance differ, or the link that reaches them joins other points.
    std::array<int, kSpan + 1> troubleBehind_{};
};

bool SmoothingMemo::smoothAroundLast(TrackPoint& last, int climbWindowSeconds) {
    Walk& walk = walks_[previous_ ^ 1];
    const Walk& previous = walks_[previous_];
    if (!capture(last, walk)) return false;
    const auto layer = reinterpret_cast<std::uintptr_t>(last.layer());
    match(walk, previous, layer == layer_ && climbWindowSeconds == climbWindow_);
    windowSeconds_ = climbWindowSeconds;
    const int centres = std::min(kReach, walk.count - 1) + 1;
    // A centre keeps the slot of the centre it was; the others take slots nobody keeps.
    taken_.fill(false);
    for (int c = 0; c < centres; ++c)
        if (knownCentre(c)) taken_[slot_[matched_[c]]] = true;
    int free = 0;
    int lastTroubleAhead = kNone;
    const int* troubleBehind = troubleBehind_.data();
    for (int c = 0; c < centres; ++c) {
        while (*troubleBehind <= c) ++troubleBehind;
        const int from = reusableFrom(walk, c, lastTroubleAhead, *troubleBehind);
        if (knownCentre(c)) {
            newSlot_[c] = slot_[matched_[c]];
        } else {
            while (taken_[free]) ++free;
            newSlot_[c] = free++;
        }
        Centre& memo = centres_[newSlot_[c]];
        if (from == kNone)
            computeAfresh(walk, c, memo);
        else if (from < std::max(c, memo.forward))
            resume(walk, c, from, memo);
        TrackPoint& point = *walk.point[c];
        point.smoothAltitude = memo.smoothAltitude;
        point.smoothSpeed = memo.smoothSpeed;
        point.smoothSignal = memo.smoothSignal;
        point.climbSpeed = memo.climbSpeed;
        const bool distanceAhead = c + 1 < walk.count && distanceChanged_[c + 1];
        if (valueChanged_[c] || linkBroken(walk, c) || distanceAhead) lastTroubleAhead = c;
    }
    slot_ = newSlot_;
    centreCount_ = centres;
    layer_ = layer;
    climbWindow_ = climbWindowSeconds;
    previous_ ^= 1;
    return true;
}

bool SmoothingMemo::capture(TrackPoint& last, Walk& walk) {
    if (last.next) return false;
    TrackPoint* point = &last;
    for (int j = 0;; ++j) {
        walk.point[j] = point;
        walk.entry[j] = {reinterpret_cast<std::uintptr_t>(point),
                         point->time,
                         point->altitude,
                         point->speed,
                         point->signal,
                         point->distNextKm};
        TrackPoint* older = j + 1 < kSpan ? stepBack(*point) : nullptr;
        if (!older) {
            walk.count = j + 1;
            return true;
        }
        // The walk ahead follows next links: they must lead back here.
        if (older->next != point) return false;
        point = older;
    }
}

// Points keep their order; new ones come in front, thinning deletes a few. A point
// found again at a new address, or a new one at a freed address, only costs work:
// reuse rests on equal values, not on identity.
void SmoothingMemo::match(const Walk& walk, const Walk& previous, bool comparable) {
    int troubles = 0;
    int from = 0;
    const int searched = comparable ? previous.count : 0;
    for (int j = 0; j < walk.count; ++j) {
        const Entry& now = walk.entry[j];
        int found = kNone;
        bool changed = false;
        // Mostly the point that followed the last one found, unchanged.
        if (from < searched && std::memcmp(&now, &previous.entry[from], sizeof(Entry)) == 0) {
            found = from;
            valueChanged_[j] = distanceChanged_[j] = false;
        } else {
            for (int k = from; k < std::min(searched, from + kLookAhead); ++k) {
                if (previous.entry[k].id == now.id) {
                    found = k;
                    break;
                }
            }
            valueChanged_[j] = found == kNone || !sameValues(now, previous.entry[found]);
            distanceChanged_[j] = found == kNone || !sameDistance(now, previous.entry[found]);
            changed = valueChanged_[j] || distanceChanged_[j];
        }
        const bool newLink =
            j > 0 && (found == kNone || matched_[j - 1] == kNone || matched_[j - 1] + 1 != found);
        if (j > 0 && (changed || newLink)) troubleBehind_[troubles++] = j;
        matched_[j] = found;
        if (found != kNone) from = found + 1;
    }
    troubleBehind_[troubles] = kSpan;
}

// Whether the link from entry j to the one behind it joins other points than before.
bool SmoothingMemo::linkBroken(const Walk& walk, int j) const {
    return j + 1 >= walk.count || matched_[j] == kNone || matched_[j + 1] != matched_[j] + 1;
}

// Whether centre c stands where a centre of the previous call stood.
bool SmoothingMemo::knownCentre(int c) const {
    return matched_[c] != kNone && matched_[c] < centreCount_;
}

// kNone when centre c must be computed afresh, else the first step ahead that differs
// from its memo. lastTroubleAhead is the newest entry behind c that a walk ahead
// cannot take as it was: changed values, a new link, or a changed distance to it;
// nextTroubleBehind the first entry behind c that a walk behind cannot.
int SmoothingMemo::reusableFrom(const Walk& walk, int c, int lastTroubleAhead,
                                int nextTroubleBehind) const {
    if (!knownCentre(c) || valueChanged_[c]) return kNone;
    const Centre& memo = centres_[slot_[matched_[c]]];
    const int back = std::min(kReach, walk.count - 1 - c);
    if (memo.back != back || nextTroubleBehind <= c + back) return kNone;
    int from = std::min(c, memo.forward);
    if (lastTroubleAhead != kNone) from = std::min(from, c - 1 - lastTroubleAhead);
    return from;
}

void SmoothingMemo::computeAfresh(const Walk& walk, int c, Centre& centre) const {
    centre.back = std::min(kReach, walk.count - 1 - c);
    centre.backEnd = kNone;
    const Entry& at = walk.entry[c];
    float km = 0.0f;
    bool endOpen = true;
    for (int step = 0; step < centre.back; ++step) {
        const Entry& behind = walk.entry[c + 1 + step];
        km += behind.distanceKm;
        const bool weighed = step % kCountEvery == 0;
        if (!weighed && !endOpen) continue;
        const double dt = secondsBetween(at.time, behind.time);
        if (step == 0 || (endOpen && dt <= windowSeconds_)) {
            centre.backEnd = step;
            endOpen = dt <= windowSeconds_;
        } else {
            endOpen = false;
        }
        if (weighed)
            centre.shares->behind[step / kCountEvery] =
                shareOf(km, dt, behind.altitude, behind.speed, behind.signal);
    }
    centre.forward = c;
    centre.forwardRun = 0;
    extendForward(walk, c, 0, centre);
    centre.shares->before[0] = Sums{at.altitude, 1.0f, at.speed, at.signal, 1.0f};
    fold(walk, c, 0, centre);
    finishClimb(walk, c, centre);
}

// Steps ahead before `from` are as the memo has them; the ones from there on are not.
void SmoothingMemo::resume(const Walk& walk, int c, int from, Centre& centre) const {
    const int oldForward = centre.forward;
    const int oldRun = centre.forwardRun;
    centre.forward = c;
    extendForward(walk, c, from, centre);
    const int k = (from + kCountEvery - 1) / kCountEvery;
    // Steps that are not weighed leave the sums as they were.
    if (k * kCountEvery < std::max(c, oldForward)) fold(walk, c, k, centre);
    // A climb span that ended before `from` ended on an unchanged point.
    if (from <= oldRun) finishClimb(walk, c, centre);
}

void SmoothingMemo::extendForward(const Walk& walk, int c, int from, Centre& centre) const {
    float km = from == 0 ? 0.0f : centre.shares->forwardKm[from - 1];
    for (int step = from; step < centre.forward; ++step) {
        km += walk.entry[c - step].distanceKm;
        centre.shares->forwardKm[step] = km;
    }
    if (from > centre.forwardRun) return;
    const double centreTime = walk.entry[c].time;
    int run = from;
    while (run < centre.forward &&
           secondsBetween(centreTime, walk.entry[c - 1 - run].time) <= windowSeconds_)
        ++run;
    centre.forwardRun = run;
}

// Sums before a weighed step are kept only as far as the steps ahead reach: a later
// call resumes at a step ahead that this one walked, never beyond.
void SmoothingMemo::fold(const Walk& walk, int c, int k, Centre& centre) {
    const double centreTime = walk.entry[c].time;
    const int weighedAhead = weighedSteps(centre.forward);
    const int weighedBehind = weighedSteps(centre.back);
    Sums sums = centre.shares->before[k];
    for (; k < weighedAhead; ++k) {
        if (k < weighedBehind) add(sums, centre.shares->behind[k]);
        const int step = k * kCountEvery;
        const Entry& ahead = walk.entry[c - 1 - step];
        add(sums, shareOf(centre.shares->forwardKm[step], secondsBetween(centreTime, ahead.time),
                          ahead.altitude, ahead.speed, ahead.signal));
        centre.shares->before[k + 1] = sums;
    }
    for (; k < weighedBehind; ++k) add(sums, centre.shares->behind[k]);
    centre.smoothAltitude = sums.altitude / sums.altitudeWeight;
    centre.smoothSpeed = sums.speed / sums.timeWeight;
    centre.smoothSignal = sums.signal / sums.timeWeight;
}

void SmoothingMemo::finishClimb(const Walk& walk, int c, Centre& centre) {
    // The first step ahead ends the span even outside the window.
    const int ahead = centre.forward > 0 ? c - std::max(centre.forwardRun, 1) : c;
    const int behind = centre.backEnd == kNone ? c : c + 1 + centre.backEnd;
    const Entry& from = walk.entry[behind];
    const Entry& to = walk.entry[ahead];
    centre.climbSpeed = climbBetween(from.time, from.altitude, to.time, to.altitude);
}

thread_local bool incrementalSmoothing = true;

// Per thread, so that no lock is needed beyond the track lock the caller holds; it
// only ever speeds up the next call, whatever happened to the points in between.
SmoothingMemo* threadMemo() {
    thread_local const std::unique_ptr<SmoothingMemo> memo(new (std::nothrow) SmoothingMemo);
    return memo.get();
}

}  // namespace

void smoothAround(TrackPoint& point, int climbWindowSeconds) {
    if (incrementalSmoothing) {
        SmoothingMemo* memo = threadMemo();
        if (memo && memo->smoothAroundLast(point, climbWindowSeconds)) return;
    }
    smoothAroundPlain(point, climbWindowSeconds);
}

void smoothLayer(TrackLayer& layer, int climbWindowSeconds) {
    for (TrackPoint* point = layer.first(); point; point = point->next)
        smoothPoint(*point, climbWindowSeconds);
}

void setIncrementalSmoothing(bool enabled) {
    incrementalSmoothing = enabled;
}

}  // namespace wendra
