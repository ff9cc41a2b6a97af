#pragma once
// Plane points and the crossing of two lines, the one construction the map geometry
// is built from: a map's vanishing points, the pixel of a position, the corners of an
// imported calibration. Coordinates are whatever the caller works in (pixels, or
// longitude and latitude); nothing here checks that they are finite.

namespace wendra::maps {

struct PlanePoint {
    double x = 0.0;
    double y = 0.0;
};

enum class LineCrossing : int {
    Parallel = 0,    // no point
    OffSegment = 1,  // the lines cross outside the first segment
    OnSegment = 2,   // the crossing lies on the first segment (its ends included)
};

struct LineIntersection {
    LineCrossing crossing = LineCrossing::Parallel;
    PlanePoint point;
};

// Line A through p1 and p2, line B through p3 and p4. Lines whose direction cross
// product is below 1e-8 in magnitude count as parallel.
LineIntersection intersectLines(PlanePoint p1, PlanePoint p2, PlanePoint p3, PlanePoint p4);

}  // namespace wendra::maps
