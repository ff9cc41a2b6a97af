#pragma once
// The altitude overlay: a band at the bottom of the view with the main layer's
// altitudes over its cumulative distance, the range's labels, the cursor and the
// second marker. Reads the layer under the track lock the frame holds.

#include <cstdint>
#include <vector>

#include "platform/DrawingSurface.h"
#include "view/ViewColours.h"
#include "view/ViewMetrics.h"

namespace wendra {

class Track;
class TrackPoint;

struct AltitudeRange {
    float minMetres = 0.0f;
    float maxMetres = 0.0f;

    // From the main layer's altitudes, rounded out to 50 m (metric, aeronautical) or
    // 100 ft; an empty layer gives 0 to one step.
    static AltitudeRange of(const Track& track, int unitSystem);
};

class AltitudeGraph {
public:
    struct Marks {
        const TrackPoint* cursor = nullptr;  // a triangle under it
        const TrackPoint* second = nullptr;  // a cross on it
        platform::Pen between{};             // the stretch between them drawn again
    };

    void draw(platform::DrawingSurface& surface, const platform::Rect& band, Track& track,
              int unitSystem, const ViewColours& colours, const ViewMetrics& metrics,
              const Marks& marks);

private:
    struct Column {
        double sum = 0.0;
        int count = 0;
    };
    int columnOf(const TrackPoint& point, float lastKm, int width) const;
    int rowOf(double metres, const platform::Rect& band, const AltitudeRange& range) const;
    void drawLabels(platform::DrawingSurface& surface, const platform::Rect& band,
                    const AltitudeRange& range, int unitSystem, const ViewColours& colours,
                    const ViewMetrics& metrics);

    // What the curve was traced for.
    struct Shape {
        std::uint64_t revision = ~std::uint64_t{0};
        platform::Rect band{};
        int unitSystem = -1;
        bool operator==(const Shape&) const = default;
    };
    void traceCurve(Track& track, const platform::Rect& band, int unitSystem);

    Shape shape_;
    AltitudeRange range_;
    float lastKm_ = 0.0f;
    std::vector<Column> columns_;
    std::vector<platform::Point> curve_;
};

}  // namespace wendra
