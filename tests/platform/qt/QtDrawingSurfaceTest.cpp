#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "QtTestApplication.h"
#include "platform/qt/QtDrawingSurface.h"

namespace wendra::test {
namespace {

using platform::Brush;
using platform::ColorRef;
using platform::Font;
using platform::Pen;
using platform::PenStyle;
using platform::Pixel16;
using platform::PixelBuffer;
using platform::Point;
using platform::Rect;
using platform::rgb;
using platform::Size;
using platform::qt::QtDrawingSurface;

constexpr ColorRef kWhite = rgb(255, 255, 255);
constexpr ColorRef kBlack = rgb(0, 0, 0);
constexpr ColorRef kRed = rgb(255, 0, 0);
constexpr ColorRef kBlue = rgb(0, 0, 255);
const Pixel16 kUnpaintedWhite = platform::toUnpaintedPixel16(kWhite);

Pixel16 px(ColorRef colour) {
    return platform::toPixel16(colour);
}

class DrawingSurfaceTest : public ::testing::Test {
protected:
    DrawingSurfaceTest() : buffer(Size{120, 80}, kUnpaintedWhite), surface(buffer) {}

    // The rows (for a vertical cut) or columns (horizontal) where the colour is.
    std::vector<int> rowsAt(int x, Pixel16 pixel) {
        surface.flush();
        std::vector<int> rows;
        for (int y = 0; y < buffer.height(); ++y)
            if (buffer.at(x, y) == pixel) rows.push_back(y);
        return rows;
    }
    std::vector<int> columnsAt(int y, Pixel16 pixel) {
        surface.flush();
        std::vector<int> columns;
        for (int x = 0; x < buffer.width(); ++x)
            if (buffer.at(x, y) == pixel) columns.push_back(x);
        return columns;
    }
    int count(Pixel16 pixel) {
        surface.flush();
        int n = 0;
        for (int y = 0; y < buffer.height(); ++y)
            for (int x = 0; x < buffer.width(); ++x) n += buffer.at(x, y) == pixel;
        return n;
    }

    PixelBuffer buffer;
    QtDrawingSurface surface;
};

std::vector<int> range(int from, int to) {
    std::vector<int> values;
    for (int v = from; v < to; ++v) values.push_back(v);
    return values;
}

TEST_F(DrawingSurfaceTest, FillsExactlyTheRectangleInTheBuffersColour) {
    surface.fillRect(Rect{10, 5, 20, 8}, rgb(0x12, 0x34, 0x56));
    EXPECT_EQ(count(0x118A), 30);  // 0x12>>3, 0x34>>3, 0x56>>3 packed, bit 5 clear
    EXPECT_EQ(columnsAt(5, 0x118A), range(10, 20));
    EXPECT_EQ(rowsAt(10, 0x118A), range(5, 8));
}

TEST_F(DrawingSurfaceTest, RectangleOutlinesItsOutermostPixelsAndFillsInside) {
    surface.setPen(Pen{PenStyle::Solid, 1, kRed});
    surface.setBrush(Brush{false, kBlue});
    surface.rectangle(Rect{10, 10, 30, 20});
    EXPECT_EQ(columnsAt(10, px(kRed)), range(10, 30)) << "top edge";
    EXPECT_EQ(columnsAt(19, px(kRed)), range(10, 30)) << "bottom edge";
    EXPECT_EQ(rowsAt(29, px(kRed)), range(10, 20)) << "right edge";
    EXPECT_EQ(count(px(kBlue)), 18 * 8) << "inside";
    EXPECT_EQ(buffer.at(30, 15), kUnpaintedWhite) << "nothing beyond the right edge";

    surface.setPen(Pen{PenStyle::None, 1, kRed});
    surface.setBrush(Brush{false, kBlack});
    surface.rectangle(Rect{50, 50, 54, 53});
    EXPECT_EQ(count(px(kBlack)), 12) << "without a pen, exactly the area";
}

TEST_F(DrawingSurfaceTest, PenWidthWidensTheLineAroundItsPath) {
    struct Case {
        const char* legend;
        int width;
        std::vector<int> rows;
    };
    const Case cases[] = {
        {"width 0 draws as 1", 0, {40}},
        {"one pixel", 1, {40}},
        {"three pixels", 3, {39, 40, 41}},
        {"five pixels", 5, {38, 39, 40, 41, 42}},
    };
    for (const Case& c : cases) {
        buffer.fill(kUnpaintedWhite);
        surface.setPen(Pen{PenStyle::Solid, c.width, kBlack});
        surface.line(Point{20, 40}, Point{100, 40});
        EXPECT_EQ(rowsAt(60, px(kBlack)), c.rows) << c.legend;
    }
    buffer.fill(kUnpaintedWhite);
    surface.setPen(Pen{PenStyle::Solid, 1, kBlack});
    surface.line(Point{20, 40}, Point{100, 40});
    EXPECT_EQ(columnsAt(40, px(kBlack)), range(20, 100)) << "a thin line leaves out its last pixel";
}

TEST_F(DrawingSurfaceTest, DashedPenAlternatesLongDashesAndShortGaps) {
    surface.setPen(Pen{PenStyle::Dash, 1, kBlack});
    surface.line(Point{0, 10}, Point{120, 10});
    const std::vector<int> on = columnsAt(10, px(kBlack));
    ASSERT_FALSE(on.empty());
    // Run lengths along the line: every dash 6 long, every gap 2 (the last dash
    // may be cut short by the line's end).
    std::vector<int> runs;
    std::set<int> gaps;
    int runStart = on.front();
    for (std::size_t i = 1; i <= on.size(); ++i) {
        if (i < on.size() && on[i] == on[i - 1] + 1) continue;
        runs.push_back(on[i - 1] - runStart + 1);
        if (i < on.size()) {
            gaps.insert(on[i] - on[i - 1] - 1);
            runStart = on[i];
        }
    }
    ASSERT_GT(runs.size(), 10u);
    const std::set<int> dashes(runs.begin(), runs.end() - 1);
    EXPECT_EQ(dashes, std::set<int>{6});
    EXPECT_EQ(gaps, std::set<int>{2});
    EXPECT_EQ(on.front(), 0);
}

TEST_F(DrawingSurfaceTest, EllipsePolygonAndPolylineStayInsideTheirShapes) {
    surface.setPen(Pen{PenStyle::Solid, 1, kBlack});
    surface.setBrush(Brush{false, kBlue});
    surface.ellipse(Rect{10, 10, 41, 31});
    surface.flush();
    EXPECT_EQ(buffer.at(25, 20), px(kBlue)) << "centre filled";
    EXPECT_EQ(buffer.at(10, 10), kUnpaintedWhite) << "corner of the box left alone";
    EXPECT_EQ(buffer.at(40, 30), kUnpaintedWhite);
    EXPECT_EQ(buffer.at(25, 10), px(kBlack)) << "top of the outline";
    EXPECT_EQ(buffer.at(10, 20), px(kBlack)) << "left of the outline";

    const Point triangle[] = {{60, 10}, {100, 10}, {60, 50}};
    surface.setBrush(Brush{false, kRed});
    surface.polygon(triangle);
    surface.flush();
    EXPECT_EQ(buffer.at(65, 15), px(kRed));
    EXPECT_EQ(buffer.at(95, 45), kUnpaintedWhite) << "outside the hypotenuse";

    surface.setBrush(Brush{true, kRed});
    const Point square[] = {{5, 60}, {15, 60}, {15, 70}, {5, 70}};
    surface.polygon(square);
    surface.flush();
    EXPECT_EQ(buffer.at(10, 65), kUnpaintedWhite) << "a hollow brush fills nothing";

    const Point zigzag[] = {{20, 60}, {30, 70}, {40, 60}};
    surface.polyline(zigzag);
    surface.flush();
    EXPECT_EQ(buffer.at(25, 65), px(kBlack));
    EXPECT_EQ(buffer.at(30, 61), kUnpaintedWhite) << "a polyline is not closed";
}

TEST_F(DrawingSurfaceTest, EveryPixelDrawnHasTheUnpaintedMarkCleared) {
    surface.setPen(Pen{PenStyle::Solid, 3, kWhite});
    surface.setBrush(Brush{false, rgb(0xFF, 0xFC, 0xFF)});  // green's third bit would set bit 5
    surface.ellipse(Rect{5, 5, 60, 50});
    surface.setPen(Pen{PenStyle::Dash, 1, rgb(0x07, 0xFF, 0x07)});
    surface.line(Point{0, 70}, Point{119, 0});
    surface.setFont(Font{8, 16, true});
    surface.setTextColour(kWhite);
    surface.setBackgroundColour(rgb(0, 0xFF, 0));
    surface.setTransparentText(false);
    surface.drawText(u"Wendra", Rect{60, 50, 120, 80}, platform::text::kLeft);
    surface.flush();
    const std::size_t unpainted = buffer.countUnpainted(buffer.bounds());
    EXPECT_LT(unpainted, static_cast<std::size_t>(120 * 80) - 1000) << "a good part was drawn";
    for (int y = 0; y < buffer.height(); ++y)
        for (int x = 0; x < buffer.width(); ++x) {
            const Pixel16 pixel = buffer.at(x, y);
            if (pixel != kUnpaintedWhite) {
                ASSERT_EQ(pixel & platform::kUnpaintedBit, 0) << "at " << x << "," << y;
            }
        }
}

TEST_F(DrawingSurfaceTest, TextLandsInTheBoxWhereTheAlignmentPutsIt) {
    surface.setFont(Font{7, 13, true});
    const Rect box{10, 10, 110, 70};
    const std::u16string text = u"Km/h";
    const Rect left = surface.measureText(text, box, platform::text::kLeft | platform::text::kTop);
    const Rect centre = surface.measureText(
        text, box,
        platform::text::kCentre | platform::text::kVCentre | platform::text::kSingleLine);
    const Rect right =
        surface.measureText(text, box, platform::text::kRight | platform::text::kBottom);
    EXPECT_EQ(left.left, box.left);
    EXPECT_EQ(left.top, box.top);
    EXPECT_EQ(right.right, box.right);
    EXPECT_EQ(right.bottom, box.bottom);
    EXPECT_NEAR((centre.left + centre.right) / 2.0, (box.left + box.right) / 2.0, 1.0);
    EXPECT_NEAR((centre.top + centre.bottom) / 2.0, (box.top + box.bottom) / 2.0, 1.0);
    EXPECT_LE(left.height(), 13) << "the font's line fits the cell height asked for";
    EXPECT_GE(left.height(), 11);

    const Rect twoLines = surface.measureText(u"Speed\nAltitude", box, platform::text::kLeft);
    EXPECT_EQ(twoLines.height(), 2 * left.height()) << "a line break makes a second line";
    const Rect oneLine = surface.measureText(u"Speed\nAltitude", box,
                                             platform::text::kLeft | platform::text::kSingleLine);
    EXPECT_EQ(oneLine.height(), left.height());

    surface.setTextColour(kBlack);
    surface.setTransparentText(true);
    const Rect drawn =
        surface.drawText(text, box, platform::text::kRight | platform::text::kBottom);
    EXPECT_EQ(drawn, right);
    surface.flush();
    int inside = 0;
    for (int y = 0; y < buffer.height(); ++y)
        for (int x = 0; x < buffer.width(); ++x) {
            if (buffer.at(x, y) == kUnpaintedWhite) continue;
            EXPECT_TRUE(drawn.contains(Point{x, y}))
                << "ink outside the text box at " << x << "," << y;
            EXPECT_EQ(buffer.at(x, y), px(kBlack)) << "no antialiasing greys";
            ++inside;
        }
    EXPECT_GT(inside, 20);
}

TEST_F(DrawingSurfaceTest, FontWidthAndOpaqueBackgroundFollowTheRequest) {
    const Rect box{0, 0, 120, 80};
    surface.setFont(Font{4, 13, false});
    const int narrow = surface.measureText(u"MMMMMMMMMM", box, platform::text::kSingleLine).width();
    surface.setFont(Font{9, 13, false});
    const int wide = surface.measureText(u"MMMMMMMMMM", box, platform::text::kSingleLine).width();
    EXPECT_GT(wide, narrow * 3 / 2) << narrow << " vs " << wide;

    surface.setTextColour(kBlack);
    surface.setBackgroundColour(kBlue);
    surface.setTransparentText(false);
    const Rect taken = surface.drawText(u"ii", Rect{10, 10, 110, 40}, platform::text::kLeft);
    surface.flush();
    EXPECT_EQ(buffer.at(taken.left, taken.top), px(kBlue)) << "the text's box is filled";
    EXPECT_EQ(buffer.at(taken.right, taken.top), kUnpaintedWhite) << "and nothing beyond it";
}

// A text is laid out once and drawn again from what was kept: wherever and in
// whatever colour it is drawn again, its letters are the same pixels.
TEST_F(DrawingSurfaceTest, ATextDrawnAgainElsewhereHasTheSameLetters) {
    surface.setFont(Font{6, 13, true});
    surface.setTransparentText(true);
    const std::u16string text = u"Camp 7";
    const auto inked = [&](Rect area) {
        std::set<std::pair<int, int>> at;
        for (int y = area.top; y < area.bottom; ++y)
            for (int x = area.left; x < area.right; ++x)
                if (buffer.at(x, y) != kUnpaintedWhite) at.insert({x - area.left, y - area.top});
        return at;
    };
    surface.setTextColour(kBlack);
    surface.drawText(text, Rect{2, 2, 60, 30}, platform::text::kLeft);
    surface.setTextColour(kRed);
    surface.drawText(text, Rect{61, 41, 119, 69}, platform::text::kLeft);
    surface.flush();
    const auto first = inked(Rect{2, 2, 60, 30});
    EXPECT_GT(first.size(), 20u);
    EXPECT_EQ(inked(Rect{61, 41, 119, 69}), first);
    EXPECT_EQ(count(px(kRed)), static_cast<int>(first.size())) << "in the second colour";
}

// Letters are kept a bit a pixel and written eight pixels at a time: a clip whose
// edges fall inside those eight keeps exactly the letters' pixels within it.
TEST_F(DrawingSurfaceTest, AClippedTextKeepsItsLettersWithinTheClip) {
    const Rect clips[] = {
        {0, 0, 120, 80},  // the whole buffer
        {13, 0, 120, 80}, {0, 0, 29, 80},  {17, 9, 22, 80},
        {21, 12, 71, 15}, {36, 0, 45, 80},  // within one glyph or two
        {90, 0, 120, 80},                   // beside the text: nothing
    };
    surface.setFont(Font{9, 20, true});
    surface.setTransparentText(true);
    surface.setTextColour(kBlack);
    const std::u16string text = u"Wendra Km 42";
    const Rect box{5, 5, 115, 40};
    const auto inked = [&] {
        surface.flush();
        std::set<std::pair<int, int>> at;
        for (int y = 0; y < buffer.height(); ++y)
            for (int x = 0; x < buffer.width(); ++x)
                if (buffer.at(x, y) == px(kBlack)) at.insert({x, y});
        return at;
    };
    surface.drawText(text, box, platform::text::kLeft);
    const std::set<std::pair<int, int>> whole = inked();
    ASSERT_GT(whole.size(), 100u);
    for (const Rect& clip : clips) {
        buffer.fill(kUnpaintedWhite);
        surface.setClip(clip);
        surface.drawText(text, box, platform::text::kLeft);
        surface.setClip(std::nullopt);
        std::set<std::pair<int, int>> expected;
        for (const auto& [x, y] : whole)
            if (clip.contains(Point{x, y})) expected.insert({x, y});
        EXPECT_EQ(inked(), expected)
            << clip.left << "," << clip.top << "," << clip.right << "," << clip.bottom;
    }
}

// A kept text draws the letters the same text drawn in a box of its size has, where
// and in the colour each placement says, until the surface forgets its layouts.
TEST_F(DrawingSurfaceTest, AKeptTextIsDrawnLikeTheTextInItsBoxUntilForgotten) {
    surface.setFont(Font{7, 13, true});
    surface.setTransparentText(true);
    const std::u16string text = u"Group 3\nPoint K7";
    const platform::Size size{60, 30};
    const auto inked = [&](Pixel16 pixel, Point origin) {
        surface.flush();
        std::set<std::pair<int, int>> at;
        for (int y = 0; y < buffer.height(); ++y)
            for (int x = 0; x < buffer.width(); ++x)
                if (buffer.at(x, y) == pixel) at.insert({x - origin.x, y - origin.y});
        return at;
    };
    surface.setTextColour(kBlack);
    surface.drawText(text, Rect{0, 0, size.width, size.height}, platform::text::kCentre);
    const auto letters = inked(px(kBlack), Point{0, 0});
    ASSERT_GT(letters.size(), 40u);

    buffer.fill(kUnpaintedWhite);
    const platform::TextHandle kept = surface.layOutText(text, size, platform::text::kCentre);
    ASSERT_TRUE(surface.holds(kept));
    const platform::PlacedText placed[] = {{kept, Point{55, 40}, kRed}, {kept, Point{3, 2}, kBlue}};
    surface.drawTexts(placed);
    EXPECT_EQ(inked(px(kRed), Point{55, 40}), letters);
    EXPECT_EQ(inked(px(kBlue), Point{3, 2}), letters);

    for (int i = 0; i < static_cast<int>(platform::qt::TextRunCache::kMostTexts); ++i)
        surface.measureText(u"n" + std::u16string(1, static_cast<char16_t>(u'0' + i % 10)) +
                                std::u16string(1, static_cast<char16_t>(0x100 + i / 10)),
                            Rect{0, 0, 120, 80}, platform::text::kLeft);
    EXPECT_FALSE(surface.holds(kept)) << "forgotten";
    buffer.fill(kUnpaintedWhite);
    surface.drawTexts(placed);
    EXPECT_EQ(count(kUnpaintedWhite), 120 * 80) << "a forgotten text is left out";
}

TEST_F(DrawingSurfaceTest, ClipKeepsShapesImagesAndBlocksInside) {
    surface.setClip(Rect{10, 10, 20, 20});
    surface.fillRect(Rect{0, 0, 120, 80}, kRed);
    PixelBuffer block(Size{30, 30}, px(kBlue));
    surface.copyBlock(block, block.bounds(), Point{15, 15});
    surface.setClip(std::nullopt);
    surface.fillRect(Rect{100, 70, 101, 71}, kBlack);
    EXPECT_EQ(count(px(kRed)), 100 - 25);
    EXPECT_EQ(count(px(kBlue)), 25);
    EXPECT_EQ(count(px(kBlack)), 1) << "the clip was lifted";
}

}  // namespace
}  // namespace wendra::test
