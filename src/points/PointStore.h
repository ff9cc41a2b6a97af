#pragma once
// All points of the map view in one list, in the order they were added (the order the
// points file keeps), with the point counter and the points drawn by the last frame.
// Points live until removed, so references handed out stay valid; the list's busy
// bit guards the sort against the sharing reader, nothing else here is thread-safe.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Sync.h"
#include "points/GpsPoint.h"

namespace wendra {
class AlertList;
}

namespace wendra::points {

class IconList;

// What the list of points keeps per group: its sort choice and whether it is open.
struct GroupHeader {
    std::u16string name;
    bool byDistance = false;
    bool expanded = true;
};

class PointStore {
public:
    static constexpr std::uint32_t kSortBusy = 1u << 0;
    static constexpr int kTapRadius = 30;  // pixels, times the multiplier
    static constexpr double kDoubleTapDays = 0.75 / 86400.0;

    PointStore() = default;
    PointStore(const PointStore&) = delete;
    PointStore& operator=(const PointStore&) = delete;

    // What names resolve against; either may be null (no alert, no icon). The lists
    // must outlive the store or be replaced first.
    void setAlerts(const AlertList* alerts) { alerts_ = alerts; }
    void setIcons(const IconList* icons) { icons_ = icons; }
    // Looks every point's alert and icon up again, after either list changed.
    void resolveNames();

    // Puts a copy of the point (or the point itself) at the end of the list, with its
    // alert and icon resolved; returns the stored point.
    GpsPoint& addPoint(const GpsPoint& point);
    GpsPoint& addPoint(std::unique_ptr<GpsPoint> point);
    // False when the point is not in the list. The caller deletes its voice memo.
    bool removePoint(const GpsPoint& point);
    void clear();

    size_t size() const { return points_.size(); }
    GpsPoint& at(size_t index) { return *points_[index]; }
    const GpsPoint& at(size_t index) const { return *points_[index]; }
    // The groups in order of first appearance.
    std::vector<std::u16string> groups() const;

    // The header of a group, made on first use; references stay valid.
    GroupHeader& groupHeader(std::u16string_view group);

    // The last number given (field 12 of the view's settings record).
    int counter() const { return counter_; }
    void setCounter(int counter) { counter_ = counter; }
    // Gives an unnumbered point the next number; returns the point's number.
    int numberPoint(GpsPoint& point);

    // The object that shows the GPS position: never tapped, never written.
    void setGpsPositionObject(const GpsPoint* object) { gpsObject_ = object; }
    const GpsPoint* gpsPositionObject() const { return gpsObject_; }

    // Orders the points of one group among the places they hold: by the flat-earth
    // distance from the centre (half-turn units), or by name.
    void sortGroup(std::u16string_view group, bool byDistance, double centreLatUnits,
                   double centreLonUnits);

    // Chooses the points a frame draws and marks them drawn. Every point not
    // "Deactivated", with a valid position, that `place` puts on the screen (it gives the
    // point its screen position), in list order; at most `budget` of them when `limit`
    // ("Limit the nb of points"), so points off the screen take none of the budget.
    const std::vector<GpsPoint*>& selectDrawnPoints(bool limit, int budget,
                                                    const std::function<bool(GpsPoint&)>& place);
    // ... with every point counted as on the screen.
    const std::vector<GpsPoint*>& selectDrawnPoints(bool limit, int budget);
    const std::vector<GpsPoint*>& drawnPoints() const { return drawn_; }

    // Where the view stands when the points it fits are chosen (half-turn units).
    struct FitArea {
        bool limit = false;  // "Limit the nb of points"
        bool manualZoom = false;
        double centreLat = 0.0;
        double centreLon = 0.0;
        double extent = 0.0;  // how far from the centre a point counts, both ways
    };
    // The points the automatic zoom and centring fit: the "Active" ones with a valid
    // position, in list order; with the limit on under manual zoom only those within
    // the area's extent of the centre. The GPS position object is never one of them.
    const std::vector<GpsPoint*>& selectFitPoints(const FitArea& area);

    // The drawn point nearest to the screen position within the tap radius: its alert
    // time becomes `now` (days) and it moves to the front of the drawn list, where the
    // frames after keep it until another point is tapped. 2 when its previous tap is
    // less than 0.75 s old, 1 for another tap, 0 when nothing is near.
    int tapAt(int x, int y, int pixelMultiplier, double now, GpsPoint** tapped = nullptr);

    // What the points take in memory, for the statistics.
    std::int64_t memoryBytes() const;

    platform::LockWord& busy() { return busy_; }
    bool changed() const { return changed_; }
    void setChanged(bool changed) { changed_ = changed; }

private:
    void resolve(GpsPoint& point) const;

    std::vector<std::unique_ptr<GpsPoint>> points_;
    std::vector<GpsPoint*> drawn_;
    std::vector<GpsPoint*> fit_;
    GpsPoint* front_ = nullptr;  // the point tapped last, drawn first
    std::vector<std::unique_ptr<GroupHeader>> headers_;
    const AlertList* alerts_ = nullptr;
    const IconList* icons_ = nullptr;
    const GpsPoint* gpsObject_ = nullptr;
    int counter_ = 0;
    bool changed_ = false;
    platform::LockWord busy_;
};

// The "-Points:" statistics value: "%d=%s", the count and the memory as a byte size.
std::u16string pointsStatisticsValue(const PointStore& store);

}  // namespace wendra::points
