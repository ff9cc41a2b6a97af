#include "platform/qt/QtDrawingSurface.h"

#include <QFontMetrics>
#include <QPolygon>
#include <algorithm>
#include <vector>

#include "platform/qt/QtText.h"

namespace wendra::platform::qt {

namespace {

// The dash of a dashed pen, in pen widths: long dashes with short gaps.
constexpr qreal kDashLength = 6;
constexpr qreal kGapLength = 2;
constexpr int kMaxStretch = 4000;
const char* const kFontFamily = "DejaVu Sans";

QColor qtColour(ColorRef colour) {
    const ColorRef cut = quantised(colour);
    return QColor(static_cast<int>(redOf(cut)), static_cast<int>(greenOf(cut)),
                  static_cast<int>(blueOf(cut)));
}

QRect qtRect(const Rect& r) { return QRect(r.left, r.top, r.width(), r.height()); }
Rect fromQtRect(const QRect& r) { return Rect{r.left(), r.top(), r.right() + 1, r.bottom() + 1}; }

// An outline drawn on the outermost pixels: Qt strokes a QRect one pixel wider.
QRect outlineRect(const Rect& r) { return QRect(r.left, r.top, r.width() - 1, r.height() - 1); }

QPolygon qtPolygon(std::span<const Point> points) {
    QPolygon polygon(static_cast<int>(points.size()));
    for (std::size_t i = 0; i < points.size(); ++i)
        polygon.setPoint(static_cast<int>(i), points[i].x, points[i].y);
    return polygon;
}

QPen qtPen(const Pen& pen) {
    if (pen.style == PenStyle::None) return QPen(Qt::NoPen);
    QPen qpen(qtColour(pen.colour));
    const int width = std::max(pen.width, 1);
    qpen.setWidth(width);
    // A one-pixel line leaves out its last pixel, like the handheld's; wider ones
    // get round ends and joins.
    qpen.setCapStyle(width == 1 ? Qt::FlatCap : Qt::RoundCap);
    qpen.setJoinStyle(width == 1 ? Qt::MiterJoin : Qt::RoundJoin);
    if (pen.style == PenStyle::Dash) qpen.setDashPattern({kDashLength, kGapLength});
    return qpen;
}

int qtTextFlags(std::uint32_t flags) {
    int q = 0;
    q |= (flags & text::kRight) ? Qt::AlignRight : (flags & text::kCentre) ? Qt::AlignHCenter
                                                                          : Qt::AlignLeft;
    q |= (flags & text::kBottom) ? Qt::AlignBottom : (flags & text::kVCentre) ? Qt::AlignVCenter
                                                                             : Qt::AlignTop;
    if (flags & text::kSingleLine) q |= Qt::TextSingleLine;
    if (flags & text::kWordBreak) q |= Qt::TextWordWrap;
    if (flags & text::kNoClip) q |= Qt::TextDontClip;
    return q;
}

}  // namespace

QtDrawingSurface::QtDrawingSurface(PixelBuffer& buffer) : buffer_(&buffer) { attach(buffer); }

QtDrawingSurface::~QtDrawingSurface() { flush(); }

void QtDrawingSurface::attach(PixelBuffer& buffer) {
    flush();
    buffer_ = &buffer;
    if (buffer.empty()) {
        image_ = QImage();
        return;
    }
    image_ = QImage(reinterpret_cast<uchar*>(buffer.data()), buffer.width(), buffer.height(),
                    static_cast<qsizetype>(buffer.pitch()) * 2, QImage::Format_RGB16);
}

void QtDrawingSurface::flush() {
    if (painter_) painter_->end();
    painter_.reset();
}

QPainter& QtDrawingSurface::painter() {
    if (!painter_) {
        painter_ = std::make_unique<QPainter>();
        if (!image_.isNull()) painter_->begin(&image_);
        painter_->setRenderHint(QPainter::Antialiasing, false);
        painter_->setRenderHint(QPainter::TextAntialiasing, false);
        if (clip_) painter_->setClipRect(qtRect(*clip_));
    }
    return *painter_;
}

QPainter& QtDrawingSurface::shapePainter() {
    QPainter& p = painter();
    p.setPen(qtPen(pen_));
    p.setBrush(brush_.hollow ? QBrush(Qt::NoBrush) : QBrush(qtColour(brush_.colour)));
    return p;
}

void QtDrawingSurface::setClip(std::optional<Rect> clip) {
    clip_ = clip;
    if (!painter_) return;
    if (clip_)
        painter_->setClipRect(qtRect(*clip_));
    else
        painter_->setClipping(false);
}

Rect QtDrawingSurface::clipArea() {
    return clip_ ? clip_->intersected(buffer_->bounds()) : buffer_->bounds();
}

void QtDrawingSurface::fillRect(const Rect& area, ColorRef colour) {
    if (!image_.isNull()) painter().fillRect(qtRect(area), qtColour(colour));
}

void QtDrawingSurface::rectangle(const Rect& area) {
    if (image_.isNull() || area.empty()) return;
    if (pen_.style == PenStyle::None) {
        if (!brush_.hollow) fillRect(area, brush_.colour);
        return;
    }
    shapePainter().drawRect(outlineRect(area));
}

void QtDrawingSurface::roundRect(const Rect& area, int cornerWidth, int cornerHeight) {
    if (image_.isNull() || area.empty()) return;
    shapePainter().drawRoundedRect(outlineRect(area), cornerWidth / 2.0, cornerHeight / 2.0,
                                   Qt::AbsoluteSize);
}

void QtDrawingSurface::ellipse(const Rect& bounds) {
    if (image_.isNull() || bounds.empty()) return;
    shapePainter().drawEllipse(outlineRect(bounds));
}

void QtDrawingSurface::polyline(std::span<const Point> points) {
    if (image_.isNull() || points.size() < 2 || pen_.style == PenStyle::None) return;
    shapePainter().drawPolyline(qtPolygon(points));
}

void QtDrawingSurface::polygon(std::span<const Point> points) {
    if (image_.isNull() || points.size() < 2) return;
    shapePainter().drawPolygon(qtPolygon(points), Qt::OddEvenFill);
}

const QFont& QtDrawingSurface::qtFont(const Font& font) {
    const auto key = std::make_tuple(font.width, font.height, font.bold);
    if (auto found = fonts_.find(key); found != fonts_.end()) return found->second;
    QFont q(kFontFamily);
    q.setStyleHint(QFont::SansSerif, QFont::NoAntialias);
    q.setStyleStrategy(QFont::NoAntialias);
    q.setBold(font.bold);
    // The handheld asked for the cell height; Qt sizes the em. Take the largest
    // pixel size whose line still fits the cell.
    const int cell = std::max(font.height, 1);
    int size = cell;
    q.setPixelSize(size);
    while (size > 1 && QFontMetrics(q).height() > cell) q.setPixelSize(--size);
    if (font.width > 0) {
        const int natural = std::max(QFontMetrics(q).averageCharWidth(), 1);
        q.setStretch(std::clamp(font.width * 100 / natural, 1, kMaxStretch));
    }
    return fonts_.emplace(key, q).first->second;
}

Rect QtDrawingSurface::measureText(std::u16string_view text, const Rect& box,
                                   std::uint32_t flags) {
    const QFontMetrics metrics(qtFont(font_));
    return fromQtRect(metrics.boundingRect(qtRect(box), qtTextFlags(flags), toQString(text)));
}

Rect QtDrawingSurface::drawText(std::u16string_view text, const Rect& box, std::uint32_t flags) {
    if (image_.isNull()) return Rect{box.left, box.top, box.left, box.top};
    QPainter& p = painter();
    p.setFont(qtFont(font_));
    const QString qtext = toQString(text);
    if (!transparentText_) {
        Rect cell = measureText(text, box, flags);
        if (!(flags & text::kNoClip)) cell = cell.intersected(box);
        fillRect(cell, backgroundColour_);
    }
    p.setPen(qtColour(textColour_));
    QRect taken;
    p.drawText(qtRect(box), qtTextFlags(flags), qtext, &taken);
    return fromQtRect(taken);
}

}  // namespace wendra::platform::qt
