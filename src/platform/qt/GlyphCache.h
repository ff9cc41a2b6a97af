#pragma once
// Texts composed from the letters of one font kept one by one, for a text in the
// scripts where that gives Qt's own pixels: Latin, Greek and Cyrillic letters without
// combining marks, on lines that fit their box and neither start nor end with a
// space. Each letter is drawn once by Qt; its advance and its kerning with the
// letter before come from Qt's shaping of the letter and of a line holding the pair
// (one with every pair of printable ASCII letters, or the first the pair was met
// in), and a pair that Qt shapes as one glyph (a ligature) or as other glyphs
// leaves the text to Qt. The lines are placed as QPainter::drawText places them (each
// line on a whole pixel below the last, aligned in the box, letters on the pixel their
// pen position falls in), so a label made of letter pairs met before costs no shaping
// and no text layout.

#include <QFont>
#include <QRect>
#include <cstdint>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace wendra::platform::qt {

// For each column of a target, the column of a picture that shows there when Qt draws
// the picture unsmoothed, scaled across by `scale` with its left edge at `left`, onto
// the target whose left edge is `targetLeft` (-1 where none does): Qt's raster engine
// samples in 16.16 fixed point from the first target pixel's centre.
std::vector<int> columnsScaledAcross(int left, int width, qreal scale, int targetLeft,
                                     int targetWidth);

class GlyphCache {
public:
    explicit GlyphCache(const QFont& font);

    // A text laid out in a box: the box it takes, and where each letter's pen starts.
    struct Composed {
        QRect taken;
        struct Placed {
            char16_t letter;
            int x;
            int y;  // the pixel of the pen, on the baseline
        };
        std::vector<Placed> letters;
    };
    // False when the text must be left to Qt. Alignment by Qt's flags; no word breaks.
    bool compose(std::u16string_view text, const QRect& box, int qtFlags, Composed& out);
    // Calls put(x, y) for every pixel of the composed letters.
    template <typename Put>
    void paint(const Composed& composed, Put&& put) {
        for (const Composed::Placed& p : composed.letters)
            for (const Ink& ink : glyph(p.letter).ink) put(p.x + ink.dx, p.y + ink.dy);
    }

private:
    static constexpr int kNoPair = INT32_MIN;
    struct Ink {
        std::int16_t dx;
        std::int16_t dy;
    };
    struct Glyph {
        std::vector<Ink> ink;     // pixels from the pen position
        int advance = 0;          // in 64ths of a pixel
        int rightOverhang = 0;    // ink beyond the advance, 64ths
        std::uint32_t index = 0;  // Qt's glyph
    };
    struct Line {
        std::u16string_view text;
        int advance = 0;  // 64ths
        int top = 0;      // 64ths below the first line's top
    };

    static bool composable(char16_t c);
    const Glyph& glyph(char16_t c);
    int kerning(char16_t first, char16_t second);
    void learnPairs(std::u16string_view text);
    void learnAsciiPairs();
    bool pairsKnown(std::u16string_view text) const;
    bool lineOf(std::u16string_view text, Line& line);

    QFont font_;
    int ascent_ = 0;   // 64ths
    int descent_ = 0;  // 64ths
    int leading_ = 0;  // 64ths
    std::unordered_map<char16_t, Glyph> glyphs_;
    std::unordered_map<std::uint32_t, int> pairs_;  // kerning by the pair's letters
    std::vector<Line> lines_;
    bool asciiLearnt_ = false;
};

}  // namespace wendra::platform::qt
