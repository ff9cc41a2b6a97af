#pragma once
// The status text: a short message in a box centred on the view, one line per "\n",
// in the text colour on the background colour. Long lines are cut by the view's edge.

#include <string_view>

#include "platform/DrawingSurface.h"
#include "view/ViewColours.h"

namespace wendra {

// area: the part of the view the box is centred in. Nothing for an empty text.
void drawStatusText(platform::DrawingSurface& surface, std::u16string_view text,
                    const platform::Rect& area, const ViewColours& colours, int multiplier);

}  // namespace wendra
