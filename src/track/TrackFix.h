#pragma once
// What the track takes from a GPS fix: degrees, km/h, m, whole degrees, 0..100 and
// a Day number. The hand-over converts the receiver's fix into this; nothing is
// checked here (setPointValues normalises).

namespace wendra {

struct TrackFix {
    double latitude = 0.0;   // degrees
    double longitude = 0.0;  // degrees
    float speed = 0.0f;      // km/h
    float altitude = 0.0f;   // m
    int heading = 0;         // degrees
    float signal = 0.0f;     // 0..100
    double time = 0.0;       // Day number
};

}  // namespace wendra
