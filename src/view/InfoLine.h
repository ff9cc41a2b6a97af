#pragma once
// The information line's band at the bottom of the view: its fill, its text fields in
// equal columns, the battery gauge on the left and the five-bar signal gauge on the
// right. What the fields say is the frame's business. Sizes follow the multiplier.

#include <string>
#include <vector>

#include "platform/DrawingSurface.h"

namespace wendra {

inline constexpr int kInfoLineHeight = 24;
inline constexpr int kSignalGaugeWidth = 16;
inline constexpr int kBatteryGaugeWidth = 5;
inline constexpr int kSignalBars = 5;
// The battery value: a percentage; kExternalPower and above, on external power
// (percentage + 256); kNoBattery unknown, no gauge.
inline constexpr int kNoBattery = -1;
inline constexpr int kExternalPower = 256;

// Filled bars for a signal level in dB: (signal - 31) x 5 / 10, held to 0..5.
int signalLevel(float signal);

// One information line: its band, fill, text fields (in equal columns) and gauges.
struct InfoBand {
    platform::Rect band{};
    platform::ColorRef fill = 0;
    platform::ColorRef ink = 0;
    std::vector<std::u16string> fields;
    bool signalShown = true;  // in free movement the gauge gives way to the text
    int signal = 0;           // bars, 0..5
    bool markShown = true;    // the mid-height mark of the gauge
    int battery = kNoBattery;
};

void drawInfoBand(platform::DrawingSurface& surface, const InfoBand& info, int multiplier);

}  // namespace wendra
