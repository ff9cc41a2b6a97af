// The altitude graph traced again after every recorded fix, going on from what it
// read before, draws what a graph traced once over the finished track draws.

#include <gtest/gtest.h>

#include "platform/qt/QtDrawingSurface.h"
#include "track/PointValues.h"
#include "track/Track.h"
#include "track/TrackPoint.h"
#include "view/AltitudeGraph.h"

namespace wendra::test {
namespace {

constexpr int kWidth = 240;
constexpr int kHeight = 120;
constexpr int kFixes = 40;
constexpr int kMetric = 0;
constexpr int kStatute = 1;

void draw(AltitudeGraph& graph, Track& track, platform::PixelBuffer& buffer, int unitSystem) {
    buffer.fill(0xffff);
    platform::qt::QtDrawingSurface surface(buffer);
    graph.draw(surface, {0, 50, kWidth, kHeight}, track, unitSystem, ViewColours{}, ViewMetrics(1),
               AltitudeGraph::Marks{});
    surface.flush();
}

int differing(const platform::PixelBuffer& a, const platform::PixelBuffer& b) {
    int n = 0;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) n += a.at(x, y) != b.at(x, y);
    return n;
}

TEST(AltitudeGraph, TracedAfterEveryFixDrawsWhatOneTraceOfTheWholeTrackDraws) {
    struct Case {
        const char* legend;
        int unitSystem;
        int stopAt;   // from this fix on four fixes stay within a metre (-1: never)
        int lowAt;    // this fix goes far below every other (-1: never)
        int editAt;   // before this fix an early point is moved (-1: never)
        int joinAt;   // far points are joined from this fix on (-1: never)
    };
    const Case cases[] = {
        {"a climbing and falling walk", kMetric, -1, -1, -1, -1},
        {"in feet, with a stop merged into two points", kStatute, 12, -1, -1, -1},
        {"the last fix lowers the range", kMetric, -1, kFixes - 1, -1, -1},
        {"a point edited half way, then recording goes on", kMetric, -1, -1, 20, -1},
        {"far points joined half way", kMetric, -1, 15, -1, 20},
    };
    for (const Case& c : cases) {
        Track track;
        AltitudeGraph stepwise;
        platform::PixelBuffer afterEvery({kWidth, kHeight});
        double north = 0.0;
        for (int i = 0; i < kFixes; ++i) {
            if (i == c.editAt) {
                TrackPoint& early = *track.main().first()->next->next;
                PointValues v;
                v.lat = early.lat;
                v.lon = early.lon + 1e-6;
                v.altitude = 900.0f;
                v.time = early.time;
                v.flags = 0;
                setPointValues(early, v, 0.001);
            }
            if (i == c.joinAt) track.settings.joinFarPoints = true;
            const bool stopped = c.stopAt >= 0 && i >= c.stopAt && i < c.stopAt + 4;
            north += stopped ? 0.05 : 40.0 + 15.0 * (i % 3);
            if (i == c.lowAt) track.endSegment(u".Test");
            TrackFix fix;
            fix.latitude = 45.0 + north / 111195.0;
            fix.longitude = 7.0;
            fix.speed = stopped ? 0.5f : 20.0f;
            fix.altitude = i == c.lowAt ? -180.0f : 300.0f + 8.0f * static_cast<float>((i * 7) % 23);
            fix.signal = 40.0f;
            fix.time = 8000.0 + i / 86400.0;
            track.addFix(fix, true);
            draw(stepwise, track, afterEvery, c.unitSystem);
        }
        AltitudeGraph once;
        platform::PixelBuffer atTheEnd({kWidth, kHeight});
        draw(once, track, atTheEnd, c.unitSystem);
        EXPECT_GT(track.main().count(), kFixes / 2) << c.legend;
        EXPECT_EQ(differing(afterEvery, atTheEnd), 0) << c.legend;
    }
}

}  // namespace
}  // namespace wendra::test
