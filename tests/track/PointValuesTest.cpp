#include <gtest/gtest.h>

#include <cmath>

#include "TrackFixtures.h"
#include "support/FakeClock.h"
#include "track/DeviceTimeZone.h"

namespace wendra::test {
namespace {

TEST(PointValues, NormalisesWeightSignalAndHeading) {
    struct Case {
        const char* legend;
        int weight, heading;
        float signal;
        int wantWeight, wantHeading;
        float wantSignal;
    };
    const Case cases[] = {
        {"plain values stay", 3, 45, 50.0f, 3, 45, 50.0f},
        {"weight 0 becomes 1", 0, 0, 0.0f, 1, 0, 0.0f},
        {"a negative weight from a file becomes 1", -4, 0, 0.0f, 1, 0, 0.0f},
        {"signal above 100 becomes 0", 1, 0, 100.5f, 1, 0, 0.0f},
        {"signal 100 stays", 1, 0, 100.0f, 1, 0, 100.0f},
        {"negative signal becomes 0", 1, 0, -1.0f, 1, 0, 0.0f},
        {"-10 degrees is 350", 1, -10, 0.0f, 1, 350, 0.0f},
        {"-360 degrees is 0", 1, -360, 0.0f, 1, 0, 0.0f},
        {"-370 degrees is 350", 1, -370, 0.0f, 1, 350, 0.0f},
        {"725 degrees is 5", 1, 725, 0.0f, 1, 5, 0.0f},
    };
    for (const Case& c : cases) {
        TrackLayer layer;
        TrackPoint& p = *layer.append();
        PointValues values;
        values.weight = c.weight;
        values.heading = c.heading;
        values.signal = c.signal;
        values.timeZone = 0;
        values.flags = 0;
        setPointValues(p, values, 0.001);
        EXPECT_EQ(p.weight, c.wantWeight) << c.legend;
        EXPECT_EQ(p.heading, c.wantHeading) << c.legend;
        EXPECT_EQ(p.signal, c.wantSignal) << c.legend;
    }
}

TEST(PointValues, DerivesGeometryAndTheLinkToThePreviousPoint) {
    TrackLayer layer;
    TrackPoint& a = appendStored(layer, 0);
    TrackPoint& b = appendStored(layer, 1000);
    EXPECT_DOUBLE_EQ(b.latRad, b.lat * kPi);
    EXPECT_DOUBLE_EQ(b.cosLat, std::cos(b.latRad));
    EXPECT_DOUBLE_EQ(b.lonScaled, b.lon * b.cosLat);
    EXPECT_NEAR(a.distNextKm, 1.0f, 1e-5);
    EXPECT_TRUE(a.has(kDistanceDirty));
    EXPECT_EQ(a.index, 0);
    EXPECT_NEAR(b.dtPrev * kSecondsPerDay, 1.0, 1e-3);
    EXPECT_EQ(b.distNext, 0.0f);
}

TEST(PointValues, StoredFlagsDropDistanceDirtyAndTextRecordsInheritABreak) {
    TrackLayer layer;
    appendStored(layer, 0, 1, kSegmentEnd | kDistanceDirty);
    TrackPoint& p = *layer.append();
    PointValues values;
    values.flags = kDistanceDirty;
    values.timeZone = 0;
    setPointValues(p, values, 0.001);
    EXPECT_EQ(p.flags, 0u) << "binary: taken as stored";
    values.textRecord = true;
    setPointValues(p, values, 0.001);
    EXPECT_EQ(p.flags, static_cast<std::uint32_t>(kSegmentStart)) << "text: after a SegmentEnd";
}

TEST(PointValues, NoValueTimeZoneIsTheDevicesAndStoredOneStays) {
    FakeClock clock;
    clock.offsetSeconds = -3 * 3600;
    platform::ScopedClock scope(clock);
    resetDeviceTimeZone();
    TrackLayer layer;
    TrackPoint& p = *layer.append();
    PointValues values;
    setPointValues(p, values, 0.001);
    EXPECT_EQ(p.timeZone, 3);
    values.timeZone = -9;
    setPointValues(p, values, 0.001);
    EXPECT_EQ(p.timeZone, -9);
    resetDeviceTimeZone();
}

TEST(PointValues, GapTestSkipsPointsThatAreNotLive) {
    TrackLayer layer;
    appendStored(layer, 0, 1, 0, 100.0f, 0.0f);
    TrackPoint& far = appendStored(layer, 5000, 1, 0, 100.0f, 0.0f);
    EXPECT_FALSE(far.has(kSegmentStart));
    TrackPoint& live = *layer.append();
    PointValues values;
    values.lat = far.lat + 1.0 / kHalfTurnKm;  // 1 km on
    values.lon = far.lon;
    values.timeZone = 0;
    setPointValues(live, values, 0.001);
    EXPECT_TRUE(live.has(kSegmentStart));
    EXPECT_TRUE(far.has(kSegmentEnd));
}

}  // namespace
}  // namespace wendra::test
