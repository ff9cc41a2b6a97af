#pragma once
// The status image list of the map view, drawn by the program itself at 20 x 20 pixels
// times the pixel multiplier: the GPS state icons, the alert symbol of the balloons and
// the map-loading icon, at fixed indices. Transparent around the shapes.

#include "platform/ImageList.h"
#include "view/FrameSources.h"

namespace wendra {

namespace statusicon {
inline constexpr int kSize = 20;  // pixels, times the multiplier
inline constexpr int kGpsOff = 0;
inline constexpr int kAlert = 1;  // the alert symbol of a balloon's alert column
inline constexpr int kGpsSilent = 2;
inline constexpr int kGpsNoFix = 3;
inline constexpr int kGpsFix = 4;
inline constexpr int kMapLoading = 5;
inline constexpr int kGpsStale = 6;
inline constexpr int kCount = 7;
}  // namespace statusicon

platform::ImageList makeStatusIcons(int multiplier);

// The icon that shows a GPS state.
int gpsStatusIcon(GpsStatus status);

}  // namespace wendra
