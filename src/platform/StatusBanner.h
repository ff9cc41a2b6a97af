#pragma once
// The status banner: a one-line band over the bottom of the screen during long
// operations ("Saving config..."), shown until the next call. The window installs
// a host that draws it; without one nothing is shown.

#include <string_view>

#include "platform/DrawingSurface.h"
#include "platform/Geometry.h"

namespace wendra::platform {

inline constexpr int kStatusBannerHeight = 24;  // times the pixel multiplier
inline constexpr int kStatusBannerCharsAcross = 33;

struct StatusBannerLayout {
    Rect band;  // in screen pixels
    Font font;
};

// The band across the whole width at the bottom of the screen, 24 x multiplier
// high; a bold font a character of which is the smaller screen side / 33 wide and
// the band height less 2 high.
StatusBannerLayout statusBannerLayout(Size screen, int pixelMultiplier);

// Fills the surface (the band's size) and centres the text on one line.
void drawStatusBanner(DrawingSurface& surface, const Font& font, std::u16string_view text);

class StatusBannerHost {
public:
    virtual ~StatusBannerHost() = default;
    // Replaces any banner shown; an empty text only takes the banner away.
    virtual void show(std::u16string_view text) = 0;
};

StatusBannerHost& statusBanner();

class ScopedStatusBannerHost {
public:
    explicit ScopedStatusBannerHost(StatusBannerHost& replacement);
    ~ScopedStatusBannerHost();
    ScopedStatusBannerHost(const ScopedStatusBannerHost&) = delete;
    ScopedStatusBannerHost& operator=(const ScopedStatusBannerHost&) = delete;

private:
    StatusBannerHost* previous_;
};

inline void showStatusBanner(std::u16string_view text) {
    statusBanner().show(text);
}
inline void hideStatusBanner() {
    statusBanner().show({});
}

}  // namespace wendra::platform
