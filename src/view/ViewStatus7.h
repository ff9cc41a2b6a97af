#pragma once
// The view's share of the RIRUvo|Status7| record: the zoom bits of field 1, the
// settings word (2), the manual scale (7) and the centre (8, 9). The record's reader
// has already kept its ranges; here the values go into and come out of the view.

#include <cstdint>

#include "view/ViewGeometry.h"

namespace wendra {

struct ViewStatus7 {
    std::int32_t zoomBits = 0;                        // of field 1, zoom::kMask only
    std::int32_t settingsWord = settings::kDefault;   // field 2
    float manualScale = ViewGeometry::kInitialScale;  // field 7
    double centreLon = 0.0;                           // field 8, units
    double centreLat = 0.0;                           // field 9

    static ViewStatus7 fromFields(std::int32_t trackWord, std::int32_t settingsWord,
                                  float manualScale, double centreLon, double centreLat);
    // The track settings word with the view's zoom bits put in.
    std::int32_t mergedTrackWord(std::int32_t trackWord) const;

    // The GPS position object takes the stored centre; an information line left in
    // navigation shows the coordinates; proportional zoom without manual zoom is auto.
    void applyTo(ViewGeometry& view, LatLon& gps) const;
    static ViewStatus7 takeFrom(const ViewGeometry& view);
};

}  // namespace wendra
