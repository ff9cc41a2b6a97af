#pragma once
// Smoothed altitude, speed and signal and the climb speed of a point, from up to 100
// neighbours on each side that lie in the same segment (every third one counts).
// The caller holds the track lock.

namespace wendra {

class TrackPoint;
class TrackLayer;

constexpr int kSmoothingReach = 100;

// climbWindowSeconds bounds the span over which the climb speed is measured.
void smoothPoint(TrackPoint& point, int climbWindowSeconds);
// The point and up to 100 points on each side, not across segment breaks. When the
// point is the last of its layer, the thread reuses what its previous call computed
// for the points whose neighbours did not change; the results are the same bits as
// smoothing every one of them afresh.
void smoothAround(TrackPoint& point, int climbWindowSeconds);
void smoothLayer(TrackLayer& layer, int climbWindowSeconds);

// On by default, per thread. Off, smoothAround smooths every point afresh by walking
// its neighbours: the slow way, kept to compare against.
void setIncrementalSmoothing(bool enabled);

}  // namespace wendra
