#include <gtest/gtest.h>

#include <vector>

#include "TrackFixtures.h"

namespace wendra::test {
namespace {

std::vector<TrackPoint*> fill(TrackLayer& layer, int n) {
    std::vector<TrackPoint*> all;
    for (int i = 0; i < n; ++i) all.push_back(&appendStored(layer, i));
    return all;
}

TEST(TrackLayer, DeletedPointHandsItsSelectionEndToAPreviousOrNextPoint) {
    TrackLayer layer(true);
    auto all = fill(layer, 3);
    layer.selection.cursor = all[1];
    layer.selection.anchor = all[0];
    layer.erase(all[1]);
    EXPECT_EQ(layer.selection.cursor, all[0]);
    layer.erase(all[0]);
    EXPECT_EQ(layer.selection.cursor, all[2]);
    EXPECT_EQ(layer.selection.anchor, all[2]);
    EXPECT_EQ(layer.first(), all[2]);
    EXPECT_EQ(layer.count(), 1);
    layer.erase(all[2]);
    EXPECT_EQ(layer.selection.cursor, nullptr);
    EXPECT_EQ(layer.selection.anchor, nullptr);
    EXPECT_TRUE(layer.empty());
    EXPECT_EQ(layer.last(), nullptr);
}

TEST(TrackLayer, LoadedLayersHaveNoSelectionToFollow) {
    TrackLayer layer;
    auto all = fill(layer, 2);
    layer.selection.cursor = all[1];  // never set outside the main layer
    layer.erase(all[1]);
    EXPECT_EQ(layer.selection.cursor, all[1]);
}

TEST(TrackLayer, DeletingPointsDropsTheReferencesIntoThem) {
    TrackLayer layer(true);
    auto all = fill(layer, 5);
    layer.thinCursor = all[3];
    layer.thinCursorWeight = 1;
    layer.tail = all[4];
    layer.drawHead = all[0];
    layer.erase(all[3]);
    EXPECT_EQ(layer.thinCursor, nullptr);
    EXPECT_EQ(layer.thinCursorWeight, -1);
    EXPECT_EQ(layer.drawHead, nullptr);
    layer.erase(all[4]);
    EXPECT_EQ(layer.tail, all[2]);
    EXPECT_EQ(layer.last(), all[2]);
}

TEST(TrackLayer, ChainAlreadyCutOutCanBeDeletedWithoutTouchingItsBorders) {
    TrackLayer layer(true);
    auto all = fill(layer, 6);
    all[1]->next = all[4];  // the editor joins the borders first
    all[4]->prev = all[1];
    layer.eraseRange(all[2], all[3]);
    EXPECT_EQ(layer.count(), 4);
    EXPECT_EQ(all[1]->next, all[4]);
    EXPECT_EQ(all[4]->prev, all[1]);
    layer.eraseRange(all[0], all[0]);
    EXPECT_EQ(layer.first(), all[1]);
    EXPECT_EQ(all[1]->prev, nullptr);
}

TEST(TrackLayer, InsertsAtTheFrontAndNumbersPoints) {
    TrackLayer layer;
    auto all = fill(layer, 2);
    TrackPoint* front = layer.insertAfter(nullptr);
    EXPECT_EQ(layer.first(), front);
    EXPECT_EQ(front->next, all[0]);
    EXPECT_EQ(all[0]->prev, front);
    EXPECT_EQ(layer.last(), all[1]);
    layer.numberPoints();
    EXPECT_EQ(front->index, 0);
    EXPECT_EQ(all[1]->index, 2);
}

TEST(ClearLayer, EmptiesTheMainLayerSelectionMergeAndBounds) {
    Track track;
    int viewResets = 0;
    track.onMainCleared = [&] { ++viewResets; };
    for (int i = 0; i < 3; ++i) track.addFix(fixAt(100.0 * i, i), true);
    track.addFix(fixAt(200.1, 4), true);  // merging into the last point
    track.main().selection.cursor = track.main().first();
    track.main().selection.anchor = track.main().last();
    track.main().selection.cursorPlaced = true;
    track.bounds.minLon = 0.01;
    track.clearLayer(0);
    EXPECT_TRUE(track.main().empty());
    EXPECT_EQ(track.main().count(), 0);
    EXPECT_EQ(track.main().selection.cursor, nullptr);
    EXPECT_EQ(track.main().selection.anchor, nullptr);
    EXPECT_EQ(track.main().merge.count, 1);
    EXPECT_EQ(track.bounds.minLon, kNoValue);
    EXPECT_EQ(track.bounds.maxLat, -kNoValue);
    EXPECT_EQ(viewResets, 1);
    EXPECT_FALSE(track.lock().held());
    EXPECT_FALSE(track.lock().word().test(platform::LockWord::kPaintLock));
}


// Moves the point a little north, through setPointValues as every editor does.
void set(TrackPoint& p) {
    setPointValues(p, PointValues{.lon = p.lon, .lat = p.lat + 1e-7, .time = p.time, .flags = 0},
                   0.001);
}

// What the view may continue from: only changes at the end of the layer keep its
// first points as they were.
TEST(TrackLayer, TellsChangesAtTheEndFromEveryOtherChange) {
    struct Case {
        const char* legend;
        void (*change)(Track& track, const std::vector<TrackPoint*>& all);
        bool atEnd;
    };
    const Case cases[] = {
        {"a point appended", [](Track& t, auto&) { appendStored(t.main(), 10); }, true},
        {"the last point's values set", [](Track&, auto& all) { set(*all[4]); }, true},
        {"the segment ended at the last point",
         [](Track& t, auto&) { t.endSegment(u".Test"); }, true},
        {"the second-last point's values set, and so the third-last's distance",
         [](Track&, auto& all) { set(*all[3]); }, false},
        {"a middle point's values set", [](Track&, auto& all) { set(*all[2]); }, false},
        {"a point inserted before the last", [](Track& t, auto& all) { t.main().insertAfter(all[3]); },
         false},
        {"the last point deleted", [](Track& t, auto& all) { t.main().erase(all[4]); }, false},
        {"the first point deleted (trailing)", [](Track& t, auto& all) { t.main().erase(all[0]); },
         false},
    };
    for (const Case& c : cases) {
        Track track;
        const std::vector<TrackPoint*> all = fill(track.main(), 5);
        const std::uint64_t before = track.main().revision();
        c.change(track, all);
        EXPECT_GT(track.main().revision(), before) << c.legend;
        EXPECT_EQ(track.main().onlyEndChangedSince(before), c.atEnd) << c.legend;
        // Later changes at the end do not make up for an earlier one elsewhere.
        appendStored(track.main(), 20);
        EXPECT_EQ(track.main().onlyEndChangedSince(before), c.atEnd) << c.legend;
    }
}

}  // namespace
}  // namespace wendra::test
