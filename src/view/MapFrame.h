#pragma once
// One frame of the map view: the view cycle's update, then background and maps, grid,
// point icons, direction indicator, scale bar, altitude graph, route, way lines, point
// labels, track, markers, balloons, on-screen buttons, status icons, information line
// and banner, in that order, each over the last.
// Holds the track hand-over guard for the whole frame. Without a surface only the
// state is brought up to date. Keeps its buffers from frame to frame.

#include <chrono>
#include <string>
#include <vector>

#include "platform/DrawingSurface.h"
#include "view/AltitudeGraph.h"
#include "view/Balloons.h"
#include "view/ClippedPolylines.h"
#include "view/FrameSources.h"
#include "view/MapSampleGrid.h"
#include "view/TrackPainter.h"
#include "view/ViewMetrics.h"

namespace wendra {

class MapFrame {
public:
    static constexpr int kInitialBudget = 50;
    static constexpr int kLeastBudget = 25;

    MapFrame(ViewGeometry& view, ViewCycle& cycle, Track& track)
        : view_(view), cycle_(cycle), track_(track) {}

    void paintView(platform::DrawingSurface* surface, platform::Rect rect,
                   std::u16string_view alertText, FrameData& data);

    // While the map is dragged: the lighter frame that keeps up with the pen.
    void setQuickDraw(bool quick) { quick_ = quick; }

    // The last paint's duration, for the next one's animation.
    int lastPaintMs() const { return paintMs_; }
    // How many points can be drawn in 200 ms.
    int pointBudget() const { return budget_; }
    // What the last paint showed in its banner.
    const std::u16string& banner() const { return banner_; }
    // The distance and time between the track cursor and the second marker, when both.
    float markedDistanceKm() const { return markedKm_; }
    double markedDays() const { return markedDays_; }
    const MapSampleGrid& sampleGrid() const { return grid_; }
    // The balloons the last paint drew.
    const BalloonRing& balloons() const { return balloons_; }
    // The information line's fields for the view as the last update left it; the
    // caller holds the track lock (it reads the track cursor and the track's length).
    std::vector<std::u16string> infoFields(const FrameData& data) const;

private:
    // What every step of one frame shares.
    struct Pass {
        platform::DrawingSurface& surface;
        FrameData& data;
        ViewColours colours;
        ViewMetrics metrics;
        platform::ColorRef position = 0;
        platform::Point gps{};
        bool gpsOnScreen = false;
        int infoHeight = 0;      // the information line's band, 0 when hidden
        int altitudeHeight = 0;  // the altitude band above it, 0 when hidden
        int unitSystem = 0;
    };

    void drawFrame(Pass& pass, std::u16string_view alertText);
    platform::ColorRef positionColour(const FrameData& data, const ViewColours& colours) const;
    void drawMaps(Pass& pass);
    void drawGrid(Pass& pass);
    bool markerNearTop(const Pass& pass, int band) const;
    void drawDirection(Pass& pass);
    void drawScaleBar(Pass& pass);
    void drawAltitude(Pass& pass);
    void drawRoute(Pass& pass);
    void drawWayLines(Pass& pass);
    void drawArrow(Pass& pass, platform::Point from, int heading, platform::ColorRef colour);
    void drawPointIcons(Pass& pass, std::span<const DrawnPoint> points);
    void drawPointLabels(Pass& pass, std::span<const DrawnPoint> points);
    void drawTrack(Pass& pass);
    void drawPointMarkers(Pass& pass, std::span<const DrawnPoint> points);
    void drawSecondMarker(Pass& pass);
    void drawBalloons(Pass& pass);
    void drawButtons(Pass& pass);
    void drawStatusIcons(Pass& pass);
    void drawInfoLine(Pass& pass);
    platform::Pen navigationPen(const Pass& pass) const;
    struct LaidLabel;
    const LaidLabel& labelLayout(platform::DrawingSurface& surface, std::size_t index,
                                 std::u16string&& text);
    platform::Point screenOf(double lat, double lon) const;
    void updateBudget(int drawn, std::chrono::steady_clock::duration spent);

    ViewGeometry& view_;
    ViewCycle& cycle_;
    Track& track_;
    MapSampleGrid grid_;
    TrackPainter trackPainter_;
    AltitudeGraph altitude_;
    ClippedPolylines lines_;
    std::vector<platform::Point> points_;
    BalloonRing balloons_;
    // Each drawn point's label as the surface laid it out, by the point's place in the
    // list: a label unchanged since the last frame is drawn without a lookup.
    struct LaidLabel {
        std::u16string text;
        platform::TextHandle laid;
        platform::Size size;  // what the text takes in the whole screen
    };
    std::vector<LaidLabel> labels_;
    platform::Font labelFont_;
    platform::Size labelRoom_;
    std::vector<platform::PlacedText> placedLabels_;
    std::u16string banner_;
    int paintMs_ = 0;
    bool quick_ = false;
    int budget_ = kInitialBudget;
    float markedKm_ = -1.0f;
    double markedDays_ = -1.0;
};

}  // namespace wendra
