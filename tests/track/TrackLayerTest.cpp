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

}  // namespace
}  // namespace wendra::test
