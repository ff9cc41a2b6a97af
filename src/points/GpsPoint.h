#pragma once
// One user point or shared position. Every position change goes through setPosition*
// or offsetPosition, which keep the half-turn values, the cosine and the valid flag in
// step; text lengths are cut by setText-style callers (the readers), not enforced here.

#include <cstdint>
#include <string>

#include "points/PointFlags.h"

namespace wendra {
struct Alert;
}

namespace wendra::points {

constexpr size_t kNameMax = 63;  // name, group, icon and alert names
constexpr size_t kCommentMax = 4095;
constexpr size_t kShareIdMax = 31;
constexpr size_t kShareKeyMax = 16;
constexpr int kDefaultColour = 12;
constexpr float kNotComputed = 999999.0f;

// A random identifier from 1 to 32768, as the handheld's generator plus one gave.
int randomIdentifier();

class GpsPoint {
public:
    GpsPoint();  // the defaults of a new point, with a fresh identifier

    // Degrees; valid when both are numbers on the globe.
    void setPosition(double latDeg, double lonDeg);
    // Half-turn units (degrees / 180), longitude first.
    void setPositionUnits(double lonUnits, double latUnits);
    // East and north on the flat earth; an invalid position stays where it is.
    void offsetPosition(double dxKm, double dyKm);
    bool positionValid() const { return flags & kPositionValid; }

    PointStatus status() const { return statusOf(flags); }
    void setStatus(PointStatus status) { flags = (flags & ~kStatusMask) | statusBits(status); }
    LabelMode labelMode() const { return labelModeOf(flags); }
    void setLabelMode(LabelMode mode) { flags = (flags & ~kLabelMask) | labelBits(mode); }
    bool isShared() const { return flags & kShared; }

    // "group/name" (the group part only when asked for and not empty), else the name;
    // the coordinates in `format` when that leaves nothing.
    std::u16string displayText(int format, bool withGroup) const;

    std::u16string name;
    std::u16string group;
    double latitude = 0.0;  // degrees
    double longitude = 0.0;
    // Kept in step with the degrees.
    double latUnits = 0.0;
    double lonUnits = 0.0;
    double cosLat = 1.0;
    double latRadians = 0.0;
    double lonCos = 0.0;  // lonUnits x cosLat

    uint32_t flags = 0;
    int colour = kDefaultColour;
    int number = 0;  // 0: not yet numbered
    int identifier = 0;
    std::u16string comment;  // line breaks as CR LF
    std::u16string alertName;
    const Alert* alert = nullptr;  // resolved from alertName by the store
    std::u16string iconName;
    int iconIndex = 0;   // 0: none
    int course = 0;      // degrees, "If Course"
    float speed = 0.0f;  // km/h, "If speed >"
    std::u16string shareId;
    std::u16string shareKey;

    // Transient, never stored.
    double alertTime = 0.0;  // days: last proximity alert or tap
    float rotatedX = kNotComputed;
    float rotatedY = kNotComputed;
    int screenX = 0;
    int screenY = 0;
    float distance = -1.0f;
    float bearing = kNotComputed;
    float timeToReach = 0.0f;
    int listRow = -1;
};

// All fields.
void copyPoint(GpsPoint& dst, const GpsPoint& src);
// Status, label and display bits, colour, alert, icon, course and speed only.
void copyDisplay(GpsPoint& dst, const GpsPoint& src);

}  // namespace wendra::points
