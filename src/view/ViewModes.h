#pragma once
// The words that hold the view's modes: view flags, the zoom bits of the track
// settings word and the display settings word with its packed fields. Only names
// and masks; what the bits do lives with ViewGeometry.

#include <cstdint>

namespace wendra {

// "Not set" for the view's doubles and floats.
constexpr double kNotSet = 999999.0;
constexpr float kNotSetF = 999999.0f;

namespace viewflag {
constexpr std::uint32_t kFreeMovement = 0x1;  // "Manual pos.": the GPS is not followed
constexpr std::uint32_t kTrackCursor = 0x2;   // "On the track"
constexpr std::uint32_t kSecondMarker = 0x4;  // track selection end placed
constexpr std::uint32_t kZoomDrag = 0x8;      // a vertical drag zooms
}  // namespace viewflag

// Bits of the track settings word owned by the view. The track's own bits are 0x7F.
namespace zoom {
constexpr std::int32_t kManual = 0x0100;
constexpr std::int32_t kProportional = 0x0200;  // only together with kManual
constexpr std::int32_t kFollowMapScale = 0x0400;
constexpr std::int32_t kTrackExcluded = 0x4000;  // "Include track to auto zoom" off
constexpr std::int32_t kMask = kManual | kProportional | kFollowMapScale | kTrackExcluded;
}  // namespace zoom

namespace settings {
constexpr int kCoordinateFormatShift = 0;
constexpr int kUnitsShift = 3;
constexpr int kNightMapsShift = 21;
constexpr int kInfoLineShift = 24;
constexpr int kLimitZoomShift = 29;
constexpr std::int32_t kFieldMask = 0x7;

constexpr std::int32_t kMovingDirection = 0x40;
constexpr std::int32_t kAltitudeGraph = 0x80;
constexpr std::int32_t kFullScreen = 0x100;
constexpr std::int32_t kNightColours = 0x200;
constexpr std::int32_t kTurningView = 0x400;
constexpr std::int32_t kLimitPoints = 0x800;
constexpr std::int32_t kGrid = 0x1000;
constexpr std::int32_t kWayLines = 0x4000;
constexpr std::int32_t kMoveWithMaps = 0x8000;
constexpr std::int32_t kSmoothRotate = 0x10000;
constexpr std::int32_t kSmoothZoom = 0x40000;
constexpr std::int32_t kStaticRotation = 0x80000;

constexpr int kInfoLineCoordinates = 1;
constexpr int kInfoLineNavigation = 4;

// The option bits above that are on at first start, with coordinates format 2,
// information line 1 and "Limit zoom auto" 1.
constexpr std::int32_t kDefault = 383168 | (2 << kCoordinateFormatShift) | (1 << kInfoLineShift) |
                                  static_cast<std::int32_t>(1u << kLimitZoomShift);

constexpr int field(std::int32_t word, int shift) {
    return static_cast<int>((static_cast<std::uint32_t>(word) >> shift) & kFieldMask);
}
constexpr std::int32_t withField(std::int32_t word, int shift, int value) {
    const std::uint32_t mask = static_cast<std::uint32_t>(kFieldMask) << shift;
    const std::uint32_t bits = (static_cast<std::uint32_t>(value) << shift) & mask;
    return static_cast<std::int32_t>((static_cast<std::uint32_t>(word) & ~mask) | bits);
}
}  // namespace settings

}  // namespace wendra
