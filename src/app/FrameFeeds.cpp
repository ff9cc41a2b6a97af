#include "app/FrameFeeds.h"

#include "view/StatusIcons.h"

namespace wendra {

FrameFeeds::FrameFeeds(points::PointStore& store, const points::IconList& icons,
                       maps::MapCatalogue& maps, const ViewGeometry& view)
    : points_(store, view), icons_(icons), maps_(maps), view_(view) {}

void FrameFeeds::fill(FrameData& data, const Configuration& config, const LatLon* gps) {
    data.colours = config.colours;
    data.maps = &maps_;
    data.mapLoading = maps_.shared().loadRunning.load(std::memory_order_acquire);
    data.frame.bestMapScale = [this](double latitude, double longitude) {
        return maps_.bestMapScale(latitude, longitude);
    };
    points_.setFrom(gps);
    data.points = &points_;
    data.frame.fitPoints = points_.fitPoints();
    data.pointIcons = &icons_.images();
    data.navigation = &navigation_;
    data.frame.navigating = navigation_.navigation().navigating;
    data.buttons = &buttons_;
    if (statusMultiplier_ != view_.pixelMultiplier()) {
        statusMultiplier_ = view_.pixelMultiplier();
        statusIcons_ = makeStatusIcons(statusMultiplier_);
    }
    data.statusIcons = &statusIcons_;
}

}  // namespace wendra
