#pragma once
// The information line in its coordinates mode: a band at the bottom of the view in
// the position colour, the position text, the battery gauge on the left and the
// five-bar signal gauge on the right. Sizes follow the pixel multiplier.

#include <string>
#include <vector>

#include "platform/DrawingSurface.h"
#include "view/ViewScene.h"

namespace wendra {

inline constexpr int kInfoLineHeight = 24;
inline constexpr int kSignalGaugeWidth = 16;
inline constexpr int kBatteryGaugeWidth = 5;
inline constexpr int kSignalBars = 5;

// Filled bars for a signal level in dB: (signal - 31) x 5 / 10, held to 0..5.
int signalLevel(float signal);

// The position of a shown fix in the scene's coordinate format, else "?-?".
std::u16string infoLineText(const ViewScene& scene);

// One information line: its band, fill, text fields (in equal columns) and gauges.
struct InfoBand {
    platform::Rect band{};
    platform::ColorRef fill = 0;
    platform::ColorRef ink = 0;
    std::vector<std::u16string> fields;
    bool signalShown = true;  // in free movement the gauge gives way to the text
    int signal = 0;           // bars, 0..5
    bool markShown = true;    // the mid-height mark of the gauge
    int battery = ViewScene::kNoBattery;
};

void drawInfoBand(platform::DrawingSurface& surface, const InfoBand& info, int multiplier);

// Draws nothing in mode 0. multiplier: the scene's, at least 1.
void drawInfoLine(platform::DrawingSurface& surface, const ViewScene& scene,
                  platform::ColorRef bandColour, int multiplier);

}  // namespace wendra
