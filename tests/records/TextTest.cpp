#include "records/Text.h"

#include <gtest/gtest.h>

#include <string>

namespace wendra {
namespace {

TEST(Text, EveryByteSurvivesWidenThenNarrow) {
    std::string all;
    for (int byte = 0; byte < 256; ++byte) all.push_back(static_cast<char>(byte));
    const std::u16string wide = widen(all);
    ASSERT_EQ(wide.size(), 256u);
    for (int byte = 0; byte < 256; ++byte) EXPECT_EQ(wide[byte], char16_t(byte));
    EXPECT_EQ(narrow(wide), all);
}

TEST(Text, NarrowKeepsTheLowByteOfEachUnit) {
    struct Case {
        const char* legend;
        std::u16string wide;
        std::string bytes;
    } cases[] = {
        {"ASCII unchanged", u"Trc5|", "Trc5|"},
        {"Latin-1 letter", u"\u00e9t\u00e9", "\xe9t\xe9"},
        {"euro sign loses its high byte", u"\u20ac", "\xac"},
        {"unit 0x0100 becomes a zero byte", std::u16string(1, u'\u0100'), std::string(1, '\0')},
        {"empty", u"", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(narrow(c.wide), c.bytes) << c.legend;
}

TEST(Text, Utf8ConversionsFollowTheTable) {
    struct Case {
        const char* legend;
        std::u16string wide;
        std::string utf8;
    } cases[] = {
        {"ASCII", u"GPSCoord", "GPSCoord"},
        {"two-byte sequence", u"\u00e9", "\xc3\xa9"},
        {"three-byte sequence", u"\u20ac", "\xe2\x82\xac"},
        {"surrogate pair to four bytes", u"\U0001F600", "\xf0\x9f\x98\x80"},
        {"zero unit kept", std::u16string(1, u'\0'), std::string(1, '\0')},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(toUtf8(c.wide), c.utf8) << c.legend;
        EXPECT_EQ(fromUtf8(c.utf8), c.wide) << c.legend;
    }
}

TEST(Text, UnpairedSurrogatesBecomeReplacementCharacters) {
    struct Case {
        const char* legend;
        std::u16string wide;
        std::string utf8;
    } cases[] = {
        {"lone high surrogate", std::u16string{char16_t(0xD800)}, "\xef\xbf\xbd"},
        {"lone low surrogate", std::u16string{char16_t(0xDC00)}, "\xef\xbf\xbd"},
        {"high surrogate at the end", u"a" + std::u16string{char16_t(0xD83D)}, "a\xef\xbf\xbd"},
        {"two high surrogates", std::u16string{char16_t(0xD800), char16_t(0xD800)},
         "\xef\xbf\xbd\xef\xbf\xbd"},
    };
    for (const Case& c : cases) EXPECT_EQ(toUtf8(c.wide), c.utf8) << c.legend;
}

TEST(Text, MalformedUtf8IsTakenAsLatin1) {
    struct Case {
        const char* legend;
        std::string utf8;
        std::u16string wide;
    } cases[] = {
        {"Latin-1 text", "\xe9t\xe9", u"\u00e9t\u00e9"},
        {"overlong slash", "\xc0\xaf", u"\u00c0\u00af"},
        {"encoded surrogate", "\xed\xa0\x80", u"\u00ed\u00a0\u0080"},
        {"sequence cut at the end", "a\xe2\x82", u"a\u00e2\u0082"},
        {"continuation byte alone", "\x80z", u"\u0080z"},
        {"beyond U+10FFFF", "\xf4\x90\x80\x80", u"\u00f4\u0090\u0080\u0080"},
        {"lead byte above F4", "\xf5\x80\x80\x80", u"\u00f5\u0080\u0080\u0080"},
    };
    for (const Case& c : cases) EXPECT_EQ(fromUtf8(c.utf8), c.wide) << c.legend;
}

}  // namespace
}  // namespace wendra
