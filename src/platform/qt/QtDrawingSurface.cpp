#include "platform/qt/QtDrawingSurface.h"

#include <QFontMetrics>
#include <QPolygon>
#include <QTransform>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <vector>

#include "platform/qt/QtText.h"

namespace wendra::platform::qt {

namespace {

// The dash of a dashed pen, in pen widths: long dashes with short gaps.
constexpr qreal kDashLength = LineRaster::kDashLength;
constexpr qreal kGapLength = LineRaster::kGapLength;
constexpr qreal kMinScale = 0.1;
constexpr qreal kMaxScale = 10.0;
const char* const kFontFamily = "DejaVu Sans";

QColor qtColour(ColorRef colour) {
    const ColorRef cut = quantised(colour);
    return QColor(static_cast<int>(redOf(cut)), static_cast<int>(greenOf(cut)),
                  static_cast<int>(blueOf(cut)));
}

QRect qtRect(const Rect& r) {
    return QRect(r.left, r.top, r.width(), r.height());
}

// An outline drawn on the outermost pixels: Qt strokes a QRect one pixel wider.
QRect outlineRect(const Rect& r) {
    return QRect(r.left, r.top, r.width() - 1, r.height() - 1);
}

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
    q |= (flags & text::kRight)    ? Qt::AlignRight
         : (flags & text::kCentre) ? Qt::AlignHCenter
                                   : Qt::AlignLeft;
    q |= (flags & text::kBottom)    ? Qt::AlignBottom
         : (flags & text::kVCentre) ? Qt::AlignVCenter
                                    : Qt::AlignTop;
    if (flags & text::kSingleLine) q |= Qt::TextSingleLine;
    if (flags & text::kWordBreak) q |= Qt::TextWordWrap;
    if (flags & text::kNoClip) q |= Qt::TextDontClip;
    return q;
}

// Eight pixels as one vector, so that a byte of mask bits is one blend.
using EightPixels = Pixel16 __attribute__((vector_size(16)));

// For each byte of a mask, its eight pixels' masks: all ones where the bit is set.
struct ByteLanes {
    std::array<EightPixels, 256> lanes{};
    ByteLanes() {
        for (int byte = 0; byte < 256; ++byte)
            for (int bit = 0; bit < 8; ++bit)
                lanes[byte][bit] = (byte >> bit) & 1 ? Pixel16{0xFFFF} : Pixel16{0};
    }
};
const ByteLanes kByteLanes;

bool maskBit(const std::uint8_t* bits, int x) {
    return (bits[x >> 3] >> (x & 7)) & 1;
}

// Puts the ink on the pixels of one mask row whose bits are set, between the row's
// columns from and to (the clip): eight pixels at a time where the clip allows.
void inkRow(Pixel16* row, const std::uint8_t* bits, int from, int to, Pixel16 ink) {
    int x = from;
    for (; x < to && (x & 7) != 0; ++x)
        if (maskBit(bits, x)) row[x] = ink;
    const EightPixels inks = EightPixels{} + ink;
    for (; x + 8 <= to; x += 8) {
        const std::uint8_t byte = bits[x >> 3];
        const EightPixels lanes = kByteLanes.lanes[byte];
        EightPixels pixels;
        std::memcpy(&pixels, row + x, sizeof pixels);
        pixels = (pixels & ~lanes) | (inks & lanes);
        std::memcpy(row + x, &pixels, sizeof pixels);
    }
    for (; x < to; ++x)
        if (maskBit(bits, x)) row[x] = ink;
}

}  // namespace

QtDrawingSurface::QtDrawingSurface(PixelBuffer& buffer) : buffer_(&buffer) {
    attach(buffer);
}

QtDrawingSurface::~QtDrawingSurface() {
    flush();
}

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

// Lines are drawn by our own raster: Qt's stroker made the wide and dashed pens of a
// long track cost tens of milliseconds a frame.
void QtDrawingSurface::polyline(std::span<const Point> points) {
    if (image_.isNull() || points.size() < 2 || pen_.style == PenStyle::None) return;
    lines_.draw(*buffer_, clipArea(), pen_, points);
}

void QtDrawingSurface::polygon(std::span<const Point> points) {
    if (image_.isNull() || points.size() < 2) return;
    shapePainter().drawPolygon(qtPolygon(points), Qt::OddEvenFill);
}

const QtDrawingSurface::QtFont& QtDrawingSurface::qtFont(const Font& font) {
    const auto key = std::make_tuple(font.width, font.height, font.bold);
    if (auto found = fonts_.find(key); found != fonts_.end()) return found->second;
    QFont q(kFontFamily);
    q.setStyleHint(QFont::SansSerif, QFont::NoAntialias);
    q.setStyleStrategy(QFont::NoAntialias);
    q.setBold(font.bold);
    // The handheld asked for the cell height; Qt sizes the em. Take the largest
    // pixel size whose lines still fit the cell.
    const int cell = std::max(font.height, 1);
    int size = cell;
    q.setPixelSize(size);
    while (size > 1 && QFontMetrics(q).lineSpacing() > cell) q.setPixelSize(--size);
    // The character width is reached by scaling the letters across, as the
    // handheld's font engine did; Qt's own stretch is not honoured by every engine.
    qreal xScale = 1.0;
    if (font.width > 0) {
        const int natural = std::max(QFontMetrics(q).averageCharWidth(), 1);
        xScale = std::clamp(static_cast<qreal>(font.width) / natural, kMinScale, kMaxScale);
    }
    return fonts_.emplace(key, QtFont{q, xScale, std::make_shared<GlyphCache>(q)}).first->second;
}

// Text is laid out unscaled in a box as much wider as the letters get narrower,
// then drawn scaled across from the box's left edge.
namespace {

QRect layoutBox(const Rect& box, qreal xScale) {
    return QRect(box.left, box.top, static_cast<int>(std::lround(box.width() / xScale)),
                 box.height());
}

Rect fromLayout(const QRect& r, int originX, qreal xScale) {
    const auto x = [&](int layoutX) {
        return originX + static_cast<int>(std::lround((layoutX - originX) * xScale));
    };
    return Rect{x(r.left()), r.top(), x(r.right() + 1), r.bottom() + 1};
}

}  // namespace

Rect QtDrawingSurface::measureText(std::u16string_view text, const Rect& box, std::uint32_t flags) {
    return laidOut(text, box, flags, false).taken.translated(box.left, box.top);
}

Rect QtDrawingSurface::drawText(std::u16string_view text, const Rect& box, std::uint32_t flags) {
    if (image_.isNull()) return Rect{box.left, box.top, box.left, box.top};
    const LaidOutText& laid = laidOut(text, box, flags, true);
    const Rect taken = laid.taken.translated(box.left, box.top);
    if (!transparentText_) {
        Rect cell = taken;
        if (!(flags & text::kNoClip)) cell = cell.intersected(box);
        fillRect(cell, backgroundColour_);
    }
    inkLetters(laid, Point{box.left, box.top}, textColour_);
    return taken;
}

TextHandle QtDrawingSurface::layOutText(std::u16string_view text, Size box, std::uint32_t flags) {
    const LaidOutText& laid = laidOut(text, Rect{0, 0, box.width, box.height}, flags, true);
    return TextHandle{&laid, texts_.stamp(), laid.taken};
}

void QtDrawingSurface::drawTexts(std::span<const PlacedText> texts) {
    if (image_.isNull()) return;
    for (const PlacedText& placed : texts)
        if (holds(placed.text))
            inkLetters(*static_cast<const LaidOutText*>(placed.text.layout), placed.at,
                       placed.colour);
}

void QtDrawingSurface::inkLetters(const LaidOutText& laid, Point at, ColorRef colour) {
    const Rect letters = laid.letters.translated(at.x, at.y);
    const Rect area = letters.intersected(clipArea());
    const Pixel16 ink = toPixel16(colour);
    for (int y = area.top; y < area.bottom; ++y) {
        const std::uint8_t* bits =
            laid.mask.data() + static_cast<std::size_t>(y - letters.top) * laid.bytesPerRow;
        inkRow(buffer_->row(y) + letters.left, bits, area.left - letters.left,
               area.right - letters.left, ink);
    }
}

// The layout is made with the box at the origin: it is the same wherever the box lies.
const LaidOutText& QtDrawingSurface::laidOut(std::u16string_view text, const Rect& box,
                                             std::uint32_t flags, bool letters) {
    const TextKey key{font_.width, font_.height, font_.bold, flags,
                      box.width(), box.height(), text};
    LaidOutText& entry = texts_.entry(key);
    if (entry.drawn || (entry.measured && !letters)) return entry;
    const QtFont& font = qtFont(font_);
    const QString qtext = toQString(text);
    const QRect layout = layoutBox(Rect{0, 0, box.width(), box.height()}, font.xScale);
    const int qtFlags = qtTextFlags(flags);
    // Most labels are composed from the font's letters; Qt lays out the rest.
    const bool composed = compose_ && font.glyphs->compose(text, layout, qtFlags, composed_);
    const QRect taken =
        composed ? composed_.taken : QFontMetrics(font.font).boundingRect(layout, qtFlags, qtext);
    entry.taken = fromLayout(taken, 0, font.xScale);
    entry.measured = true;
    if (letters) {
        drawLetters(entry, font, composed ? &composed_ : nullptr, qtext, layout, taken, flags);
        entry.drawn = true;
    }
    return entry;
}

// Letters are drawn on a scratch picture first (with room for overhanging glyphs),
// then scaled across onto a second one, whose covered pixels make the mask. Qt 6.4
// garbles one-bit glyphs blitted straight onto a 16-bit image, so texts Qt lays out
// go through two images; composed ones are put down and scaled here, pixel for pixel
// as Qt would. Without antialiasing every letter pixel is whole.
void QtDrawingSurface::drawLetters(LaidOutText& laid, const QtFont& font,
                                   const GlyphCache::Composed* composed, const QString& qtext,
                                   const QRect& layout, const QRect& taken, std::uint32_t flags) {
    laid.letters = Rect{};
    laid.mask.clear();
    const int overhang = font.font.pixelSize();
    QRect area = taken.adjusted(-overhang, -overhang, overhang, overhang);
    if (!(flags & text::kNoClip)) area &= layout;
    if (area.isEmpty() || qtext.isEmpty()) return;
    QTransform across;
    across.scale(font.xScale, 1.0);
    const QRect target = across.mapRect(QRectF(area)).toAlignedRect().adjusted(-1, 0, 1, 0);
    InkGrid grid{
        target.width(), target.height(),
        std::vector<std::uint8_t>(static_cast<std::size_t>(target.width()) * target.height())};
    if (composed)
        composedInk(grid, font, *composed, area, target);
    else
        qtInk(grid, font, qtext, layout, area, target, flags);
    maskOf(laid, grid, target.topLeft());
}

void QtDrawingSurface::composedInk(InkGrid& grid, const QtFont& font,
                                   const GlyphCache::Composed& composed, const QRect& area,
                                   const QRect& target) {
    const int width = area.width();
    std::vector<std::uint8_t> source(static_cast<std::size_t>(width) * area.height());
    // Only the inked part of the picture (the room for overhangs is mostly empty) is
    // scaled.
    int left = width;
    int right = -1;
    int top = area.height();
    int bottom = -1;
    font.glyphs->paint(composed, [&](int x, int y) {
        x -= area.left();
        y -= area.top();
        if (x < 0 || y < 0 || x >= width || y >= area.height()) return;
        source[static_cast<std::size_t>(y) * width + x] = 1;
        left = std::min(left, x);
        right = std::max(right, x);
        top = std::min(top, y);
        bottom = std::max(bottom, y);
    });
    if (right < 0) return;
    const QRect inked(QPoint(left, top), QPoint(right, bottom));
    const std::vector<int> columns =
        columnsScaledAcross(area.left(), width, font.xScale, target.left(), target.width());
    int first = 0;
    int last = grid.width - 1;
    while (first <= last && (columns[first] < inked.left() || columns[first] > inked.right()))
        ++first;
    while (last >= first && (columns[last] < inked.left() || columns[last] > inked.right())) --last;
    for (int y = inked.top(); y <= inked.bottom(); ++y) {
        const std::uint8_t* from = source.data() + static_cast<std::size_t>(y) * width;
        std::uint8_t* to = grid.on.data() + static_cast<std::size_t>(y) * grid.width;
        for (int x = first; x <= last; ++x) to[x] = from[columns[x]];
    }
}

void QtDrawingSurface::qtInk(InkGrid& grid, const QtFont& font, const QString& qtext,
                             const QRect& layout, const QRect& area, const QRect& target,
                             std::uint32_t flags) {
    QImage letters(area.size(), QImage::Format_ARGB32_Premultiplied);
    letters.fill(Qt::transparent);
    {
        QPainter scratch(&letters);
        scratch.setFont(font.font);
        scratch.setPen(Qt::white);
        scratch.translate(-area.topLeft());
        scratch.drawText(layout, qtTextFlags(flags), qtext);
    }
    QTransform across;
    across.scale(font.xScale, 1.0);
    QImage scaled(target.size(), QImage::Format_ARGB32_Premultiplied);
    scaled.fill(Qt::transparent);
    {
        QPainter p(&scaled);
        p.translate(-target.topLeft());
        p.setTransform(across, true);
        p.drawImage(area.topLeft(), letters);
    }
    for (int y = 0; y < grid.height; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(scaled.constScanLine(y));
        std::uint8_t* to = grid.on.data() + static_cast<std::size_t>(y) * grid.width;
        for (int x = 0; x < grid.width; ++x) to[x] = qAlpha(line[x]) != 0;
    }
}

// The mask covers the inked pixels only: the room left for overhangs is mostly empty.
void QtDrawingSurface::maskOf(LaidOutText& laid, const InkGrid& grid, QPoint origin) {
    const auto row = [&](int y) {
        return grid.on.data() + static_cast<std::size_t>(y) * grid.width;
    };
    Rect ink{grid.width, grid.height, 0, 0};
    for (int y = 0; y < grid.height; ++y) {
        const std::uint8_t* line = row(y);
        const auto* firstOn = static_cast<const std::uint8_t*>(std::memchr(line, 1, grid.width));
        if (!firstOn) continue;
        int lastOn = grid.width - 1;
        while (line[lastOn] == 0) --lastOn;
        ink = Rect{std::min(ink.left, static_cast<int>(firstOn - line)), std::min(ink.top, y),
                   std::max(ink.right, lastOn + 1), std::max(ink.bottom, y + 1)};
    }
    if (ink.empty()) return;
    laid.letters = ink.translated(origin.x(), origin.y());
    laid.bytesPerRow = (ink.width() + 7) / 8;
    laid.mask.assign(static_cast<std::size_t>(laid.bytesPerRow) * ink.height(), 0);
    for (int y = ink.top; y < ink.bottom; ++y) {
        const std::uint8_t* line = row(y) + ink.left;
        std::uint8_t* bits =
            laid.mask.data() + static_cast<std::size_t>(y - ink.top) * laid.bytesPerRow;
        for (int x = 0; x < ink.width(); ++x)
            bits[x >> 3] |= static_cast<std::uint8_t>(line[x] << (x & 7));
    }
}

}  // namespace wendra::platform::qt
