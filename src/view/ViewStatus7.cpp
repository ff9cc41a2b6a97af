#include "view/ViewStatus7.h"

namespace wendra {

ViewStatus7 ViewStatus7::fromFields(std::int32_t trackWord, std::int32_t settingsWord,
                                    float manualScale, double centreLon, double centreLat) {
    return ViewStatus7{trackWord & zoom::kMask, settingsWord, manualScale, centreLon, centreLat};
}

std::int32_t ViewStatus7::mergedTrackWord(std::int32_t trackWord) const {
    return (trackWord & ~zoom::kMask) | (zoomBits & zoom::kMask);
}

void ViewStatus7::applyTo(ViewGeometry& view, LatLon& gps) const {
    view.zoomWord = zoomBits & zoom::kMask;
    if (!(view.zoomWord & zoom::kManual)) view.zoomWord &= ~zoom::kProportional;
    view.settingsWord = settingsWord;
    if (settings::field(settingsWord, settings::kInfoLineShift) == settings::kInfoLineNavigation)
        view.settingsWord = settings::withField(settingsWord, settings::kInfoLineShift,
                                                settings::kInfoLineCoordinates);
    if (manualScale > 0.0f) view.manualScale = view.scale = manualScale;
    view.setCentre(centreLat, centreLon);
    gps = LatLon{view.centreLat(), view.centreLon()};
}

ViewStatus7 ViewStatus7::takeFrom(const ViewGeometry& view) {
    return ViewStatus7{view.zoomWord & zoom::kMask, view.settingsWord, view.manualScale,
                       view.centreLon(), view.centreLat()};
}

}  // namespace wendra
