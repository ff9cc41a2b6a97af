// Our own line drawer against Qt's stroker with the pens the surface used to give it:
// every pixel one of them draws lies within a pixel of one the other draws.

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QPen>
#include <random>
#include <vector>

#include "platform/LineRaster.h"

namespace wendra::platform {
namespace {

constexpr int kSide = 120;
constexpr Pixel16 kInk = 0xF800;

PixelBuffer byQt(const std::vector<Point>& points, int width) {
    PixelBuffer buffer({kSide, kSide});
    QImage image(reinterpret_cast<uchar*>(buffer.data()), kSide, kSide, kSide * 2,
                 QImage::Format_RGB16);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, false);
    QPen pen(QColor(255, 0, 0));
    pen.setWidth(width);
    pen.setCapStyle(width == 1 ? Qt::FlatCap : Qt::RoundCap);
    pen.setJoinStyle(width == 1 ? Qt::MiterJoin : Qt::RoundJoin);
    painter.setPen(pen);
    QPolygon polygon;
    for (const Point& p : points) polygon << QPoint(p.x, p.y);
    painter.drawPolyline(polygon);
    return buffer;
}

PixelBuffer byRaster(const std::vector<Point>& points, const Pen& pen, Rect clip) {
    PixelBuffer buffer({kSide, kSide});
    LineRaster raster;
    raster.draw(buffer, clip, pen, points);
    return buffer;
}

// Pixels of `a` with no inked pixel of `b` in the 3 x 3 around them.
int strays(const PixelBuffer& a, const PixelBuffer& b) {
    int n = 0;
    for (int y = 0; y < kSide; ++y) {
        for (int x = 0; x < kSide; ++x) {
            if (a.at(x, y) != kInk) continue;
            bool near = false;
            for (int dy = -1; dy <= 1 && !near; ++dy)
                for (int dx = -1; dx <= 1 && !near; ++dx) near = b.at(x + dx, y + dy) == kInk;
            n += !near;
        }
    }
    return n;
}

int inked(const PixelBuffer& buffer) {
    return static_cast<int>(std::count(buffer.data(), buffer.data() + kSide * kSide, kInk));
}

// A wandering track of short steps, like a decimated track on the screen.
std::vector<Point> walk(unsigned seed, int steps, double length) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> turn(-1.2, 1.2);
    std::vector<Point> points;
    double x = kSide / 2.0, y = kSide / 2.0, heading = seed;
    for (int i = 0; i < steps; ++i) {
        points.push_back(Point{static_cast<int>(std::lround(x)), static_cast<int>(std::lround(y))});
        heading += turn(random);
        x = std::clamp(x + length * std::cos(heading), 10.0, kSide - 10.0);
        y = std::clamp(y + length * std::sin(heading), 10.0, kSide - 10.0);
    }
    return points;
}

TEST(LineRaster, DrawsWithinAPixelOfQtAtEveryWidth) {
    struct Case {
        const char* legend;
        std::vector<Point> points;
    };
    const Case cases[] = {
        {"horizontal", {{10, 40}, {100, 40}}},
        {"steep, then back", {{20, 10}, {30, 110}, {90, 15}}},
        {"sharp turns", {{10, 10}, {110, 60}, {10, 70}, {100, 110}}},
        {"track of 3-pixel steps", walk(3, 200, 3.0)},
        {"track of 2-pixel steps", walk(5, 300, 2.0)},
    };
    for (const Case& c : cases) {
        for (int width : {1, 2, 3, 5, 7}) {
            SCOPED_TRACE(testing::Message() << c.legend << ", width " << width);
            const PixelBuffer qt = byQt(c.points, width);
            const PixelBuffer ours = byRaster(c.points, Pen{PenStyle::Solid, width, rgb(255, 0, 0)},
                                              Rect{0, 0, kSide, kSide});
            EXPECT_EQ(strays(ours, qt), 0);
            EXPECT_EQ(strays(qt, ours), 0);
            // Neither is a pixel wider than the other all along.
            EXPECT_NEAR(inked(ours), inked(qt), inked(qt) * 0.2 + 4);
        }
    }
}

TEST(LineRaster, OnePixelLinesLeaveOutTheirLastPixelOnly) {
    const std::vector<Point> corner = {{10, 20}, {50, 20}, {50, 60}};
    const PixelBuffer ours =
        byRaster(corner, Pen{PenStyle::Solid, 1, rgb(255, 0, 0)}, Rect{0, 0, kSide, kSide});
    EXPECT_EQ(inked(ours), 80);
    EXPECT_EQ(ours.at(50, 20), kInk) << "the corner joins both";
    EXPECT_NE(ours.at(50, 60), kInk);
    const std::vector<Point> dot = {{30, 30}, {30, 30}};
    EXPECT_EQ(inked(byRaster(dot, Pen{PenStyle::Solid, 1, 0}, Rect{0, 0, kSide, kSide})), 0);
    EXPECT_GT(
        inked(byRaster(dot, Pen{PenStyle::Solid, 3, rgb(255, 0, 0)}, Rect{0, 0, kSide, kSide})), 4)
        << "a wide pen leaves a round dot";
}

TEST(LineRaster, DashesRunOnAcrossCornersAndClipHoldsEverything) {
    // 6 on, 2 off per pen width: three quarters of the way is inked.
    const std::vector<Point> corner = {{10, 20}, {90, 20}, {90, 100}};
    const PixelBuffer dashed =
        byRaster(corner, Pen{PenStyle::Dash, 1, rgb(255, 0, 0)}, Rect{0, 0, kSide, kSide});
    EXPECT_NEAR(inked(dashed), 160 * 3 / 4, 4);

    // Far ends, through the clip: only the clip's pixels, none beside it.
    const std::vector<Point> far = {{-1000000, 50}, {1000000, 50}, {60, -3000000}};
    const Rect clip{20, 20, 100, 100};
    const PixelBuffer clipped = byRaster(far, Pen{PenStyle::Solid, 5, rgb(255, 0, 0)}, clip);
    int outside = 0;
    for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide; ++x)
            outside += clipped.at(x, y) == kInk && !clip.contains({x, y});
    EXPECT_EQ(outside, 0);
    EXPECT_EQ(clipped.at(20, 50), kInk);
    EXPECT_EQ(clipped.at(99, 52), kInk);
}

}  // namespace
}  // namespace wendra::platform
