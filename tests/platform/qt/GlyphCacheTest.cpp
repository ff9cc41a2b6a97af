#include <gtest/gtest.h>

#include <string>

#include "QtTestApplication.h"
#include "platform/PixelBuffer.h"
#include "platform/qt/GlyphCache.h"
#include "platform/qt/QtDrawingSurface.h"
#include "platform/qt/QtText.h"

namespace wendra::test {
namespace {

using platform::qt::GlyphCache;

// Composed letters are Qt's own: the same boxes and the same pixels as a text Qt lays
// out, for the view's fonts and others (letters widened, narrowed or as they are), in
// every alignment, in boxes that fit the text exactly or with room to spare (an odd
// room puts centred lines on half pixels).
TEST(GlyphCache, ComposedTextsHaveTheBoxesAndPixelsOfQtsLayout) {
    const std::u16string texts[] = {
        u"Group 3\nPoint K7",  u"AVATAR Wave",    u"Km/h",    u"To Wa yo",
        u"12.5 km (34/1.2km)", u"Überlingen-Süd", u"x",       u"Pass and hut\nWalk",
        u"AV\nTo\nWa",         u"Пётр Ёжиков",    u"Ωμέγα λ", u"«Île» d'Yeu, Ærø; Œuvre!",
    };
    const platform::Font fonts[] = {{7, 13, true},   {6, 13, true}, {0, 11, false},
                                    {10, 24, false}, {4, 20, true}, {12, 26, true}};
    const std::uint32_t flagSets[] = {
        platform::text::kLeft,
        platform::text::kCentre,
        platform::text::kRight,
        platform::text::kCentre | platform::text::kVCentre,
        platform::text::kRight | platform::text::kBottom,
        platform::text::kLeft | platform::text::kVCentre | platform::text::kSingleLine,
    };
    const platform::Size size{400, 120};
    platform::PixelBuffer composedPixels(size);
    platform::PixelBuffer qtPixels(size);
    platform::qt::QtDrawingSurface composed(composedPixels);
    platform::qt::QtDrawingSurface laidOutByQt(qtPixels);
    laidOutByQt.composeTexts(false);
    int compared = 0;
    for (const platform::Font& font : fonts) {
        for (auto* surface : {&composed, &laidOutByQt}) {
            surface->setFont(font);
            surface->setTransparentText(true);
            surface->setTextColour(platform::rgb(0, 0, 0));
        }
        GlyphCache glyphs(composed.qtFont(font).font);
        for (const std::u16string& text : texts) {
            GlyphCache::Composed out;
            EXPECT_TRUE(glyphs.compose(text, QRect(0, 0, 2000, 200), Qt::AlignLeft, out))
                << "composed, not left to Qt";
            for (const std::uint32_t flags : flagSets) {
                const platform::Rect room{0, 0, size.width, size.height};
                const platform::Rect natural = laidOutByQt.measureText(text, room, flags);
                ASSERT_EQ(composed.measureText(text, room, flags), natural);
                for (const platform::Rect& box :
                     {platform::Rect{0, 0, natural.width(), natural.height()},
                      platform::Rect{3, 5, natural.width() + 44, natural.height() + 9},
                      platform::Rect{1, 0, natural.width() + 81, 100}}) {
                    const std::string legend =
                        platform::qt::toQString(text).toStdString() + " font " +
                        std::to_string(font.width) + "x" + std::to_string(font.height) +
                        (font.bold ? " bold" : "") + " flags " + std::to_string(flags) + " box " +
                        std::to_string(box.width());
                    composedPixels.fill(0xFFFF);
                    qtPixels.fill(0xFFFF);
                    EXPECT_EQ(composed.drawText(text, box, flags),
                              laidOutByQt.drawText(text, box, flags))
                        << legend;
                    composed.flush();
                    laidOutByQt.flush();
                    int differ = 0;
                    for (int y = 0; y < size.height; ++y)
                        for (int x = 0; x < size.width; ++x)
                            differ += composedPixels.at(x, y) != qtPixels.at(x, y);
                    EXPECT_EQ(differ, 0) << legend;
                    ++compared;
                }
            }
        }
    }
    EXPECT_EQ(compared, 6 * 12 * 6 * 3);
}

// Whatever composing could get wrong is left to Qt.
TEST(GlyphCache, LeavesToQtWhatItCannotComposeExactly) {
    struct Case {
        const char* legend;
        std::u16string text;
        int boxWidth;
        int flags;
    };
    const Case cases[] = {
        {"a ligature", u"Griffin", 200, Qt::AlignLeft},
        {"a combining mark", u"Cafe\u0301", 200, Qt::AlignLeft},
        {"another script", u"\u05e9\u05dc\u05d5\u05dd", 200, Qt::AlignLeft},
        {"a tab", u"A\tB", 200, Qt::AlignLeft},
        {"a line ending in a space", u"North ", 200, Qt::AlignHCenter},
        {"an empty line", u"A\n\nB", 200, Qt::AlignLeft},
        {"wider than its box", u"A long line of text", 30, Qt::AlignHCenter},
        {"word breaks", u"Ab cd", 200, Qt::AlignLeft | Qt::TextWordWrap},
    };
    platform::PixelBuffer buffer(platform::Size{8, 8});
    platform::qt::QtDrawingSurface surface(buffer);
    GlyphCache glyphs(surface.qtFont(platform::Font{7, 13, true}).font);
    for (const Case& c : cases) {
        GlyphCache::Composed out;
        EXPECT_FALSE(glyphs.compose(c.text, QRect(0, 0, c.boxWidth, 60), c.flags, out)) << c.legend;
    }
}

}  // namespace
}  // namespace wendra::test
