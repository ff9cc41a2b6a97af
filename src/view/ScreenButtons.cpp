#include "view/ScreenButtons.h"

#include <algorithm>

namespace wendra {

namespace {

constexpr int kCorner = 8;
constexpr int kCrossWidth = 2;

}  // namespace

void drawScreenButtons(platform::DrawingSurface& surface, std::span<const ScreenButton> buttons,
                       const platform::ImageList* images, const ViewColours& colours,
                       int multiplier) {
    const int m = std::max(1, multiplier);
    const std::size_t shown = std::min<std::size_t>(buttons.size(), ButtonLayout::kMostButtons);
    for (const ScreenButton& b : buttons.first(shown)) {
        const platform::ColorRef fill = b.active ? kButtonActiveColour : kButtonIdleColour;
        surface.setPen(platform::Pen{platform::PenStyle::Solid, 1, colours.draw});
        surface.setBrush(platform::Brush{false, fill});
        surface.roundRect(b.area, kCorner * m, kCorner * m);
        if (images && b.image >= 0) {
            const platform::Size size = images->imageSize();
            surface.drawImage(*images, b.image,
                              platform::Point{b.area.left + (b.area.width() - size.width) / 2,
                                              b.area.top + (b.area.height() - size.height) / 2});
        }
        if (!b.blocked) continue;
        surface.setPen(platform::Pen{platform::PenStyle::Solid, kCrossWidth * m, colours.draw});
        surface.line({b.area.left, b.area.top}, {b.area.right - 1, b.area.bottom - 1});
        surface.line({b.area.left, b.area.bottom - 1}, {b.area.right - 1, b.area.top});
    }
}

}  // namespace wendra
