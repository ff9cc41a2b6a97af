#pragma once
// One recorded position of a track layer, with its derived geometry, smoothed values
// and cached cumulative values. Points live in exactly one layer's list; deleting a
// point unlinks it from that layer (see ~TrackPoint). Values are not range-checked
// here: setPointValues normalises them.

#include <cstdint>

namespace wendra {

class TrackLayer;

// Bits of TrackPoint::flags.
enum TrackPointFlag : std::uint32_t {
    kSegmentEnd = 1u << 0,     // no line to the next point
    kSegmentStart = 1u << 1,   // no line from the previous point
    kDistanceDirty = 1u << 3,  // distNext changed: later cumulative values are stale
};
constexpr std::uint32_t kSegmentFlags = kSegmentEnd | kSegmentStart;

class TrackPoint {
public:
    // A point not yet in any layer; TrackLayer::insertAfter links it.
    TrackPoint() = default;
    // Unlinks: joins the neighbours, decrements the layer's count, moves a selection
    // end that points here to the previous point (else the next), and drops the
    // layer's references to it (first, last, thinning cursor, tail).
    virtual ~TrackPoint();
    TrackPoint(const TrackPoint&) = delete;
    TrackPoint& operator=(const TrackPoint&) = delete;

    bool has(std::uint32_t flag) const { return (flags & flag) != 0; }
    TrackLayer* layer() const { return layer_; }

    std::uint16_t weight = 1;   // fixes this point stands for
    std::int16_t heading = 0;   // 0..359
    std::uint16_t index = 0;    // cache key of the cumulative values
    std::uint16_t colour = 0;   // low byte palette index, high byte line width - 1
    std::int16_t timeZone = 0;  // hours to add to local time to get UTC
    double lat = 0.0;           // latitude / 180
    double lon = 0.0;           // longitude / 180
    double lonScaled = 0.0;     // lon x cosLat
    double cosLat = 1.0;
    double latRad = 0.0;
    double viewY = 0.0;  // rotated view frame at recording time; 0 when loaded
    double viewX = 0.0;
    float viewRelX = 0.0f;  // owned by the view
    float viewRelY = 0.0f;
    float distNextKm = 0.0f;
    float dtPrev = 0.0f;    // days
    float distNext = 0.0f;  // 3-D, half-turn units
    float cumDistKm = 0.0f;
    float cumTime = 0.0f;      // days
    std::int32_t screenY = 0;  // owned by the view
    std::int32_t screenX = 0;
    float altitude = 0.0f;
    float smoothAltitude = 0.0f;
    float speed = 0.0f;
    float smoothSpeed = 0.0f;
    float signal = 0.0f;
    float smoothSignal = 0.0f;
    float climbSpeed = 0.0f;  // m/min
    std::uint32_t flags = 0;
    double time = 0.0;  // Day number

    TrackPoint* prev = nullptr;
    TrackPoint* next = nullptr;
    // The view's own per-layer lists; the track never follows them.
    TrackPoint* drawNext = nullptr;
    TrackPoint* visibleNext = nullptr;

private:
    friend class TrackLayer;
    TrackLayer* layer_ = nullptr;  // stands for the counter and selection references
};

}  // namespace wendra
