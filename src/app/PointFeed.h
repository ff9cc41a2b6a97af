#pragma once
// The points a frame of the map view draws, from the point store: the store chooses
// them (PointStore::selectDrawnPoints), this places each on the screen through the
// view, keeping its screen position for a tap, and hands the frame its label, icon,
// colour, the distance and bearing its label asks for and the balloon of a tap or an
// alert of the last five seconds. Window thread only; store and view outlive it.

#include <span>
#include <vector>

#include "points/PointStore.h"
#include "view/FrameSources.h"
#include "view/ViewCycle.h"
#include "view/ViewGeometry.h"

namespace wendra {

class PointFeed final : public PointSource {
public:
    static constexpr double kBalloonDays = 5.0 / 86400.0;

    PointFeed(points::PointStore& store, const ViewGeometry& view) : store_(store), view_(view) {}

    // Where distances are measured from (half-turn units); null while the GPS position
    // object has no position.
    void setFrom(const LatLon* gps) { from_ = gps; }

    std::span<const DrawnPoint> drawnPoints(int budget, platform::Size screen) override;

    // The points the automatic zoom and centring fit, chosen for the view as it stands;
    // the view cycle gives them their offsets. Valid until the next call.
    std::span<ViewObject> fitPoints();

private:
    bool place(points::GpsPoint& point, platform::Size screen) const;
    DrawnPoint drawn(points::GpsPoint& point, double now) const;

    points::PointStore& store_;
    const ViewGeometry& view_;
    const LatLon* from_ = nullptr;
    std::vector<DrawnPoint> drawn_;
    std::vector<ViewObject> fit_;
};

// Flat-earth distance (km) and bearing (degrees, kNotSetF when the two are closer
// than about 5 mm) from one position to another, in half-turn units.
struct DistanceBearing {
    float km = 0.0f;
    float degrees = kNotSetF;
};
DistanceBearing distanceBearing(double latA, double lonA, double latB, double lonB);

}  // namespace wendra
