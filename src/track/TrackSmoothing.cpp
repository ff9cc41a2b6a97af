#include "track/TrackSmoothing.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
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
// recording does it. A new or changed last point reaches the sums of an earlier point
// Q only at the step where Q's walk meets it, and only when that step is weighed
// (every third) or may end Q's climb span; the steps before it and Q's backward
// neighbours stay as they were. So each centre keeps its backward shares and its
// sums before every weighed step, and a call recomputes only from the first step
// whose point changed. Every input is compared with the previous call, so changes
// made behind our back (thinning, editing, a refreshed duplicate fix) are seen too.
constexpr int kReach = kSmoothingReach;
constexpr int kWeighedSteps = (kReach + kCountEvery - 1) / kCountEvery;
constexpr int kSpan = 2 * kReach + 1;  // the last point and all its centres can reach
constexpr int kSlots = 128;            // ring of centres; a call shifts it by at most one
constexpr int kNone = -1;
constexpr int kFar = kSpan + 1;

template <typename T>
bool sameBits(T a, T b) {
    if constexpr (sizeof(T) == 8)
        return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
    else
        return std::bit_cast<std::uint32_t>(a) == std::bit_cast<std::uint32_t>(b);
}

// The last point (index 0) and the points behind it in its segment, as one call read
// them. id remembers which point an entry came from; point is valid during the call.
struct Walk {
    int count = 0;
    std::array<TrackPoint*, kSpan> point{};
    std::array<std::uintptr_t, kSpan> id{};
    std::array<double, kSpan> time{};
    std::array<float, kSpan> altitude{};
    std::array<float, kSpan> speed{};
    std::array<float, kSpan> signal{};
    std::array<float, kSpan> distanceKm{};
};

// What the last computation of one smoothed point (a centre) leaves for the next.
struct Centre {
    int back = kNone;     // neighbours behind
    int forward = 0;      // neighbours ahead
    int backEnd = kNone;  // step of the climb span's end behind; kNone: the centre itself
    int forwardRun = 0;   // leading steps ahead that lie within the climb window
    std::array<Sums, kWeighedSteps> backShare{};
    std::array<Sums, kWeighedSteps + 1> before{};  // sums before weighed step k, both sides
    std::array<float, kReach> forwardKm{};         // distance walked at each step ahead
    float smoothAltitude = 0.0f;
    float smoothSpeed = 0.0f;
    float smoothSignal = 0.0f;
    float climbSpeed = 0.0f;
};

class SmoothingMemo {
public:
    // False, having touched nothing, when the point is not the last of a well-linked
    // layer: the caller smooths plainly.
    bool smoothAroundLast(TrackPoint& last, int climbWindowSeconds);

private:
    static bool capture(TrackPoint& last, Walk& walk);
    void markChanges(const Walk& walk, const Walk& previous, int shift);
    void computeAfresh(const Walk& walk, int c, int back, Centre& centre) const;
    void resume(const Walk& walk, int c, int from, Centre& centre) const;
    void extendForward(const Walk& walk, int c, int from, Centre& centre) const;
    static void fold(const Walk& walk, int c, int k, Centre& centre);
    static void finishClimb(const Walk& walk, int c, Centre& centre);
    Centre& centre(int c) { return centres_[static_cast<std::size_t>((head_ + c) % kSlots)]; }

    std::uintptr_t layer_ = 0;
    int climbWindow_ = 0;
    double windowSeconds_ = 0.0;
    int centreCount_ = 0;  // centres the previous call left up to date
    int head_ = 0;         // slot of centre 0
    int previous_ = 0;     // walks_[previous_] is the previous call's walk
    std::array<Walk, 2> walks_;
    std::array<bool, kSpan> valueChanged_{};
    std::array<bool, kSpan> distanceChanged_{};
    std::array<int, kSpan + 1> nextChange_{};
    std::array<Centre, kSlots> centres_;
};

bool SmoothingMemo::smoothAroundLast(TrackPoint& last, int climbWindowSeconds) {
    Walk& walk = walks_[static_cast<std::size_t>(previous_ ^ 1)];
    if (!capture(last, walk)) return false;
    const Walk& previous = walks_[static_cast<std::size_t>(previous_)];
    const auto layer = reinterpret_cast<std::uintptr_t>(last.layer());
    // An appended point moves everything one step back; a refreshed one moves nothing.
    int shift = kNone;
    if (layer == layer_ && climbWindowSeconds == climbWindow_ && previous.count > 0) {
        if (walk.count > 1 && walk.id[1] == previous.id[0])
            shift = 1;
        else if (walk.id[0] == previous.id[0])
            shift = 0;
    }
    markChanges(walk, previous, shift);
    if (shift == 1) head_ = (head_ + kSlots - 1) % kSlots;
    windowSeconds_ = climbWindowSeconds;
    const int centres = std::min(kReach, walk.count - 1) + 1;
    int lastValueChange = kNone;
    int lastDistanceChange = kNone;
    for (int c = 0; c < centres; ++c) {
        const auto at = static_cast<std::size_t>(c);
        if (distanceChanged_[at]) lastDistanceChange = c;
        Centre& memo = centre(c);
        const int back = std::min(kReach, walk.count - 1 - c);
        const bool known = shift != kNone && c - shift >= 0 && c - shift < centreCount_;
        if (!known || valueChanged_[at] || memo.back != back || nextChange_[at + 1] <= c + back) {
            computeAfresh(walk, c, back, memo);
        } else {
            // The first step ahead whose point, or the distance to it, changed.
            int from = std::min(c, memo.forward);
            if (lastValueChange != kNone) from = std::min(from, c - 1 - lastValueChange);
            if (lastDistanceChange != kNone) from = std::min(from, c - lastDistanceChange);
            if (from < std::max(c, memo.forward)) resume(walk, c, from, memo);
        }
        if (valueChanged_[at]) lastValueChange = c;
        TrackPoint& point = *walk.point[at];
        point.smoothAltitude = memo.smoothAltitude;
        point.smoothSpeed = memo.smoothSpeed;
        point.smoothSignal = memo.smoothSignal;
        point.climbSpeed = memo.climbSpeed;
    }
    centreCount_ = centres;
    layer_ = layer;
    climbWindow_ = climbWindowSeconds;
    previous_ ^= 1;
    return true;
}

bool SmoothingMemo::capture(TrackPoint& last, Walk& walk) {
    if (last.next) return false;
    TrackPoint* point = &last;
    for (std::size_t j = 0;; ++j) {
        walk.point[j] = point;
        walk.id[j] = reinterpret_cast<std::uintptr_t>(point);
        walk.time[j] = point->time;
        walk.altitude[j] = point->altitude;
        walk.speed[j] = point->speed;
        walk.signal[j] = point->signal;
        walk.distanceKm[j] = point->distNextKm;
        TrackPoint* older = j + 1 < kSpan ? stepBack(*point) : nullptr;
        if (!older) {
            walk.count = static_cast<int>(j) + 1;
            return true;
        }
        // The walk ahead follows next links: they must lead back here.
        if (older->next != point) return false;
        point = older;
    }
}

void SmoothingMemo::markChanges(const Walk& walk, const Walk& previous, int shift) {
    for (int j = 0; j < walk.count; ++j) {
        const auto now = static_cast<std::size_t>(j);
        const auto then = static_cast<std::size_t>(j - shift);
        const bool known = shift != kNone && j - shift >= 0 && j - shift < previous.count;
        valueChanged_[now] = !known || walk.id[now] != previous.id[then] ||
                             !sameBits(walk.time[now], previous.time[then]) ||
                             !sameBits(walk.altitude[now], previous.altitude[then]) ||
                             !sameBits(walk.speed[now], previous.speed[then]) ||
                             !sameBits(walk.signal[now], previous.signal[then]);
        distanceChanged_[now] =
            !known || !sameBits(walk.distanceKm[now], previous.distanceKm[then]);
    }
    int next = kFar;
    nextChange_[static_cast<std::size_t>(walk.count)] = next;
    for (int j = walk.count - 1; j >= 0; --j) {
        const auto at = static_cast<std::size_t>(j);
        if (valueChanged_[at] || distanceChanged_[at]) next = j;
        nextChange_[at] = next;
    }
}

void SmoothingMemo::computeAfresh(const Walk& walk, int c, int back, Centre& centre) const {
    centre.back = back;
    centre.backEnd = kNone;
    const auto at = static_cast<std::size_t>(c);
    float km = 0.0f;
    bool endOpen = true;
    for (int step = 0; step < back; ++step) {
        const auto j = static_cast<std::size_t>(c + 1 + step);
        km += walk.distanceKm[j];
        const bool weighed = step % kCountEvery == 0;
        if (!weighed && !endOpen) continue;
        const double dt = secondsBetween(walk.time[at], walk.time[j]);
        if (step == 0 || (endOpen && dt <= windowSeconds_)) {
            centre.backEnd = step;
            endOpen = dt <= windowSeconds_;
        } else {
            endOpen = false;
        }
        if (weighed)
            centre.backShare[static_cast<std::size_t>(step / kCountEvery)] =
                shareOf(km, dt, walk.altitude[j], walk.speed[j], walk.signal[j]);
    }
    centre.forward = c;
    centre.forwardRun = 0;
    extendForward(walk, c, 0, centre);
    centre.before[0] = Sums{walk.altitude[at], 1.0f, walk.speed[at], walk.signal[at], 1.0f};
    fold(walk, c, 0, centre);
    finishClimb(walk, c, centre);
}

// Steps ahead before `from` are as the memo has them; the ones from there on are not.
void SmoothingMemo::resume(const Walk& walk, int c, int from, Centre& centre) const {
    const int oldForward = centre.forward;
    centre.forward = c;
    extendForward(walk, c, from, centre);
    const int k = (from + kCountEvery - 1) / kCountEvery;
    // Steps that are not weighed leave the sums as they were.
    if (k * kCountEvery < std::max(c, oldForward)) fold(walk, c, k, centre);
    finishClimb(walk, c, centre);
}

void SmoothingMemo::extendForward(const Walk& walk, int c, int from, Centre& centre) const {
    float km = from == 0 ? 0.0f : centre.forwardKm[static_cast<std::size_t>(from - 1)];
    for (int step = from; step < centre.forward; ++step) {
        km += walk.distanceKm[static_cast<std::size_t>(c - step)];
        centre.forwardKm[static_cast<std::size_t>(step)] = km;
    }
    // A run that ended before `from` ended on an unchanged point.
    if (from > centre.forwardRun) return;
    const double centreTime = walk.time[static_cast<std::size_t>(c)];
    int run = from;
    while (run < centre.forward &&
           secondsBetween(centreTime, walk.time[static_cast<std::size_t>(c - 1 - run)]) <=
               windowSeconds_)
        ++run;
    centre.forwardRun = run;
}

void SmoothingMemo::fold(const Walk& walk, int c, int k, Centre& centre) {
    const auto at = static_cast<std::size_t>(c);
    Sums sums = centre.before[static_cast<std::size_t>(k)];
    for (; k < kWeighedSteps; ++k) {
        const int step = k * kCountEvery;
        const auto weighed = static_cast<std::size_t>(k);
        if (step < centre.back) add(sums, centre.backShare[weighed]);
        if (step < centre.forward) {
            const auto j = static_cast<std::size_t>(c - 1 - step);
            add(sums, shareOf(centre.forwardKm[static_cast<std::size_t>(step)],
                              secondsBetween(walk.time[at], walk.time[j]), walk.altitude[j],
                              walk.speed[j], walk.signal[j]));
        }
        centre.before[weighed + 1] = sums;
    }
    centre.smoothAltitude = sums.altitude / sums.altitudeWeight;
    centre.smoothSpeed = sums.speed / sums.timeWeight;
    centre.smoothSignal = sums.signal / sums.timeWeight;
}

void SmoothingMemo::finishClimb(const Walk& walk, int c, Centre& centre) {
    // The first step ahead ends the span even outside the window.
    const auto ahead =
        static_cast<std::size_t>(centre.forward > 0 ? c - std::max(centre.forwardRun, 1) : c);
    const auto behind =
        static_cast<std::size_t>(centre.backEnd == kNone ? c : c + 1 + centre.backEnd);
    centre.climbSpeed = climbBetween(walk.time[behind], walk.altitude[behind], walk.time[ahead],
                                     walk.altitude[ahead]);
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
