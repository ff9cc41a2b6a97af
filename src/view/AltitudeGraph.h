#pragma once
// The altitude overlay: a band at the bottom of the view with the main layer's
// altitudes over its cumulative distance, the range's labels, the cursor and the
// second marker. Reads the layer under the track lock the frame holds.

#include <algorithm>
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

    // The highest and the lowest altitude of the points taken so far, in their order.
    struct Extremes {
        float high = 0.0f;
        float low = 0.0f;
        void add(float metres) {
            high = std::max(high, metres);
            low = std::min(low, metres);
        }
    };
    // Before the first point: a range at least one step high, under any altitude.
    static Extremes start(int unitSystem);
    // Rounded out to 50 m (metric, aeronautical) or 100 ft.
    static AltitudeRange of(Extremes extremes, int unitSystem);

    // From the main layer's altitudes; an empty layer gives 0 to one step.
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
    int columnOf(float km, float lastKm, int width) const;
    int rowOf(double metres, const platform::Rect& band, const AltitudeRange& range) const;
    void drawLabels(platform::DrawingSurface& surface, const platform::Rect& band,
                    const AltitudeRange& range, int unitSystem, const ViewColours& colours,
                    const ViewMetrics& metrics);

    // What the curve was traced for.
    struct Shape {
        std::uint64_t revision = ~std::uint64_t{0};
        platform::Rect band{};
        int unitSystem = -1;
        bool joinFar = false;
        bool operator==(const Shape&) const = default;
    };
    // The main layer's distances and altitudes in point order, as the last trace read
    // them, with where recording may have changed them since: from the second-last
    // point on (`resume`, at `resumeAt`), `before` the extremes of the points before it.
    struct Profile {
        std::vector<float> km;
        std::vector<float> metres;
        const TrackPoint* resume = nullptr;
        std::size_t resumeAt = 0;
        AltitudeRange::Extremes before;
    };
    void traceCurve(Track& track, const Shape& shape);
    AltitudeRange::Extremes readProfile(const Track& track, bool goOn, int unitSystem);
    void sumColumns(int width);

    Shape shape_;
    AltitudeRange range_;
    float lastKm_ = 0.0f;
    Profile profile_;
    std::vector<Column> columns_;
    std::vector<platform::Point> curve_;
};

}  // namespace wendra
