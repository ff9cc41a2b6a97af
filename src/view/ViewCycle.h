#pragma once
// The per-paint geometry of the map view and the commands that need the track:
// settles centre, rotation and scale, then chooses and projects what is drawn. Works
// on the track the caller has locked; drawing is the renderer's.

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <functional>
#include <span>
#include <string_view>
#include <vector>

#include "platform/Geometry.h"
#include "view/ScaleBar.h"
#include "view/ViewGeometry.h"
#include "view/VisibleTrack.h"

namespace wendra {

class Track;
class TrackLayer;
class TrackPoint;

// A point or route point as the view places it.
struct ViewObject {
    double lat = 0.0;  // units
    double lon = 0.0;
    RotatedOffset offset{};
    platform::Point screen{};
};

// What one paint needs from the rest of the program.
struct FrameInputs {
    platform::Rect client{};
    int paintMs = 0;        // the last paint's duration
    LatLon* gps = nullptr;  // the GPS position object; takes the view centre without a fix
    bool fixValid = false;
    float speedKmh = 0.0f;
    int course = 0;
    bool recording = false;
    bool navigating = false;
    const ViewObject* target = nullptr;  // navigation target, when navigating
    std::span<ViewObject> fitPoints;     // active candidate points
    std::span<ViewObject> routePoints;
    // The best map's pixel-for-pixel scale at a position in degrees; <= 0 when none.
    std::function<double(double latitude, double longitude)> bestMapScale;
};

enum class ShiftDirection { Right, Left, Up, Down };

class ViewCycle {
public:
    static constexpr int kStepOnePoint = 999999;  // dy of a shift that steps the cursor

    ViewCycle(ViewGeometry& view, Track& track) : view_(view), track_(track) {}

    // One paint: rectangle, rotation, zoom animation, second marker, then centre,
    // decimation, culling and scale until the scale holds; then the scale bar.
    void update(FrameInputs& in);
    // The scale bar of the last update.
    const ScaleBar& scaleBar() const { return scaleBar_; }
    // A layer's retained chain as the last update left it; valid while the caller
    // holds the track lock it was made under.
    std::span<const VisibleTrack::ChainPoint> retained(int layer) const {
        return chains_[static_cast<std::size_t>(layer)];
    }

    // Moves the map by a pen displacement (x right, y down), walks the track cursor,
    // or zooms in zoom-drag mode; false when the view did not change.
    bool shift(int dx, int dy);
    // The four shift commands (2 pixels) with their messages; refused outside free movement.
    std::u16string_view shiftCommand(ShiftDirection direction);
    // The arrow keys (5 pixels); false outside free movement.
    bool keyShift(ShiftDirection direction);

    // The track cursor on the main layer's point nearest to the view centre; false
    // when the layer is empty.
    bool enterTrackCursor();
    // ... or on the point whose index is nearest (the graph window).
    bool enterTrackCursorAt(int index);
    // The second marker at the view centre, on a track point within 10 m when there
    // is one (the cursor point while the cursor is on); returns that point or null.
    TrackPoint* setSecondMarker();
    // Back to following under automatic or proportional zoom; the track selection's
    // placed marks go with the cursor and the second marker.
    void setAuto(FrameInputs& in);
    void setProportional(FrameInputs& in);
    // The main layer was cleared: nothing is left to browse or to stay away from.
    void mainCleared();
    // One-shot fit of everything (mode 2: the whole route and the GPS position).
    void fitAll(int mode, FrameInputs& in);

    // The main layer's point nearest to a position, within limitUnits (<= 0: any).
    static TrackPoint* nearestPoint(const TrackLayer& layer, double lat, double lon,
                                    double limitUnits);

private:
    void chooseCentre(FrameInputs& in);
    void settleCentre(FrameInputs& in);
    void project(FrameInputs& in, double trackExtent);
    ScaleInputs scaleInputs(const FrameInputs& in) const;
    void fitEverything(FrameInputs& in);
    void updateRotation(const FrameInputs& in);
    bool walkCursor(int dx, int dy);
    void decimateAll();
    double mapScale(const FrameInputs& in) const;

    // Largest absolute rotated offsets of what the automatic zoom fits.
    struct FitExtent {
        double x = kNotSet, y = kNotSet;
        void add(RotatedOffset o) {
            x = x == kNotSet ? std::fabs(o.x) : std::max(x, double{std::fabs(o.x)});
            y = y == kNotSet ? std::fabs(o.y) : std::max(y, double{std::fabs(o.y)});
        }
    };
    FitExtent fitExtent(const FrameInputs& in) const;

    // What a layer's retained chain was made from.
    struct Decimation {
        bool valid = false;
        float scale = 0.0f;
        std::uint64_t revision = 0;
        VisibleTrack::Resume resume;
    };

    // What the main layer's visible points were placed for.
    struct Culling {
        std::uint64_t revision = ~std::uint64_t{0};
        const TrackPoint* head = nullptr;
        float scale = 0.0f;
        int rotation = 0;
        double lat = 0.0;
        double lon = 0.0;
        platform::Point centre{};
        double extent = 0.0;
        bool operator==(const Culling&) const = default;
    };

    ViewGeometry& view_;
    Track& track_;
    std::array<Decimation, 5> decimations_{};
    // The retained chains in arrays, as the last decimation of each layer left them.
    std::array<std::vector<VisibleTrack::ChainPoint>, 5> chains_;
    Culling culled_;
    ScaleBar scaleBar_;
    double cursorRest_ = 0.0;  // units of pen travel not yet spent on the track
};

}  // namespace wendra
