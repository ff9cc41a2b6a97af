#pragma once
// What every frame of the map view takes from the rest of the program beside the GPS,
// fed the same way to the window and to a frame the tool renders: the configured
// colours, the maps, the point store's drawn points with their icons, the status icons.
// Navigation and the on-screen buttons come from sources that have nothing yet.

#include "app/Configuration.h"
#include "app/PointFeed.h"
#include "maps/MapCatalogue.h"
#include "points/IconList.h"
#include "view/FrameSources.h"

namespace wendra {

class FrameFeeds {
public:
    FrameFeeds(points::PointStore& store, const points::IconList& icons, maps::MapCatalogue& maps,
               const ViewGeometry& view);

    // Fills all of `data` but the GPS side (fix, GPS state, battery, status text);
    // `gps` is the GPS position object, null while it has no position to measure from.
    void fill(FrameData& data, const Configuration& config, const LatLon* gps);

private:
    PointFeed points_;
    NotNavigating navigation_;
    NoButtons buttons_;
    const points::IconList& icons_;
    maps::MapCatalogue& maps_;
    const ViewGeometry& view_;
    platform::ImageList statusIcons_;
    int statusMultiplier_ = 0;  // what statusIcons_ was made for
};

}  // namespace wendra
