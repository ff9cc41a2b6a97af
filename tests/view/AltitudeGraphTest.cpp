// The altitude graph traced again after every recorded fix, going on from what it
// read before, draws what a graph traced once over the finished track draws.

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/qt/QtDrawingSurface.h"
#include "track/PointValues.h"
#include "track/Track.h"
#include "track/TrackPoint.h"
#include "view/AltitudeGraph.h"

namespace wendra::test {
namespace {

constexpr platform::Size kSize{240, 120};
constexpr int kFixes = 40;

void draw(AltitudeGraph& graph, Track& track, platform::PixelBuffer& buffer, int unitSystem) {
    buffer.fill(0xffff);
    platform::qt::QtDrawingSurface surface(buffer);
    graph.draw(surface, {0, 50, kSize.width, kSize.height}, track, unitSystem, ViewColours{},
               ViewMetrics(1), AltitudeGraph::Marks{});
    surface.flush();
}

TEST(AltitudeGraph, TracedAfterEveryFixDrawsWhatOneTraceOfTheWholeTrackDraws) {
    struct Case {
        const char* legend;
        int unitSystem;  // 0 metric, 1 statute
        int stopAt;      // from this fix on four fixes stay within a metre (-1: never)
        int lowAt;       // the segment ends, then this fix lies far below all others
        int editAt;      // before this fix an early point is moved (-1: never)
        int joinAt;      // far points are joined from this fix on (-1: never)
    };
    const Case cases[] = {
        {"a climbing and falling walk", 0, -1, -1, -1, -1},
        {"in feet, with a stop merged into two points", 1, 12, -1, -1, -1},
        {"the last fix lowers the range", 0, -1, kFixes - 1, -1, -1},
        {"a point edited half way, then recording goes on", 0, -1, -1, 20, -1},
        {"far points joined half way", 0, -1, 15, -1, 20},
    };
    for (const Case& c : cases) {
        Track track;
        AltitudeGraph stepwise;
        platform::PixelBuffer afterEvery(kSize);
        double north = 0.0;
        for (int i = 0; i < kFixes; ++i) {
            if (i == c.editAt) {
                TrackPoint& early = *track.main().first()->next->next;
                const PointValues v{.lon = early.lon + 1e-6, .lat = early.lat, .altitude = 900.0f,
                                    .time = early.time, .flags = 0};
                setPointValues(early, v, 0.001);
            }
            if (i == c.joinAt) track.settings.joinFarPoints = true;
            if (i == c.lowAt) track.endSegment(u".Test");
            const bool stopped = c.stopAt >= 0 && i >= c.stopAt && i < c.stopAt + 4;
            north += stopped ? 0.05 : 40.0 + 15.0 * (i % 3);
            const float metres = i == c.lowAt ? -180.0f : 300.0f + 8.0f * ((i * 7) % 23);
            track.addFix(TrackFix{45.0 + north / 111195.0, 7.0, stopped ? 0.5f : 20.0f, metres, 0,
                                  40.0f, 8000.0 + i / 86400.0},
                         true);
            draw(stepwise, track, afterEvery, c.unitSystem);
        }
        AltitudeGraph once;
        platform::PixelBuffer atTheEnd(kSize);
        draw(once, track, atTheEnd, c.unitSystem);
        const std::size_t pixels = static_cast<std::size_t>(kSize.width * kSize.height);
        EXPECT_TRUE(std::equal(afterEvery.data(), afterEvery.data() + pixels, atTheEnd.data()))
            << c.legend;
    }
}

}  // namespace
}  // namespace wendra::test
