#include "view/AlertBanner.h"

#include <algorithm>

#include "view/ViewColours.h"
#include "view/ViewMetrics.h"

namespace wendra {

namespace {
constexpr int kLettersAcross = 33;
}

platform::ColorRef bannerColour(std::u16string_view text) {
    const bool alert = text.starts_with(u"Alert:") || text.starts_with(u"Alarm");
    return alert ? kAlertBannerColour : kNoticeBannerColour;
}

void drawAlertBanner(platform::DrawingSurface& surface, std::u16string_view text,
                     const platform::Rect& area, platform::ColorRef halo, int multiplier) {
    if (text.empty() || area.empty()) return;
    const ViewMetrics metrics(multiplier);
    const int lines = 1 + static_cast<int>(std::count(text.begin(), text.end(), u'\n'));
    const int height = lines * metrics.infoLineHeight();
    const int top = area.top + (area.height() - height) / 2;
    const platform::Rect box{area.left, top, area.right, top + height};
    surface.setFont(
        platform::Font{std::max(1, area.width() / kLettersAcross), metrics.infoLineHeight(), true});
    surface.setTransparentText(true);
    // A halo of the background colour on each side keeps the text readable on maps.
    surface.setTextColour(halo);
    for (const int dx : {-1, 1})
        surface.drawText(text, platform::Rect{box.left + dx, box.top, box.right + dx, box.bottom},
                         platform::text::kCentre);
    surface.setTextColour(bannerColour(text));
    surface.drawText(text, box, platform::text::kCentre);
}

}  // namespace wendra
