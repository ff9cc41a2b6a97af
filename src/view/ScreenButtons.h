#pragma once
// The on-screen buttons over the map: rounded boxes, dark grey while active and light
// grey while idle, each with its image centred; a blocked button is crossed out. At
// most ButtonLayout::kMostButtons are drawn; the layout's rectangles are trusted.

#include <span>

#include "platform/DrawingSurface.h"
#include "view/FrameSources.h"
#include "view/ViewColours.h"

namespace wendra {

void drawScreenButtons(platform::DrawingSurface& surface, std::span<const ScreenButton> buttons,
                       const platform::ImageList* images, const ViewColours& colours,
                       int multiplier);

}  // namespace wendra
