#pragma once
// The colours the map view paints with: the six role colours of one frame (day
// defaults here; ColourSet gives the configured day or night ones), the fixed colours
// and the 28-colour palette. Palette indices outside the table fall back to its first.

#include <array>
#include <cstdint>

#include "platform/Rgb16.h"

namespace wendra {

struct ViewColours {
    platform::ColorRef gps = platform::rgb(0xff, 0x00, 0x00);
    platform::ColorRef sel = platform::rgb(0x00, 0xa0, 0x00);
    platform::ColorRef trk = platform::rgb(0x00, 0xff, 0x00);
    platform::ColorRef nav = platform::rgb(0x00, 0x00, 0xa0);
    platform::ColorRef draw = platform::rgb(0x00, 0x00, 0x00);
    platform::ColorRef back = platform::rgb(0xff, 0xff, 0xff);
    platform::ColorRef grid = platform::rgb(0xd0, 0xd0, 0xd0);
};

// A position that is not live, and disabled markers.
inline constexpr platform::ColorRef kNotLiveColour = platform::rgb(0xa0, 0xa0, 0xa0);
// The mid-height mark of the signal gauge.
inline constexpr platform::ColorRef kGaugeMarkColour = platform::rgb(0xff, 0x00, 0x00);
// Battery gauge fill, on battery and on external power.
inline constexpr platform::ColorRef kBatteryColour = platform::rgb(0x00, 0x00, 0x00);
inline constexpr platform::ColorRef kExternalPowerColour = platform::rgb(0x00, 0x00, 0x80);

// The coordinate grid's dashed pen, by day and by night.
inline constexpr platform::ColorRef kGridDayColour = platform::rgb(0xd0, 0xd0, 0xd0);
inline constexpr platform::ColorRef kGridNightColour = platform::rgb(0x60, 0x60, 0x60);
// The altitude curve and its labels.
inline constexpr platform::ColorRef kAltitudeColour = platform::rgb(0x60, 0x60, 0xff);
// Banner text: alerts and alarms, and everything else.
inline constexpr platform::ColorRef kAlertBannerColour = platform::rgb(0xff, 0x00, 0x00);
inline constexpr platform::ColorRef kNoticeBannerColour = platform::rgb(0x00, 0x00, 0xff);
inline constexpr platform::ColorRef kDriftCircleColour = platform::rgb(0xff, 0x00, 0x00);
// On-screen buttons, pressed and idle.
inline constexpr platform::ColorRef kButtonActiveColour = platform::rgb(0x70, 0x70, 0x70);
inline constexpr platform::ColorRef kButtonIdleColour = platform::rgb(0xd0, 0xd0, 0xd0);

inline constexpr int kPaletteSize = 28;

platform::ColorRef paletteColour(int index);

// A track point's colour word: low byte palette index, high byte line width - 1.
platform::ColorRef trackColour(std::uint16_t colourWord);
// 1 to 6 pixels; a stored extra width beyond 5 is held at 5.
int trackPenWidth(std::uint16_t colourWord);

}  // namespace wendra
