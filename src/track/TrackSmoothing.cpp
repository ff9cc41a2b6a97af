#include "track/TrackSmoothing.h"

#include <cmath>

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

struct Sums {
    float altitude = 0.0f;
    float altitudeWeight = 1.0f;
    float speed = 0.0f;
    float signal = 0.0f;
    float timeWeight = 1.0f;
};

// One side of the window: where it stands, how far it went, where the climb span ends.
struct Side {
    const TrackPoint* at;
    const TrackPoint* end;
    float distanceKm = 0.0f;
    bool endOpen = true;
};

void visit(const TrackPoint& centre, Side& side, int step, double windowSeconds, Sums& sums) {
    const TrackPoint& neighbour = *side.at;
    const double dt = std::fabs(centre.time - neighbour.time) * kSecondsPerDay;
    if (step == 0 || (side.endOpen && dt <= windowSeconds)) {
        side.end = &neighbour;
        side.endOpen = dt <= windowSeconds;
    } else {
        side.endOpen = false;
    }
    if (step % kCountEvery != 0) return;
    const float g = side.distanceKm / kAltitudeReachKm;
    const float wa = 1.0f / (1.0f + g * g * g * g);
    const float t = static_cast<float>(dt) / kTimeReachSeconds;
    const float wt = 1.0f / (1.0f + t * t);
    sums.altitude += wa * neighbour.altitude;
    sums.altitudeWeight += wa;
    sums.speed += wt * neighbour.speed;
    sums.signal += wt * neighbour.signal;
    sums.timeWeight += wt;
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
    const double minutes = (forward.end->time - back.end->time) * kMinutesPerDay;
    point.climbSpeed =
        minutes > kMinClimbMinutes
            ? static_cast<float>((forward.end->altitude - back.end->altitude) / minutes)
            : 0.0f;
}

void smoothAround(TrackPoint& point, int climbWindowSeconds) {
    smoothPoint(point, climbWindowSeconds);
    TrackPoint* back = &point;
    TrackPoint* forward = &point;
    for (int step = 0; step < kSmoothingReach && (back || forward); ++step) {
        if (back && (back = stepBack(*back))) smoothPoint(*back, climbWindowSeconds);
        if (forward && (forward = stepForward(*forward))) smoothPoint(*forward, climbWindowSeconds);
    }
}

void smoothLayer(TrackLayer& layer, int climbWindowSeconds) {
    for (TrackPoint* point = layer.first(); point; point = point->next)
        smoothPoint(*point, climbWindowSeconds);
}

}  // namespace wendra
