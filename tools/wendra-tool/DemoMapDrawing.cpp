// The demo map's picture: a light ground, a river, cross streets, the walk's own
// street drawn wide, and a grid labelled at round degrees.

#include <cmath>
#include <numbers>
#include <string>

#include "DemoMap.h"
#include "platform/qt/OffscreenDrawing.h"

namespace wendra::tool {

namespace {

using platform::ColorRef;
using platform::DrawingSurface;
using platform::Pen;
using platform::Point;
using platform::rgb;

constexpr ColorRef kGround = rgb(244, 241, 230);
constexpr ColorRef kWater = rgb(150, 195, 235);
constexpr ColorRef kCasing = rgb(185, 175, 160);
constexpr ColorRef kSideStreet = rgb(255, 255, 255);
constexpr ColorRef kGridLine = rgb(120, 120, 140);
constexpr ColorRef kLabel = rgb(60, 60, 80);
constexpr int kRiverWidth = 36;
constexpr int kCrossStreets = 7;
constexpr double kCrossStreetHalfMetres = 350;
constexpr double kMinStep = 2;  // pixels between the walk street's points

// The river: a slow meander across the ground, a fifth of the way up from the bottom.
void drawRiver(DrawingSurface& s, const DemoGround& g) {
    std::vector<Point> bank;
    for (int x = -40; x <= g.width + 40; x += 10) {
        const double wave = std::sin(x * 2.6 * std::numbers::pi / g.width);
        bank.push_back({x, static_cast<int>(g.height * (0.93 + 0.03 * wave) - x * 0.12)});
    }
    s.setPen(Pen{platform::PenStyle::Solid, kRiverWidth, kWater});
    s.polyline(bank);
}

// Streets across the walk at even steps along it, square to its way there.
void drawCrossStreets(DrawingSurface& s, const DemoGround& g, const std::vector<GeoPoint>& path) {
    const double half = kCrossStreetHalfMetres / g.metresPerPixel;
    for (int k = 1; k <= kCrossStreets; ++k) {
        const std::size_t at = path.size() * k / (kCrossStreets + 1);
        const Point a = g.pixelOf(path[at > 30 ? at - 30 : 0]);
        const Point b = g.pixelOf(path[std::min(path.size() - 1, at + 30)]);
        const Point c = g.pixelOf(path[at]);
        const double length = std::hypot(b.x - a.x, b.y - a.y);
        if (length < 1) continue;
        const double nx = -(b.y - a.y) / length, ny = (b.x - a.x) / length;
        const Point from{static_cast<int>(c.x - nx * half), static_cast<int>(c.y - ny * half)};
        const Point to{static_cast<int>(c.x + nx * half), static_cast<int>(c.y + ny * half)};
        s.setPen(Pen{platform::PenStyle::Solid, 13, kCasing});
        s.line(from, to);
        s.setPen(Pen{platform::PenStyle::Solid, 9, kSideStreet});
        s.line(from, to);
    }
}

void drawWalkStreet(DrawingSurface& s, const DemoGround& g, const std::vector<GeoPoint>& path) {
    std::vector<Point> points;
    for (const GeoPoint& p : path) {
        const Point q = g.pixelOf(p);
        if (points.empty() || std::hypot(q.x - points.back().x, q.y - points.back().y) >= kMinStep)
            points.push_back(q);
    }
    s.setPen(Pen{platform::PenStyle::Solid, kWalkStreetWidth + 6, kCasing});
    s.polyline(points);
    s.setPen(Pen{platform::PenStyle::Solid, kWalkStreetWidth, kWalkStreetColour});
    s.polyline(points);
}

// A round step for the grid: 4 to 10 lines along the long side.
double gridStep(const DemoGround& g) {
    const double span = std::max(g.east - g.west, g.north - g.south);
    for (double step : {0.001, 0.002, 0.005, 0.01, 0.02, 0.05, 0.1, 0.2, 0.5, 1.0})
        if (span / step <= 10) return step;
    return 1.0;
}

std::u16string label(double degrees, char16_t positive, char16_t negative) {
    const std::string digits = fixedDecimals(std::fabs(degrees), 3);
    std::u16string text(digits.begin(), digits.end());
    return text + u"\u00B0" + (degrees < 0 ? negative : positive);
}

void drawGrid(DrawingSurface& s, const DemoGround& g) {
    const double step = gridStep(g);
    s.setPen(Pen{platform::PenStyle::Dash, 1, kGridLine});
    s.setFont(platform::Font{0, 22, true});
    s.setTextColour(kLabel);
    s.setTransparentText(true);
    for (double k = std::ceil(g.south / step); k * step <= g.north; ++k) {
        const double lat = k * step;
        const int y = g.pixelOf({lat, g.west}).y;
        s.line({0, y}, {g.width, y});
        s.drawText(label(lat, u'N', u'S'), {6, y - 26, 300, y - 2}, platform::text::kSingleLine);
    }
    for (double k = std::ceil(g.west / step); k * step <= g.east; ++k) {
        const double lon = k * step;
        const int x = g.pixelOf({g.north, lon}).x;
        s.line({x, 0}, {x, g.height});
        s.drawText(label(lon, u'E', u'W'), {x + 6, 4, x + 300, 30}, platform::text::kSingleLine);
    }
}

}  // namespace

platform::PixelBuffer drawDemoMap(const DemoGround& ground, const std::vector<GeoPoint>& path) {
    platform::PixelBuffer picture({ground.width, ground.height});
    platform::qt::drawOffscreen(picture, [&](DrawingSurface& s) {
        s.fillRect(picture.bounds(), kGround);
        drawRiver(s, ground);
        drawCrossStreets(s, ground, path);
        drawWalkStreet(s, ground, path);
        drawGrid(s, ground);
    });
    return picture;
}

}  // namespace wendra::tool
