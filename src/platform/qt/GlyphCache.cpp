#include "platform/qt/GlyphCache.h"

#include <QFontMetricsF>
#include <QGlyphRun>
#include <QImage>
#include <QPainter>
#include <QTextLayout>
#include <QtMath>
#include <algorithm>
#include <cmath>

namespace wendra::platform::qt {

namespace {

int sixtyFourths(qreal pixels) {
    return static_cast<int>(std::lround(pixels * 64));
}

// The glyphs and pen positions of a short text as Qt shapes it on one line.
QList<QGlyphRun> shaped(const QString& text, const QFont& font) {
    QTextLayout layout(text, font);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    return layout.glyphRuns();
}

}  // namespace

std::vector<int> columnsScaledAcross(int left, int width, qreal scale, int targetLeft,
                                     int targetWidth) {
    std::vector<int> columns(static_cast<std::size_t>(std::max(targetWidth, 0)), -1);
    const qreal x1 = left * scale - targetLeft;
    const qreal x2 = (left + width) * scale - targetLeft;
    const QRectF mapped(x1, 0, x2 - x1, 1);
    const qreal step = width / mapped.width();
    const int fixedStep = static_cast<int>(0x10000 * step);
    const QRect drawn = mapped.toRect().intersected(QRect(0, 0, targetWidth, 1));
    if (drawn.isEmpty() || fixedStep <= 0) return columns;
    const int first = drawn.left();
    int count = drawn.width();
    const std::uint32_t start =
        static_cast<std::uint32_t>(qCeil((first + qreal(0.5) - mapped.left()) * step * 65536) - 1);
    // Rounding may take the last pixel one column past the picture.
    const int last = static_cast<int>(
        (start + static_cast<std::uint32_t>(fixedStep) * static_cast<std::uint32_t>(count - 1)) >>
        16);
    if (last < 0 || last >= width) --count;
    std::uint32_t at = start;
    for (int k = 0; k < count; ++k, at += static_cast<std::uint32_t>(fixedStep))
        columns[static_cast<std::size_t>(first + k)] = static_cast<int>(at >> 16);
    return columns;
}

GlyphCache::GlyphCache(const QFont& font) : font_(font) {
    const QFontMetricsF metrics(font_);
    ascent_ = sixtyFourths(metrics.ascent());
    descent_ = sixtyFourths(metrics.descent());
    leading_ = sixtyFourths(metrics.leading());
}

bool GlyphCache::composable(char16_t c) {
    if (c >= 0x21 && c <= 0x7E) return true;
    if (c == 0x20) return true;
    if (c >= 0xA0 && c <= 0x24F) return c != 0xAD;  // Latin, without the soft hyphen
    if (c >= 0x384 && c <= 0x3FF) return true;      // Greek, without the combining marks
    return (c >= 0x400 && c <= 0x482) || (c >= 0x48A && c <= 0x4FF);  // Cyrillic
}

const GlyphCache::Glyph& GlyphCache::glyph(char16_t c) {
    if (const auto found = glyphs_.find(c); found != glyphs_.end()) return found->second;
    Glyph g;
    const QFontMetricsF metrics(font_);
    g.advance = sixtyFourths(metrics.horizontalAdvance(QChar(c)));
    g.rightOverhang = std::max(0, -sixtyFourths(metrics.rightBearing(QChar(c))));
    const QList<QGlyphRun> runs = shaped(QString(QChar(c)), font_);
    if (runs.size() == 1 && runs[0].glyphIndexes().size() == 1) g.index = runs[0].glyphIndexes()[0];
    // Drawn with the pen on a whole pixel, with room all round for the glyph.
    const int room = std::max(font_.pixelSize(), 1) * 3;
    QImage image(2 * room, 2 * room, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.setFont(font_);
        painter.setPen(Qt::white);
        painter.drawText(QPointF(room, room), QString(QChar(c)));
    }
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(line[x]) != 0)
                g.ink.push_back(
                    Ink{static_cast<std::int16_t>(x - room), static_cast<std::int16_t>(y - room)});
    }
    return glyphs_.emplace(c, std::move(g)).first->second;
}

// How much further than the first letter's advance the second starts, or kNoPair when
// Qt makes something else of the pair than the two letters' own glyphs.
int GlyphCache::kerning(char16_t first, char16_t second) {
    const std::uint32_t key = (std::uint32_t{first} << 16) | second;
    if (const auto found = pairs_.find(key); found != pairs_.end()) return found->second;
    int kern = kNoPair;
    QString pair;
    pair += QChar(first);
    pair += QChar(second);
    const QList<QGlyphRun> runs = shaped(pair, font_);
    const Glyph& a = glyph(first);
    const Glyph& b = glyph(second);
    if (runs.size() == 1 && runs[0].glyphIndexes().size() == 2 &&
        runs[0].glyphIndexes()[0] == a.index && runs[0].glyphIndexes()[1] == b.index &&
        a.index != 0 && b.index != 0)
        kern = sixtyFourths(runs[0].positions()[1].x()) - a.advance;
    return pairs_.emplace(key, kern).first->second;
}

// The kerning of every pair of a line new to the cache, from one shaping of the whole
// line rather than one of each pair; a line Qt does not shape letter for letter is
// left to the pairs' own shapings, which find the pair at fault.
void GlyphCache::learnPairs(std::u16string_view text) {
    const QList<QGlyphRun> runs = shaped(
        QString(reinterpret_cast<const QChar*>(text.data()), static_cast<qsizetype>(text.size())),
        font_);
    if (runs.size() != 1 || runs[0].glyphIndexes().size() != static_cast<qsizetype>(text.size()))
        return;
    const QList<quint32> indexes = runs[0].glyphIndexes();
    const QList<QPointF> positions = runs[0].positions();
    for (std::size_t i = 0; i < text.size(); ++i)
        if (indexes[static_cast<qsizetype>(i)] != glyph(text[i]).index) return;
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        const auto at = static_cast<qsizetype>(i);
        pairs_.emplace((std::uint32_t{text[i]} << 16) | text[i + 1],
                       sixtyFourths(positions[at + 1].x()) - sixtyFourths(positions[at].x()) -
                           glyph(text[i]).advance);
    }
}

// Labels are mostly made of the printable ASCII letters: the first line with a pair
// not met before has all their pairs learnt at once, from one line that holds them
// all. 'f' is left out: its ligatures would make Qt's glyphs differ from the letters,
// and such a line teaches nothing.
void GlyphCache::learnAsciiPairs() {
    asciiLearnt_ = true;
    std::u16string all;
    for (char16_t first = u' '; first <= u'~'; ++first) {
        for (char16_t second = u' '; second <= u'~'; ++second) {
            if (first == u'f' || second == u'f' || (first == u' ' && second == u' ')) continue;
            all += first;
            all += second;
        }
    }
    learnPairs(std::u16string_view(all).substr(1));
}

bool GlyphCache::pairsKnown(std::u16string_view text) const {
    for (std::size_t i = 0; i + 1 < text.size(); ++i)
        if (!pairs_.contains((std::uint32_t{text[i]} << 16) | text[i + 1])) return false;
    return true;
}

bool GlyphCache::lineOf(std::u16string_view text, Line& line) {
    line.text = text;
    line.advance = 0;
    if (text.empty() || text.front() == u' ' || text.back() == u' ') return false;
    for (const char16_t c : text)
        if (!composable(c) || glyph(c).index == 0) return false;
    bool known = pairsKnown(text);
    if (!known && !asciiLearnt_) {
        learnAsciiPairs();
        known = pairsKnown(text);
    }
    if (!known) learnPairs(text);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const Glyph& g = glyph(text[i]);
        line.advance += g.advance;
        if (i + 1 == text.size()) break;
        const int kern = kerning(text[i], text[i + 1]);
        if (kern == kNoPair) return false;
        line.advance += kern;
    }
    return true;
}

bool GlyphCache::compose(std::u16string_view text, const QRect& box, int qtFlags, Composed& out) {
    if (qtFlags & Qt::TextWordWrap) return false;
    const bool single = qtFlags & Qt::TextSingleLine;
    lines_.clear();
    int height = -leading_;
    int width = 0;
    for (std::size_t start = 0;;) {
        const std::size_t end = text.find(u'\n', start);
        if (end != std::u16string_view::npos && single) return false;
        Line line;
        if (!lineOf(text.substr(start, end == std::u16string_view::npos ? end : end - start), line))
            return false;
        // Each line starts on a whole pixel.
        height += leading_;
        height = (height + 63) / 64 * 64;
        line.top = height;
        height += ascent_ + descent_;
        const int natural = line.advance + glyph(line.text.back()).rightOverhang;
        if (natural > box.width() * 64) return false;
        width = std::max(width, natural);
        lines_.push_back(line);
        if (end == std::u16string_view::npos) break;
        start = end + 1;
    }
    const qreal boxWidth = box.width();
    const qreal boxHeight = box.height();
    qreal yOffset = 0;
    if (qtFlags & Qt::AlignBottom)
        yOffset = boxHeight - height / 64.0;
    else if (qtFlags & Qt::AlignVCenter)
        yOffset = (boxHeight - height / 64.0) / 2;
    const auto lineX = [&](qreal lineWidth) -> qreal {
        if (qtFlags & Qt::AlignRight) return boxWidth - lineWidth;
        if (qtFlags & Qt::AlignHCenter) return (boxWidth - lineWidth) / 2;
        return 0;
    };
    out.taken =
        QRectF(box.x() + lineX(width / 64.0), box.y() + yOffset, width / 64.0, height / 64.0)
            .toAlignedRect();
    out.letters.clear();
    for (const Line& line : lines_) {
        const qreal left = box.x() + lineX(line.advance / 64.0);
        const int baseline = static_cast<int>(
            std::floor((sixtyFourths(box.y() + yOffset) + line.top + ascent_ + 32) / 64.0));
        int pen = 0;
        for (std::size_t i = 0; i < line.text.size(); ++i) {
            const char16_t c = line.text[i];
            out.letters.push_back({c, static_cast<int>(std::floor(left + pen / 64.0)), baseline});
            pen += glyph(c).advance;
            if (i + 1 < line.text.size()) pen += kerning(c, line.text[i + 1]);
        }
    }
    return true;
}

}  // namespace wendra::platform::qt
