#include "view/StatusText.h"

#include <algorithm>

namespace wendra {

namespace {

using platform::Rect;

// The view's small font, bold.
constexpr int kFontWidth = 7;
constexpr int kFontHeight = 13;
constexpr int kPadding = 4;

}  // namespace

void drawStatusText(platform::DrawingSurface& surface, std::u16string_view text, const Rect& area,
                    const ViewColours& colours, int multiplier) {
    if (text.empty() || area.empty()) return;
    const int padding = kPadding * multiplier;
    surface.setFont(platform::Font{kFontWidth * multiplier, kFontHeight * multiplier, true});
    const std::uint32_t flags = platform::text::kCentre;
    const Rect room{area.left + padding, area.top + padding, area.right - padding,
                    area.bottom - padding};
    const Rect needed = surface.measureText(text, room, flags);
    const int width = std::min(needed.width(), room.width()) + 2 * padding;
    const int height = std::min(needed.height(), room.height()) + 2 * padding;
    const int left = area.left + (area.width() - width) / 2;
    const int top = area.top + (area.height() - height) / 2;
    const Rect box{left, top, left + width, top + height};

    surface.setPen(platform::Pen{platform::PenStyle::Solid, 1, colours.draw});
    surface.setBrush(platform::Brush{false, colours.back});
    surface.rectangle(box);
    surface.setTextColour(colours.draw);
    surface.setTransparentText(true);
    const Rect inner{box.left + padding, box.top + padding, box.right - padding,
                     box.bottom - padding};
    surface.setClip(inner);
    surface.drawText(text, inner, flags);
    surface.setClip(std::nullopt);
}

}  // namespace wendra
