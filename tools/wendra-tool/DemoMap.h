#pragma once
// The demo map: a picture of the simulated walk's ground that the program draws
// itself (streets along the walk, a river, a coordinate grid), saved as JPEG with
// its ".map" calibration beside it. The ground is north-up in plain degrees.

#include <string>
#include <vector>

#include "platform/Geometry.h"
#include "platform/PixelBuffer.h"
#include "platform/Rgb16.h"
#include "simulator/SimulationOptions.h"

namespace wendra::tool {

// The walk's own street, drawn wide enough that the recorded track runs on it.
inline constexpr platform::ColorRef kWalkStreetColour = platform::rgb(255, 200, 80);
inline constexpr int kWalkStreetWidth = 14;

// A number with a decimal point whatever the locale.
std::string fixedDecimals(double value, int decimals);

struct GeoPoint {
    double latitude = 0;
    double longitude = 0;
};

// The ground covered: the walk's box plus a margin, and the picture's size.
struct DemoGround {
    double north = 0, south = 0, west = 0, east = 0;
    int width = 0, height = 0;
    double metresPerPixel = 0;

    // The pixel (from the top-left) that the calibration puts the position on.
    platform::Point pixelOf(GeoPoint p) const;
    GeoPoint positionOf(double x, double y) const;
};

// Where the walker truly is, once a second, for the options' whole run.
std::vector<GeoPoint> walkPath(const sim::SimulationOptions& options);
// Empty when the walk cannot be mapped (it crosses the date line or a pole).
std::string groundProblem(const std::vector<GeoPoint>& path);
DemoGround groundOf(const std::vector<GeoPoint>& path);

// The calibration file's text for the picture `imageName`, WGS 84, four corner points.
std::string calibrationText(const DemoGround& ground, const std::string& title,
                            const std::string& imageName);

// The picture itself, drawn through the drawing surface.
platform::PixelBuffer drawDemoMap(const DemoGround& ground, const std::vector<GeoPoint>& path);

// Writes FILE.jpg and FILE.map for the options' walk; bad input or a failed write
// ends the program through fail().
void writeDemoMap(const sim::SimulationOptions& options, const std::string& jpegPath);

}  // namespace wendra::tool
