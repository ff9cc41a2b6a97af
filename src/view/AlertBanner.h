#pragma once
// The alert banner: a message of one or more lines centred on the view, each line as
// high as the information line, red for alerts and alarms and blue for the rest.

#include <string_view>

#include "platform/DrawingSurface.h"

namespace wendra {

// kAlertBannerColour for a text that begins with "Alert:" or "Alarm", else blue.
platform::ColorRef bannerColour(std::u16string_view text);

// Nothing for an empty text; `area` is the view less the information line.
void drawAlertBanner(platform::DrawingSurface& surface, std::u16string_view text,
                     const platform::Rect& area, platform::ColorRef halo, int multiplier);

}  // namespace wendra
