#include "view/Balloons.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "records/UnitFormat.h"
#include "view/StatusIcons.h"

namespace wendra {

namespace {

using platform::Point;
using platform::Rect;

constexpr int kPadding = 3;
constexpr int kPointerHeight = 10;
constexpr int kPointerHalfWidth = 5;
constexpr int kArrowHalf = 8;  // the course arrow's half length

// The alert column's content height and width, 0 wide when the balloon has none.
struct Column {
    int width = 0;
    int height = 0;
    int icon = 0;
    Rect speed{};
};

Column measureColumn(platform::DrawingSurface& surface, const Balloon& b, const BalloonStyle& style,
                     std::u16string& speedText) {
    Column c;
    if (!b.hasAlert) return c;
    const int m = style.metrics.m;
    const platform::Size icon =
        style.statusIcons ? style.statusIcons->imageSize() : platform::Size{};
    c.icon = icon.height;
    c.width = icon.width;
    c.height = icon.height;
    if (b.ifSpeed) {
        appendSpeed(speedText, b.speedKmh, style.unitSystem);
        c.speed = surface.measureText(speedText, Rect{0, 0, 1000 * m, 1000 * m},
                                      platform::text::kSingleLine);
        c.width = std::max(c.width, c.speed.width());
        c.height += c.speed.height();
    }
    if (b.ifCourse) {
        c.width = std::max(c.width, 2 * kArrowHalf * m);
        c.height += 2 * kArrowHalf * m + m;
    }
    c.width += 2 * kPadding * m;
    return c;
}

void drawCourseArrow(platform::DrawingSurface& surface, Point centre, double degrees, int half,
                     platform::ColorRef ink, int m) {
    const double a = degrees * std::numbers::pi / 180.0;
    const auto at = [&](double along, double across) {
        return Point{
            centre.x + static_cast<int>(std::lround(std::sin(a) * along + std::cos(a) * across)),
            centre.y + static_cast<int>(std::lround(-std::cos(a) * along + std::sin(a) * across))};
    };
    surface.setPen(platform::Pen{platform::PenStyle::Solid, m, ink});
    surface.line(at(-half, 0), at(half, 0));
    surface.setBrush(platform::Brush{false, ink});
    const Point head[] = {at(half, 0), at(half / 3.0, -half / 2.0), at(half / 3.0, half / 2.0)};
    surface.polygon(head);
}

void drawColumn(platform::DrawingSurface& surface, const Balloon& b, const Column& c,
                const Rect& box, const BalloonStyle& style, const std::u16string& speedText) {
    const int m = style.metrics.m;
    const int left = box.right - c.width;
    surface.setPen(platform::Pen{platform::PenStyle::Solid, 1, style.colours.draw});
    surface.line(Point{left, box.top}, Point{left, box.bottom - 1});
    const int middle = left + c.width / 2;
    int y = box.top + kPadding * m;
    if (style.statusIcons) {
        const platform::Size icon = style.statusIcons->imageSize();
        surface.drawImage(*style.statusIcons, statusicon::kAlert,
                          Point{middle - icon.width / 2, y});
        y += c.icon;
    }
    if (b.ifSpeed) {
        surface.drawText(speedText, Rect{left, y, box.right, y + c.speed.height()},
                         platform::text::kCentre | platform::text::kSingleLine);
        y += c.speed.height();
    }
    if (b.ifCourse) {
        const int half = kArrowHalf * m;
        drawCourseArrow(surface, Point{middle, y + half + m}, b.course - style.rotation, half,
                        style.colours.draw, m);
    }
}

}  // namespace

void BalloonRing::push(Balloon balloon) {
    ring_[count_ % kCapacity] = std::move(balloon);
    ++count_;
}

const Balloon& BalloonRing::operator[](int index) const {
    const int oldest = count_ < kCapacity ? 0 : count_ % kCapacity;
    return ring_[(oldest + index) % kCapacity];
}

Rect drawBalloon(platform::DrawingSurface& surface, const Balloon& b, const Rect& area,
                 const BalloonStyle& style) {
    const int m = style.metrics.m;
    const int pad = kPadding * m;
    surface.setFont(style.metrics.smallFont());
    const Rect room{0, 0, std::max(1, area.width() - 2 * pad), std::max(1, area.height())};
    const Rect text =
        b.text.empty() ? Rect{} : surface.measureText(b.text, room, platform::text::kCentre);
    std::u16string speedText;
    const Column column = measureColumn(surface, b, style, speedText);
    const int width = text.width() + 2 * pad + column.width;
    const int height = std::max(text.height(), column.height) + 2 * pad;
    const int pointer = kPointerHeight * m;
    const int left =
        std::clamp(b.at.x - width / 2, area.left, std::max(area.left, area.right - width));
    int top = b.at.y - pointer - height;
    const bool below = top < area.top;
    if (below) top = b.at.y + pointer;
    const Rect box{left, top, left + width, top + height};

    // Box and pointer as one outline, the pointer's base on the side facing the point.
    const int baseY = below ? box.top : box.bottom - 1;
    const int baseX = std::clamp(
        b.at.x, box.left + 2 * kPointerHalfWidth * m,
        std::max(box.left + 2 * kPointerHalfWidth * m, box.right - 2 * kPointerHalfWidth * m));
    const int half = kPointerHalfWidth * m;
    const Point top0{box.left, box.top}, top1{box.right - 1, box.top};
    const Point bottom0{box.left, box.bottom - 1}, bottom1{box.right - 1, box.bottom - 1};
    std::vector<Point> outline;
    if (below) {
        outline = {
            top0,   Point{baseX - half, baseY}, b.at, Point{baseX + half, baseY}, top1, bottom1,
            bottom0};
    } else {
        outline = {
            top0,   top1, bottom1, Point{baseX + half, baseY}, b.at, Point{baseX - half, baseY},
            bottom0};
    }
    surface.setPen(platform::Pen{platform::PenStyle::Solid, 1, style.colours.draw});
    surface.setBrush(platform::Brush{false, style.colours.back});
    surface.polygon(outline);

    surface.setTextColour(style.colours.draw);
    surface.setTransparentText(true);
    const Rect textBox{box.left + pad, box.top + pad, box.right - column.width - pad,
                       box.bottom - pad};
    surface.drawText(b.text, textBox, platform::text::kCentre);
    if (b.hasAlert) drawColumn(surface, b, column, box, style, speedText);
    return box;
}

}  // namespace wendra
