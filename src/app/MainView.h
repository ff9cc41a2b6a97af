#pragma once
// The map view as the shell sees it, until the full view exists: the catalogue's maps
// and the track north-up, following the GPS position, zoomed so that the main layer
// fits around the centre (never closer than a metre a pixel). Draws a frame of the
// application state into the back buffer, or only brings the centre up to date; each
// frame tells the map manager where the view now stands.

#include <chrono>
#include <optional>

#include "gps/Fix.h"
#include "platform/DrawingSurface.h"
#include "track/HandOverState.h"
#include "view/PlainView.h"
#include "view/ViewCentre.h"

namespace wendra {

struct AppState;

class MainView {
public:
    // A metre a pixel: the closest the automatic fit goes.
    static constexpr double kClosestScale = 20037508.342789244;
    // The fit leaves this share of the half-size free around the track.
    static constexpr double kFitMargin = 0.9;

    explicit MainView(AppState& state);

    // Draws a frame; true when the view wants another pass soon.
    bool draw(platform::DrawingSurface& surface, bool quick);
    // The centre follows the position without drawing.
    void update();
    // Once the configuration and the track are loaded: the stored centre, or the last
    // point of the track when none was ever stored.
    void takeStoredCentre();

    // The fit of the main layer around the centre for a surface of this size.
    double fittedScale(platform::Size surface);
    ViewCentre centre() const { return centre_; }

private:
    void follow(const std::optional<Fix>& fix, PositionMark mark);
    int battery();

    AppState& state_;
    PlainView plain_;
    ViewCentre centre_{};
    std::optional<int> battery_;
    std::chrono::steady_clock::time_point batteryRead_{};
};

}  // namespace wendra
