#pragma once
// What a frame of the map view draws that other parts of the program own: the drawn
// points (with their labels and navigation values), the fix, the colours and the maps.
// Sources that have nothing to give leave their spans empty and draw nothing.

#include <functional>
#include <span>
#include <string>

#include "gps/Fix.h"
#include "platform/ImageList.h"
#include "view/ColourSet.h"
#include "view/ViewCycle.h"

namespace wendra::maps {
class MapCatalogue;
}

namespace wendra {

// A point as the frame draws it. Positions are half-turn units.
struct DrawnPoint {
    double lat = 0.0;
    double lon = 0.0;
    int palette = 0;
    std::u16string name;
    std::u16string group;
    bool notLive = false;
    bool groupHidden = false;  // label mode "Name" or "Icon"
    bool nameHidden = false;   // label mode "Group" or "Icon"
    int icon = -1;             // into the point icons, -1 none
    bool shared = false;       // a shared position (not live: image 1)
    bool wantsDistance = false;
    bool target = false;           // the navigation target
    bool alertedRecently = false;  // a proximity alert within the last 5 seconds
    float bearing = kNotSetF;      // degrees, kNotSetF when unknown
    float distanceKm = -1.0f;
    double daysToReach = -1.0;
};

// The points chosen for this frame; `budget` is how many the frame can draw in 200 ms.
class PointSource {
public:
    virtual ~PointSource() = default;
    virtual std::span<const DrawnPoint> drawnPoints(int budget) = 0;
};

class NoPoints final : public PointSource {
public:
    std::span<const DrawnPoint> drawnPoints(int) override { return {}; }
};

// One frame's inputs beside the view state itself.
struct FrameData {
    FrameInputs frame;           // handed to the view cycle
    ColourSet colours;           // the configured colour set
    bool positionShown = false;  // the GPS position object has a position to mark
    bool live = false;           // its position is a live fix
    Fix fix{};                   // the last fix, when positionShown
    bool signalGaugeHidden = false;
    int battery = -1;       // percent, +256 on external power, -1 unknown
    std::u16string status;  // a short message in a box, "\n" between lines
    PointSource* points = nullptr;
    const platform::ImageList* pointIcons = nullptr;
    maps::MapCatalogue* maps = nullptr;
    // The text a tile server's licence asks to show while its tiles are painted, by
    // the tiles' group (the source name); empty when there is none. Unset: no texts.
    std::function<std::u16string(std::u16string_view group)> attributionOf;
};

}  // namespace wendra
