#pragma once
// The map view as the shell sees it: the view geometry and its per-paint cycle, the
// frame painter and the pen drag, fed from the application state. Draws a frame into
// the back buffer, or only brings the view up to date; the view's share of the Status7
// record is taken at start and kept in step after every paint.

#include <chrono>
#include <optional>
#include <string_view>

#include "app/FrameFeeds.h"
#include "platform/DrawingSurface.h"
#include "platform/WindowHandler.h"
#include "track/HandOverState.h"
#include "view/MapFrame.h"
#include "view/PenDrag.h"
#include "view/ViewCentre.h"

namespace wendra {

struct AppState;
struct Status7Record;

// The view as the configuration stored it, centred on the last point of the track when
// no centre was ever stored; the GPS position object takes the centre. The caller holds
// nothing: the track lock is taken here.
void applyStoredView(const Status7Record& status, Track& track, ViewGeometry& view, LatLon& gps);

class MainView {
public:
    explicit MainView(AppState& state);

    // Draws a frame; true when the view wants another pass soon.
    bool draw(platform::DrawingSurface& surface, bool quick);
    // The view follows the position without drawing.
    void update();
    // Once the configuration and the track are loaded: the stored view, centred on
    // the last point of the track when no centre was ever stored.
    void takeStoredCentre();
    // The map centred on a position (half-turn units), no longer following the GPS.
    void showPosition(double latitude, double longitude);

    // A stylus or mouse event on the map; true when the view moved (repaint).
    bool stylus(platform::StylusAction action, platform::Point at);
    // A tap (no drag) on the map: the drawn point within reach shows its balloon;
    // true when there was one (repaint).
    bool tapPoint(platform::Point at);
    // Mouse wheel notches (positive: closer); the zoom's message, empty when none.
    std::u16string_view wheel(int notches);

    ViewCentre centre() const { return ViewCentre{geometry_.centreLat(), geometry_.centreLon()}; }
    const ViewGeometry& geometry() const { return geometry_; }

private:
    void paint(platform::DrawingSurface* surface, platform::Rect rect);
    FrameData frameData();
    void takeSettings();
    void keepSettings();
    void handTileService(platform::Rect rect);
    int battery();
    GpsStatus gpsStatus(bool fixNow, PositionMark mark) const;

    AppState& state_;
    ViewGeometry geometry_;
    ViewCycle cycle_;
    MapFrame frame_;
    FrameFeeds feeds_;
    PenDrag drag_;
    LatLon gps_{};
    bool hadFix_ = false;
    Fix lastFix_{};
    platform::Rect lastRect_{};
    // The Status7 words as last kept, so that a dialog's change is noticed.
    std::int32_t keptViewWord_ = 0;
    std::int32_t keptTrackWord_ = 0;
    std::optional<int> battery_;
    std::chrono::steady_clock::time_point batteryRead_{};
};

}  // namespace wendra
