#pragma once
// The attributions of the internet maps painted in a frame: one line each, in small
// type at the bottom right of the area, over a box of the background colour so that
// they stay legible on any tile. Nothing is drawn when no tile of a source with a text
// was painted.

#include <string>
#include <vector>

#include "platform/DrawingSurface.h"
#include "view/FrameSources.h"
#include "view/ViewColours.h"

namespace wendra {

// The texts for the frame the catalogue has just painted, each once.
std::vector<std::u16string> paintedAttributions(const FrameData& data);

// `area` is the map above the information line and the altitude band.
void drawMapAttribution(platform::DrawingSurface& surface, const FrameData& data,
                        const platform::Rect& area, const ViewColours& colours, int multiplier);

}  // namespace wendra
