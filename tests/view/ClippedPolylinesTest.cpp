#include <gtest/gtest.h>

#include <limits>
#include <vector>

#include "view/ClippedPolylines.h"

namespace wendra::test {
namespace {

using platform::Point;
using platform::Rect;

enum class Op { Move, Line, Style };

struct Step {
    Op op;
    double x = 0.0;
    double y = 0.0;
    std::uint16_t style = 0;
};

Step move(double x, double y) {
    return {Op::Move, x, y};
}
Step line(double x, double y) {
    return {Op::Line, x, y};
}
Step style(std::uint16_t value) {
    return {Op::Style, 0, 0, value};
}

struct Expected {
    std::uint16_t style;
    std::vector<Point> points;
};

constexpr double kFar = 1.0e12;
const double kNan = std::numeric_limits<double>::quiet_NaN();

TEST(ClippedPolylines, ClipsSkipsAndBreaksAsTheTableSays) {
    struct Case {
        const char* legend;
        std::vector<Step> steps;
        std::vector<Expected> runs;
    };
    // Clip [0, 100) x [0, 50).
    const std::vector<Case> cases = {
        {"inside: one run through every point",
         {move(10, 10), line(20, 10), line(20, 30)},
         {{0, {{10, 10}, {20, 10}, {20, 30}}}}},
        {"crossing from far left to far right: cut at both edges",
         {move(-kFar, 25), line(kFar, 25)},
         {{0, {{0, 25}, {99, 25}}}}},
        {"wholly outside: nothing",
         {move(-50, 10), line(-10, 40), line(-10, 80), line(150, 80)},
         {}},
        {"leaving and coming back: two runs",
         {move(50, 10), line(150, 10), line(150, 40), line(50, 40)},
         {{0, {{50, 10}, {99, 10}}}, {0, {{99, 40}, {50, 40}}}}},
        {"steps under a pixel are skipped until one reaches it",
         {move(10, 10), line(10.3, 10), line(10.6, 10), line(10.9, 10), line(11.2, 10)},
         {{0, {{10, 10}, {11, 10}}}}},
        {"a style change goes on from the same point",
         {move(10, 10), line(20, 10), style(8), line(30, 10)},
         {{0, {{10, 10}, {20, 10}}}, {8, {{20, 10}, {30, 10}}}}},
        {"a move breaks the line",
         {move(10, 10), line(20, 10), move(30, 10), line(40, 10)},
         {{0, {{10, 10}, {20, 10}}}, {0, {{30, 10}, {40, 10}}}}},
        {"a point that is not a number breaks the line",
         {move(10, 10), line(20, 10), line(kNan, 10), line(30, 10), line(40, 10)},
         {{0, {{10, 10}, {20, 10}}}, {0, {{30, 10}, {40, 10}}}}},
        {"a lone point draws nothing", {move(10, 10), move(20, 20)}, {}},
        {"vertices within a pixel of the line on are dropped, a bend is kept",
         {move(10, 10), line(20, 10.4), line(30, 9.6), line(40, 10), line(45, 14), line(50, 18)},
         {{0, {{10, 10}, {40, 10}, {50, 18}}}}},
        {"a path turning back keeps its turning point",
         {move(10, 10), line(30, 10), line(20, 10)},
         {{0, {{10, 10}, {30, 10}, {20, 10}}}}},
    };
    for (const Case& c : cases) {
        ClippedPolylines lines(Rect{0, 0, 100, 50});
        for (const Step& s : c.steps) {
            if (s.op == Op::Move) lines.moveTo({s.x, s.y});
            if (s.op == Op::Line) lines.lineTo({s.x, s.y});
            if (s.op == Op::Style) lines.setStyle(s.style);
        }
        lines.finish();
        ASSERT_EQ(lines.runs().size(), c.runs.size()) << c.legend;
        for (std::size_t i = 0; i < c.runs.size(); ++i) {
            const auto points = lines.points(lines.runs()[i]);
            EXPECT_EQ(lines.runs()[i].style, c.runs[i].style) << c.legend;
            EXPECT_EQ(std::vector<Point>(points.begin(), points.end()), c.runs[i].points)
                << c.legend << ", run " << i;
        }
    }
}

TEST(ClippedPolylines, KeepsEveryVertexOfAWildPathInsideTheClip) {
    const Rect clip{-8, -8, 808, 488};
    ClippedPolylines lines(clip);
    // A path that jumps between far places and the screen.
    const double xs[] = {400, 1e9, -1e9, 400, 3e5, -7, 812, 400, -1e15, 1e15};
    const double ys[] = {240, 240, 1e9, -1e9, 300, 900, -40, 240, 1e15, -1e15};
    lines.moveTo({xs[0], ys[0]});
    for (std::size_t i = 1; i < std::size(xs); ++i) lines.lineTo({xs[i], ys[i]});
    lines.finish();
    ASSERT_FALSE(lines.runs().empty());
    for (const auto& run : lines.runs())
        for (const Point p : lines.points(run)) EXPECT_TRUE(clip.contains(p)) << p.x << "," << p.y;
}

}  // namespace
}  // namespace wendra::test
