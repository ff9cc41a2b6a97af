#pragma once
// What recording needs of the map view: its rotation and reference latitude at the
// moment a point is recorded, and the "Static rotation" option. The view sets it.

namespace wendra {

struct TrackViewFrame {
    int thetaDegrees = 0;         // the view's rotation, whole degrees
    double refLat = 0.0;          // the view centre's latitude / 180
    bool staticRotation = false;  // merged fixes also update the last point's heading
};

}  // namespace wendra
