#include "view/MapAttribution.h"

#include <algorithm>

#include "maps/MapCatalogue.h"

namespace wendra {

namespace {

using platform::Rect;

constexpr int kFontHeight = 10;  // below the view's 13-pixel small font
constexpr int kPadding = 2;

}  // namespace

std::vector<std::u16string> paintedAttributions(const FrameData& data) {
    std::vector<std::u16string> texts;
    if (!data.maps || !data.attributionOf) return texts;
    for (const std::u16string& group : data.maps->paintedInternetGroups()) {
        std::u16string text = data.attributionOf(group);
        if (!text.empty() && std::find(texts.begin(), texts.end(), text) == texts.end())
            texts.push_back(std::move(text));
    }
    return texts;
}

void drawMapAttribution(platform::DrawingSurface& surface, const FrameData& data, const Rect& area,
                        const ViewColours& colours, int multiplier) {
    const std::vector<std::u16string> texts = paintedAttributions(data);
    if (texts.empty() || area.empty()) return;
    std::u16string lines;
    for (const std::u16string& text : texts) {
        if (!lines.empty()) lines += u'\n';
        lines += text;
    }
    const int padding = kPadding * multiplier;
    surface.setFont(platform::Font{0, kFontHeight * multiplier, false});
    const std::uint32_t flags = platform::text::kRight;
    const Rect room{area.left, area.top, area.right - padding, area.bottom - padding};
    const Rect needed = surface.measureText(lines, room, flags);
    const int width = std::min(needed.width(), room.width());
    const int height = std::min(needed.height(), room.height());
    const Rect box{area.right - width - 2 * padding, area.bottom - height - 2 * padding, area.right,
                   area.bottom};
    surface.fillRect(box, colours.back);
    surface.setTextColour(colours.draw);
    surface.setTransparentText(true);
    const Rect inner{box.left + padding, box.top + padding, box.right - padding,
                     box.bottom - padding};
    surface.setClip(inner);
    surface.drawText(lines, inner, flags);
    surface.setClip(std::nullopt);
}

}  // namespace wendra
