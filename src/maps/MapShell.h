#pragma once
// What the maps need of the program around them: boxes for the user, the trace log,
// a new pass of the map manager, the night colours and whether the screen is off.
// The defaults use the platform's boxes and trace log and ask for nothing; the window
// overrides them. Called from the load, manager and window threads alike.

#include <optional>
#include <string>
#include <string_view>

#include "maps/NightMode.h"
#include "platform/MessageBox.h"

namespace wendra::maps {

// The requests the map manager takes, the highest pending first.
enum class ManagerLevel : int {
    Rank = 0,         // rank and evict
    RankAndLoad = 1,  // ... and admit one load
    NightMode = 2,    // hand the night colours to every map
    Stop = 3,
};

// Where the view stands, as the ranking measures maps against it.
struct RankingView {
    double latitude = 0;   // degrees
    double longitude = 0;  // degrees
    float scale = 0;       // view pixels per half-turn
    double diagonal = 1;   // screen diagonal in pixels
};

class MapShell {
public:
    virtual ~MapShell() = default;

    virtual platform::Answer ask(std::u16string_view text, std::u16string_view title,
                                 platform::Buttons buttons);
    virtual void trace(std::string_view line);
    virtual void requestPass(ManagerLevel) {}
    // The colours maps use now: the chosen mode at night, none by day.
    virtual NightMode nightMode() const { return NightMode::None; }
    virtual bool screenOff() const { return false; }
    virtual void refreshStatusLine() {}
    // The view the manager ranks for; none while the view has no position yet.
    virtual std::optional<RankingView> rankingView() const { return std::nullopt; }
};

}  // namespace wendra::maps
