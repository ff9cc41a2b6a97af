#pragma once
// The 32 flag bits of a point, named by meaning, and the status and label mode they
// encode. The bits are the points file's own; nothing here checks combinations.

#include <cstdint>

namespace wendra::points {

constexpr uint32_t kPositionValid = 0x1;  // for a shared position: live
constexpr uint32_t kNotLive = 0x2;        // shown grey
constexpr uint32_t kStatusShown = 0x4;
constexpr uint32_t kStatusOff = 0x8;
constexpr uint32_t kHideGroupLine = 0x10;
constexpr uint32_t kHideNameLine = 0x20;
constexpr uint32_t kAlerted = 0x40;
constexpr uint32_t kCourseAndDistance = 0x100;  // "+ Course and dist."
constexpr uint32_t kNavigationTarget = 0x400;   // transient
constexpr uint32_t kRouteOwned = 0x800;
constexpr uint32_t kDrawnThisFrame = 0x1000;  // transient
constexpr uint32_t kIfCourse = 0x2000;
constexpr uint32_t kIfSpeed = 0x4000;
constexpr uint32_t kShared = 0x8000;
constexpr uint32_t kRejected = 0x10000;
constexpr uint32_t kTemporaryRoutePoint = 0x20000;  // never written to the points file
constexpr uint32_t kStatusSecondary = 0x80000000u;

constexpr uint32_t kStatusMask = kStatusShown | kStatusOff | kStatusSecondary;
constexpr uint32_t kLabelMask = kHideGroupLine | kHideNameLine;
constexpr uint32_t kTransientFlags = kNavigationTarget | kDrawnThisFrame;
// What copyDisplay carries over: status, label and the display bits.
constexpr uint32_t kDisplayMask = 0x8000613cu;

enum class PointStatus { Active, Displayed, Secondary, Deactivated };
enum class LabelMode { GroupName, Group, Name, Icon };

// Bits without the "shown" bit count as "Active" unless "off" is set, as the point
// selection treats them.
inline PointStatus statusOf(uint32_t flags) {
    if (!(flags & kStatusOff)) return PointStatus::Active;
    if (!(flags & kStatusShown)) return PointStatus::Deactivated;
    return (flags & kStatusSecondary) ? PointStatus::Secondary : PointStatus::Displayed;
}

inline uint32_t statusBits(PointStatus status) {
    switch (status) {
        case PointStatus::Active:
            return 0;
        case PointStatus::Displayed:
            return kStatusShown | kStatusOff;
        case PointStatus::Secondary:
            return kStatusShown | kStatusOff | kStatusSecondary;
        case PointStatus::Deactivated:
            return kStatusOff;
    }
    return 0;
}

inline LabelMode labelModeOf(uint32_t flags) {
    switch (flags & kLabelMask) {
        case kHideNameLine:
            return LabelMode::Group;
        case kHideGroupLine:
            return LabelMode::Name;
        case kLabelMask:
            return LabelMode::Icon;
        default:
            return LabelMode::GroupName;
    }
}

inline uint32_t labelBits(LabelMode mode) {
    switch (mode) {
        case LabelMode::GroupName:
            return 0;
        case LabelMode::Group:
            return kHideNameLine;
        case LabelMode::Name:
            return kHideGroupLine;
        case LabelMode::Icon:
            return kLabelMask;
    }
    return 0;
}

}  // namespace wendra::points
