#pragma once
// Everything one frame of the plain view needs, as plain values the application
// keeps elsewhere (Status7, the hand-over state, the power status). The track is
// only read, under its lock, while the frame is drawn.

#include <string>

#include "gps/Fix.h"
#include "records/CoordinateFormat.h"
#include "track/HandOverState.h"
#include "view/ViewCentre.h"
#include "view/ViewColours.h"

namespace wendra {

class Track;
namespace maps {
class MapCatalogue;
}

struct ViewScene {
    static constexpr float kInitialScale = 400750176.0f;
    static constexpr int kNoBattery = -1;
    static constexpr int kExternalPower = 256;

    explicit ViewScene(Track& drawn) : track(drawn) {}

    Track& track;
    Fix fix{};
    PositionMark position = PositionMark::NotShown;
    ViewCentre centre{};
    float scale = kInitialScale;  // pixels per half-turn unit
    int coordinateFormat = kFormatSeconds;
    int infoLineMode = 1;   // 0 hides the band; every other mode shows the coordinates
    std::u16string status;  // "\n" separates lines; empty shows nothing
    // Percentage; kExternalPower and above: external power (percentage + 256);
    // kNoBattery: unknown, no gauge.
    int battery = kNoBattery;
    int pixelMultiplier = 1;
    ViewColours colours{};
    // Painted under the track when given; the frame is only its background otherwise.
    maps::MapCatalogue* maps = nullptr;
};

}  // namespace wendra
