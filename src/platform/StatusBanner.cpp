#include "platform/StatusBanner.h"

#include <algorithm>
#include <atomic>

namespace wendra::platform {

namespace {

constexpr ColorRef kBannerFill = rgb(255, 255, 255);
constexpr ColorRef kBannerText = rgb(0, 0, 0);

class NoStatusBanner final : public StatusBannerHost {
public:
    void show(std::u16string_view /*text*/) override {}
};

std::atomic<StatusBannerHost*> installed{nullptr};

}  // namespace

StatusBannerLayout statusBannerLayout(Size screen, int pixelMultiplier) {
    const int height = kStatusBannerHeight * std::max(pixelMultiplier, 1);
    StatusBannerLayout layout;
    layout.band = Rect{0, screen.height - height, screen.width, screen.height};
    layout.font =
        Font{std::min(screen.width, screen.height) / kStatusBannerCharsAcross, height - 2, true};
    return layout;
}

void drawStatusBanner(DrawingSurface& surface, const Font& font, std::u16string_view text) {
    const Rect all{0, 0, surface.size().width, surface.size().height};
    surface.fillRect(all, kBannerFill);
    surface.setFont(font);
    surface.setTextColour(kBannerText);
    surface.setTransparentText(true);
    surface.drawText(text, all, text::kCentre | text::kVCentre | text::kSingleLine);
}

StatusBannerHost& statusBanner() {
    static NoStatusBanner none;
    StatusBannerHost* current = installed.load(std::memory_order_acquire);
    return current ? *current : none;
}

ScopedStatusBannerHost::ScopedStatusBannerHost(StatusBannerHost& replacement)
    : previous_(installed.exchange(&replacement, std::memory_order_acq_rel)) {}

ScopedStatusBannerHost::~ScopedStatusBannerHost() {
    installed.store(previous_, std::memory_order_release);
}

}  // namespace wendra::platform
