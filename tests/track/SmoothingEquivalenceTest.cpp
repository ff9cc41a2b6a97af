// Recording with the incremental smoothing must leave every point of the main layer
// bit for bit as smoothing every point afresh does. Two tracks get the same random
// fixes and the same outside changes; one records with each way of smoothing.

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <ostream>
#include <random>
#include <string>
#include <vector>

#include "TrackFixtures.h"
#include "track/TrackSmoothing.h"

namespace wendra::test {
namespace {

// The way smoothAround works within a scope; the default again after it.
struct SmoothingMode {
    explicit SmoothingMode(bool incremental) { setIncrementalSmoothing(incremental); }
    ~SmoothingMode() { setIncrementalSmoothing(true); }
};

template <typename T>
bool sameBits(const T& a, const T& b) {
    return std::memcmp(&a, &b, sizeof(T)) == 0;
}

// The name of the first field in which the points differ, empty when none does.
std::string firstDifference(const TrackPoint& a, const TrackPoint& b) {
    std::string differing;
    auto check = [&differing](const char* name, const auto& x, const auto& y) {
        if (differing.empty() && !sameBits(x, y)) differing = name;
    };
#define WENDRA_FIELD(name) check(#name, a.name, b.name)
    WENDRA_FIELD(weight);
    WENDRA_FIELD(heading);
    WENDRA_FIELD(index);
    WENDRA_FIELD(colour);
    WENDRA_FIELD(timeZone);
    WENDRA_FIELD(lat);
    WENDRA_FIELD(lon);
    WENDRA_FIELD(lonScaled);
    WENDRA_FIELD(cosLat);
    WENDRA_FIELD(latRad);
    WENDRA_FIELD(viewY);
    WENDRA_FIELD(viewX);
    WENDRA_FIELD(viewRelX);
    WENDRA_FIELD(viewRelY);
    WENDRA_FIELD(distNextKm);
    WENDRA_FIELD(dtPrev);
    WENDRA_FIELD(distNext);
    WENDRA_FIELD(cumDistKm);
    WENDRA_FIELD(cumTime);
    WENDRA_FIELD(screenY);
    WENDRA_FIELD(screenX);
    WENDRA_FIELD(altitude);
    WENDRA_FIELD(smoothAltitude);
    WENDRA_FIELD(speed);
    WENDRA_FIELD(smoothSpeed);
    WENDRA_FIELD(signal);
    WENDRA_FIELD(smoothSignal);
    WENDRA_FIELD(climbSpeed);
    WENDRA_FIELD(flags);
    WENDRA_FIELD(time);
#undef WENDRA_FIELD
    return differing;
}

constexpr int kAllPoints = 1 << 30;
constexpr int kBeyondReach = 320;  // more than smoothing around the last point reaches
constexpr int kFullCompareEvery = 64;

// Empty when the newest `newest` points of both main layers are the same, else where
// they first differ.
std::string compareLayers(const Track& incremental, const Track& plain, int newest = kAllPoints) {
    const TrackLayer& a = incremental.layer(Track::kMainLayer);
    const TrackLayer& b = plain.layer(Track::kMainLayer);
    if (a.count() != b.count()) return "point counts differ";
    int back = 0;
    for (const TrackPoint *p = a.last(), *q = b.last(); p && q && back < newest;
         p = p->prev, q = q->prev, ++back) {
        const std::string field = firstDifference(*p, *q);
        if (!field.empty())
            return field + " of the point " + std::to_string(back) + " before the last";
    }
    return {};
}

struct Scenario {
    const char* legend;
    unsigned seed;
    int fixes;
    bool noMerge;
    int climbWindow;
    bool trailing;  // 1 km: the first point keeps moving within reach
    bool stirred;   // outside changes: edits, refreshed climb speeds, window changes
    bool jumps;     // far jumps that cut the segment
};

void PrintTo(const Scenario& s, std::ostream* out) {
    *out << s.legend;
}

// A walker that moves, lingers, jumps, repeats fixes and has a shaky clock.
class RandomRecording {
public:
    RandomRecording(unsigned seed, bool jumps) : random_(seed), jumps_(jumps) {}

    TrackFix next() {
        const int kind = pick(1000);
        if (kind < 80) return repeatLast();
        if (kind < 85 && jumps_) return jump();
        if (lingering_ > 0 || kind < 230) return linger();
        return walk();
    }
    int pick(int below) { return std::uniform_int_distribution<int>(0, below - 1)(random_); }
    float uniform(float low, float high) {
        return std::uniform_real_distribution<float>(low, high)(random_);
    }

private:
    TrackFix walk() {
        northMetres_ += uniform(-3.0f, 15.0f);
        eastMetres_ += uniform(-5.0f, 10.0f);
        seconds_ += pick(10) == 0 ? uniform(-2.0f, 8.0f) : 1.0;
        return fix(uniform(2.0f, 60.0f));
    }
    // A stop or a slow crawl within a metre: merged fixes, or points with NoMerge.
    TrackFix linger() {
        if (lingering_ == 0) lingering_ = 2 + pick(12);
        --lingering_;
        northMetres_ += uniform(-0.3f, 0.3f);
        seconds_ += 1.0;
        return fix(uniform(0.0f, 4.0f));
    }
    // Far enough for the gap test to cut the segment.
    TrackFix jump() {
        northMetres_ += uniform(500.0f, 3000.0f);
        seconds_ += pick(2) == 0 ? 1.0 : 120.0;
        return fix(uniform(2.0f, 40.0f));
    }
    // Same place and time: refreshes a lone last point.
    TrackFix repeatLast() {
        TrackFix again = last_;
        again.speed = uniform(0.0f, 50.0f);
        again.altitude += uniform(-5.0f, 5.0f);
        again.signal = uniform(-10.0f, 110.0f);
        return again;
    }
    TrackFix fix(float speed) {
        altitude_ += uniform(-2.0f, 2.5f);
        TrackFix f;
        f.latitude = northDegrees(northMetres_);
        f.longitude = kBaseLongitude + eastMetres_ / kMetresPerDegree / 0.7071;
        f.speed = speed;
        f.altitude = altitude_;
        f.heading = pick(400) - 20;
        f.signal = uniform(-10.0f, 110.0f);
        f.time = kBaseDay + seconds_ / kSecondsPerDay;
        last_ = f;
        return f;
    }

    std::mt19937 random_;
    bool jumps_;
    double northMetres_ = 0.0;
    double eastMetres_ = 0.0;
    double seconds_ = 0.0;
    float altitude_ = 300.0f;
    int lingering_ = 0;
    TrackFix last_;
};

// The point `back` steps before the last one.
TrackPoint* pointBack(TrackLayer& layer, int back) {
    TrackPoint* point = layer.last();
    for (int i = 0; i < back; ++i) point = point->prev;
    return point;
}

// A point inserted after `point`, half a second later, as an editor might.
void insertAfter(TrackLayer& layer, TrackPoint& point) {
    PointValues values;
    values.lon = point.lon;
    values.lat = point.lat + 1e-8;
    values.altitude = point.altitude + 1.0f;
    values.speed = point.speed;
    values.time = point.time + 0.5 / kSecondsPerDay;
    values.timeZone = 0;
    values.flags = 0;
    setPointValues(*layer.insertAfter(&point), values, 0.001);
}

// The same change to both tracks: what editing, the hand-over of the live climb speed
// or a new climb window does between fixes. Deleted points leave their neighbours'
// distances as they were, as a careless editor would.
void stir(RandomRecording& random, Track& incremental, Track& plain) {
    TrackLayer& a = incremental.main();
    TrackLayer& b = plain.main();
    if (!a.last()) return;
    const int kind = random.pick(100);
    const int back = random.pick(std::min(a.count(), 260));
    TrackPoint* p = pointBack(a, back);
    TrackPoint* q = pointBack(b, back);
    if (kind < 30) {
        const float climb = random.uniform(-50.0f, 50.0f);
        a.last()->climbSpeed = climb;
        b.last()->climbSpeed = climb;
    } else if (kind < 33) {
        const float altitude = random.uniform(0.0f, 900.0f);
        p->altitude = altitude;
        q->altitude = altitude;
    } else if (kind < 35 && a.count() > 1) {
        a.erase(p);
        b.erase(q);
    } else if (kind < 37) {
        insertAfter(a, *p);
        insertAfter(b, *q);
    } else if (kind < 38) {
        incremental.endSegment(u".Test");
        plain.endSegment(u".Test");
    } else if (kind == 38) {
        const int window = 1 + random.pick(120);
        incremental.settings.climbWindow = window;
        plain.settings.climbWindow = window;
        incremental.smoothAll();
        plain.smoothAll();
    }
}

void configure(Track& track, const Scenario& s) {
    track.settings.maxPointsIndex = 0;  // 1000 points: thinning runs into the newest ones
    track.settings.noMerge = s.noMerge;
    track.settings.climbWindow = s.climbWindow;
    track.settings.trailing = s.trailing;
    track.settings.trailingLengthKm = 1.0;
}

class SmoothingEquivalence : public ::testing::TestWithParam<Scenario> {};

TEST_P(SmoothingEquivalence, IncrementalRecordingMatchesSmoothingEveryPointAfresh) {
    const Scenario& s = GetParam();
    Track incremental;
    Track plain;
    configure(incremental, s);
    configure(plain, s);
    RandomRecording random(s.seed, s.jumps);
    for (int i = 0; i < s.fixes; ++i) {
        const TrackFix fix = random.next();
        {
            SmoothingMode plainly(false);
            plain.addFix(fix, true);
        }
        incremental.addFix(fix, true);
        if (s.stirred) stir(random, incremental, plain);
        const bool all = i % kFullCompareEvery == 0 || i + 1 == s.fixes;
        const std::string difference =
            compareLayers(incremental, plain, all ? kAllPoints : kBeyondReach);
        ASSERT_TRUE(difference.empty()) << s.legend << ": " << difference << " after fix " << i;
    }
    EXPECT_GT(incremental.main().count(), 100);
}

INSTANTIATE_TEST_SUITE_P(
    Recordings, SmoothingEquivalence,
    // legend, seed, fixes, noMerge, climbWindow, trailing, stirred, jumps
    ::testing::Values(
        Scenario{"merging walk with stops and breaks, 30 s", 1, 4000, false, 30, false, false,
                 true},
        Scenario{"every fix a point, 5 s, outside changes", 2, 4000, true, 5, false, true, true},
        Scenario{"merging walk, 1 s, outside changes", 3, 4000, false, 1, false, true, true},
        Scenario{"every fix a point, 300 s, one long segment", 4, 3000, true, 300, false, false,
                 false},
        Scenario{"trailing 1 km: the first point is within reach", 5, 3000, true, 30, true, true,
                 false},
        Scenario{"merging, trailing 1 km, outside changes", 6, 3000, false, 30, true, true, false}),
    [](const ::testing::TestParamInfo<Scenario>& info) {
        return "Seed" + std::to_string(info.param.seed);
    });

// Two tracks recording in turn on one thread: each call finds the other's points.
TEST(IncrementalSmoothing, TracksRecordingInTurnMatchTheirPlainTwins) {
    Scenario s{"", 0, 0, false, 30, false, false, true};
    Track incremental[2];
    Track plain[2];
    RandomRecording random[2] = {RandomRecording(11, true), RandomRecording(12, true)};
    for (int t = 0; t < 2; ++t) {
        configure(incremental[t], s);
        configure(plain[t], s);
    }
    for (int i = 0; i < 1500; ++i) {
        const int t = i % 3 == 0 ? 1 : 0;
        const TrackFix fix = random[t].next();
        {
            SmoothingMode plainly(false);
            plain[t].addFix(fix, true);
        }
        incremental[t].addFix(fix, true);
        const std::string difference = compareLayers(incremental[t], plain[t]);
        ASSERT_TRUE(difference.empty()) << difference << " after fix " << i;
    }
}

// One change to a hand-built layer between two calls of smoothAround.
struct Edit {
    const char* legend;
    std::function<void(TrackLayer&)> apply;
    int aroundBack;  // the point smoothed around, counted back from the last
};

void appendAfterLast(TrackLayer& layer, float altitude) {
    appendStored(layer, 3.0 * layer.count(), 1, 0, altitude, 7.0f);
}

TEST(IncrementalSmoothing, EditsBetweenCallsAreSeen) {
    const Edit edits[] = {
        {"nothing changed", [](TrackLayer&) {}, 0},
        {"the last point deleted", [](TrackLayer& l) { l.erase(l.last()); }, 0},
        {"a point 5 before the last deleted", [](TrackLayer& l) { l.erase(pointBack(l, 5)); }, 0},
        {"two points 40 back deleted",
         [](TrackLayer& l) {
             l.erase(pointBack(l, 40));
             l.erase(pointBack(l, 40));
         },
         0},
        {"altitude 150 back changed", [](TrackLayer& l) { pointBack(l, 150)->altitude += 9.0f; },
         0},
        {"time of the last changed", [](TrackLayer& l) { l.last()->time += 20.0 / kSecondsPerDay; },
         0},
        {"two points appended",
         [](TrackLayer& l) {
             appendAfterLast(l, 300.0f);
             appendAfterLast(l, 320.0f);
         },
         0},
        {"a segment starts 50 back",
         [](TrackLayer& l) { pointBack(l, 50)->flags |= kSegmentStart; }, 0},
        {"that segment start cleared",
         [](TrackLayer& l) { pointBack(l, 50)->flags &= ~kSegmentStart; }, 0},
        {"a point inside the layer", [](TrackLayer&) {}, 120},
        {"a point inserted 3 back", [](TrackLayer& l) { insertAfter(l, *pointBack(l, 4)); }, 0},
        {"the distance 2 back changed", [](TrackLayer& l) { pointBack(l, 2)->distNextKm *= 2.0f; },
         0},
    };
    Track twins[2];
    for (Track& track : twins)
        for (int i = 0; i < 400; ++i)
            appendStored(track.main(), 3.0 * i, 1, i == 150 ? kSegmentEnd : 0u,
                         100.0f + static_cast<float>(i % 7), static_cast<float>(i % 11));
    for (const Edit& edit : edits) {
        edit.apply(twins[0].main());
        edit.apply(twins[1].main());
        smoothAround(*pointBack(twins[0].main(), edit.aroundBack), 30);
        {
            SmoothingMode plainly(false);
            smoothAround(*pointBack(twins[1].main(), edit.aroundBack), 30);
        }
        const std::string difference = compareLayers(twins[0], twins[1]);
        ASSERT_TRUE(difference.empty()) << edit.legend << ": " << difference;
    }
}

}  // namespace
}  // namespace wendra::test
