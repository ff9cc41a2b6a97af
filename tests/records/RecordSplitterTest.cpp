#include "records/RecordSplitter.h"

#include <gtest/gtest.h>
#include <locale.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "records/RecordWriter.h"
#include "records/Text.h"
#include "support/TestPaths.h"

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#define WENDRA_GLIBC_LEAKS_BEGIN __lsan_disable()
#define WENDRA_GLIBC_LEAKS_END __lsan_enable()
#else
#define WENDRA_GLIBC_LEAKS_BEGIN
#define WENDRA_GLIBC_LEAKS_END
#endif

namespace wendra {
namespace {

// Splits with one output per letter and renders the outputs joined by ";": numbers
// in decimal (X and C in hex), strings as they are (wide ones in UTF-8), "~" for a
// skipped letter. Every output starts as junk so that defaults show.
struct Split {
    int result = -1;
    std::string values;
};

std::string render(char letter, int32_t i, float f, double d, const std::string& s,
                   const std::u16string& w) {
    char number[64];
    switch (letter) {
        case 'd':
            return std::to_string(i);
        case 'X':
        case 'C':
            std::snprintf(number, sizeof number, "%x", static_cast<unsigned>(i));
            return number;
        case 'f':
            std::snprintf(number, sizeof number, "%g", f);
            return number;
        case 'F':
            std::snprintf(number, sizeof number, "%.10g", d);
            return number;
        case 's':
        case 'S':
            return s;
        case 'w':
        case 'x':
        case 'W':
            return toUtf8(w);
        default:
            return "~";
    }
}

Split split(std::string_view line, std::string_view types) {
    constexpr size_t kMaxLetters = 4;
    int32_t ints[kMaxLetters];
    float floats[kMaxLetters];
    double doubles[kMaxLetters];
    std::string strings[kMaxLetters];
    std::u16string wides[kMaxLetters];
    std::vector<SplitOutput> outputs;
    for (size_t i = 0; i < kMaxLetters; ++i) {
        ints[i] = 77;
        floats[i] = 77;
        doubles[i] = 77;
        strings[i] = "junk";
        wides[i] = u"junk";
        const char letter = i < types.size() ? types[i] : '?';
        if (letter == 'd' || letter == 'X' || letter == 'C')
            outputs.push_back(&ints[i]);
        else if (letter == 'f')
            outputs.push_back(&floats[i]);
        else if (letter == 'F')
            outputs.push_back(&doubles[i]);
        else if (letter == 's' || letter == 'S')
            outputs.push_back(&strings[i]);
        else if (letter == 'w' || letter == 'x' || letter == 'W')
            outputs.push_back(&wides[i]);
        else
            outputs.push_back(std::monostate{});
    }
    Split out;
    out.result = splitRecord(line, types, {outputs[0], outputs[1], outputs[2], outputs[3]});
    for (size_t i = 0; i < types.size(); ++i) {
        if (i) out.values += ';';
        out.values += render(types[i], ints[i], floats[i], doubles[i], strings[i], wides[i]);
    }
    return out;
}

struct Case {
    const char* legend;
    std::string line;
    const char* types;
    int result;
    std::string values;
};

void expectCases(const std::vector<Case>& cases) {
    for (const Case& c : cases) {
        const Split got = split(c.line, c.types);
        EXPECT_EQ(got.result, c.result) << c.legend;
        EXPECT_EQ(got.values, c.values) << c.legend;
    }
}

TEST(RecordSplitter, ReadsEveryLetter) {
    expectCases({
        {"decimal int and real", "12|3.5|", "df", 0, "12;3.5"},
        {"double keeps eight decimals", "46.94798200|", "F", 0, "46.947982"},
        {"negative int", "-42|", "d", 0, "-42"},
        {"hexadecimal", "1aF|", "X", 0, "1af"},
        {"colour swaps red and blue", "ff0000|", "C", 0, "ff"},
        {"colour keeps green", "12ab34|", "C", 0, "34ab12"},
        {"counted byte string", "3|abc|", "s", 0, "abc"},
        {"counted wide string widens Latin-1", "3|\xe9t\xe9|", "w", 0, "\xc3\xa9t\xc3\xa9"},
        {"long counted wide string", "2|ok|", "x", 0, "ok"},
        {"plain byte string", "hello|", "S", 0, "hello"},
        {"plain wide string", "\xe9|", "W", 0, "\xc3\xa9"},
        {"unknown letter skips its field", "1|2|3|", "d?d", 0, "1;~;3"},
        {"GPSCoord-like mix", "5|Start|46.5|7.25|3|", "wFFd", 0, "Start;46.5;7.25;3"},
    });
}

TEST(RecordSplitter, MissingFieldsKeepDefaultsAndReturnOne) {
    expectCases({
        {"line ends before real and string", "12|", "dfs", 1, "12;0;"},
        {"every kind defaults", "|", "dfFX", 1, "0;0;0;0"},
        {"wide strings default empty", "1|", "dwxW", 1, "1;;;"},
        {"counted string cut right after its length", "5|", "sd", 1, ";0"},
        {"field that is no number keeps 0", "abc|4|", "dd", 0, "0;4"},
        {"empty field keeps 0", "|4|", "fd", 0, "0;4"},
        {"empty type string", "1|2|", "", 0, ""},
    });
}

TEST(RecordSplitter, CountedStringsNeverReadPastTheLine) {
    const std::string long600(600, 'a');
    const std::string long5000(5000, 'b');
    expectCases({
        {"may contain the bar", "5|ab|cd|7|", "sd", 0, "ab|cd;7"},
        {"claims more than the line holds", "99|abc|", "s", 0, "abc"},
        {"claims more, later letters default", "99|abc|", "sd", 1, "abc;0"},
        {"claims more without final bar", "99|abc", "sd", 1, "abc;0"},
        {"huge claim", "99999999999999999999|ab|", "s", 0, "ab"},
        {"negative length reads nothing", "-3|abc|7|", "sd", 0, ";7"},
        {"length is not a number", "x|abc|7|", "sd", 0, ";7"},
        {"kept part clamped to 511 bytes", "600|" + long600 + "|7|", "sd", 0,
         std::string(511, 'a') + ";7"},
        {"x keeps 4095 units", "5000|" + long5000 + "|7|", "xd", 0, std::string(4095, 'b') + ";7"},
        {"clamped string with a bar inside stays aligned",
         "600|" + std::string(550, 'c') + "|" + std::string(49, 'c') + "|9|", "sd", 0,
         std::string(511, 'c') + ";9"},
    });
}

TEST(RecordSplitter, PlainStringsSkipSpacesAndHonourQuotes) {
    const std::string long600(600, 'p');
    expectCases({
        {"quoted text may contain the bar", "  \"a|b\"|9|", "Sd", 0, "a|b;9"},
        {"leading spaces skipped, trailing kept", "   x y |1|", "Sd", 0, "x y ;1"},
        {"quote without its closing quote", "\"abc|", "S", 0, "abc"},
        {"empty quotes", "\"\"|5|", "Sd", 0, ";5"},
        {"text after the closing quote ignored", "\"ab\"cd|5|", "Sd", 0, "ab;5"},
        {"plain string cut at 511", long600 + "|3|", "Sd", 0, std::string(511, 'p') + ";3"},
        {"long quoted text stepped over whole",
         "\"" + std::string(520, 'q') + "|" + std::string(100, 'q') + "\"|3|", "Wd", 0,
         std::string(511, 'q') + ";3"},
        {"only spaces", "   |", "S", 0, ""},
    });
}

TEST(RecordSplitter, LineEndsDoNotMatter) {
    const char* types = "dFsS";
    const std::string bare = "12|3.25|2|ab|cd|";
    for (const std::string& line : {bare + "\n", bare + "\r\n", bare.substr(0, bare.size() - 1),
                                    bare.substr(0, bare.size() - 1) + "\r\n", bare + "\r\r\n"}) {
        const Split got = split(line, types);
        EXPECT_EQ(got.result, 0) << line;
        EXPECT_EQ(got.values, "12;3.25;ab;cd") << line;
    }
}

TEST(RecordSplitter, OddLinesAreSafe) {
    expectCases({
        {"empty line", "", "ds", 1, "0;"},
        {"newline only", "\n", "d", 0, "0"},
        {"zero bytes in a counted string", std::string("3|a\0b|", 6), "s", 0,
         std::string("a\0b", 3)},
    });
}

// A number its output cannot hold is damage, not a value: the output keeps its default
// and the fields after it are read as usual.
TEST(RecordSplitter, NumbersOutOfRangeKeepTheDefault) {
    expectCases({
        {"int beyond int32", "99999999999|7|", "dd", 0, "0;7"},
        {"int below int32", "-99999999999|7|", "dd", 0, "0;7"},
        {"int32 limits are values", "2147483647|-2147483648|", "dd", 0, "2147483647;-2147483648"},
        {"hex beyond 32 bits", "1ffffffff|7|", "Xd", 0, "0;7"},
        {"float overflow", "1e309|7|", "fd", 0, "0;7"},
        {"float beyond float range", "1e39|7|", "fd", 0, "0;7"},
        {"double overflow", "-1e400|7|", "Fd", 0, "0;7"},
        {"infinity spelt out", "inf|infinity|", "fF", 0, "0;0"},
        {"not a number", "nan|NAN(1)|", "fF", 0, "0;0"},
        {"tiny values are values", "1e-50|", "F", 0, "1e-50"},
    });
}

TEST(RecordSplitter, OutputOfTheWrongTypeIsLeftAlone) {
    float wrong = 5.0f;
    int32_t after = 0;
    EXPECT_EQ(splitRecord("12|34|", "dd", {&wrong, &after}), 0);
    EXPECT_EQ(wrong, 5.0f);
    EXPECT_EQ(after, 34);
}

TEST(RecordSplitter, OtherSeparators) {
    int32_t a = 0;
    std::string b;
    EXPECT_EQ(splitRecord("7,2,x,,", ',', "ds", {&a, &b}), 0);
    EXPECT_EQ(a, 7);
    EXPECT_EQ(b, "x,");
}

TEST(RecordSplitter, PrefixMatchesKindAndBar) {
    struct PrefixCase {
        const char* legend;
        const char* line;
        const char* kind;
        bool matches;
        const char* rest;
    } cases[] = {
        {"kind and fields", "Trc5|1|2|\n", "Trc5", true, "1|2|\n"},
        {"kind and bar only", "Trc5|", "Trc5", true, ""},
        {"longer kind name", "Trc50|1|", "Trc5", false, ""},
        {"shorter kind name", "Trc|1|", "Trc5", false, ""},
        {"no bar", "Trc5", "Trc5", false, ""},
        {"sub-kind as a longer prefix", "RIRUvo|Status7|1|", "RIRUvo|Status7", true, "1|"},
        {"case matters", "trc5|1|", "Trc5", false, ""},
    };
    for (const PrefixCase& c : cases) {
        std::string_view rest = "untouched";
        EXPECT_EQ(hasRecordPrefix(c.line, c.kind, &rest), c.matches) << c.legend;
        if (c.matches) {
            EXPECT_EQ(rest, c.rest) << c.legend;
        }
    }
}

TEST(RecordSplitter, WrittenRecordsSplitBack) {
    std::string line = formatRecord("GPSCoord|");
    appendCounted(line, std::u16string(u"Caf\u00e9 | Bar"));
    appendFormat(line, "%.8Lf|%.8Lf|%d|", 46.947982L, 7.447447L, -3);
    line += "\n";
    EXPECT_EQ(line, "GPSCoord|10|Caf\xe9 | Bar|46.94798200|7.44744700|-3|\n");
    std::string_view rest;
    ASSERT_TRUE(hasRecordPrefix(line, "GPSCoord", &rest));
    std::u16string name;
    double lat = 0, lon = 0;
    int32_t flags = 0;
    EXPECT_EQ(splitRecord(rest, "wFFd", {&name, &lat, &lon, &flags}), 0);
    EXPECT_EQ(name, u"Caf\u00e9 | Bar");
    EXPECT_EQ(lat, 46.947982);
    EXPECT_EQ(lon, 7.447447);
    EXPECT_EQ(flags, -3);
}

// A locale whose decimal point is a comma, compiled into a scratch folder (the
// machine may have none installed); null when the tools to build it are missing.
locale_t commaLocale(const test::TempDir& dir) {
    const std::string source = (dir / "comma.src").string();
    test::writeFile(source,
                    "LC_CTYPE\ncopy \"POSIX\"\nEND LC_CTYPE\nLC_NUMERIC\n"
                    "decimal_point \"<U002C>\"\nthousands_sep \"\"\ngrouping -1\nEND LC_NUMERIC\n");
    const std::string command = "localedef -c -f UTF-8 -i " + source + " " +
                                (dir / "comma.UTF-8").string() + " >/dev/null 2>&1";
    if (std::system(command.c_str()) == -1) return nullptr;
    setenv("LOCPATH", dir.path().c_str(), 1);
    // glibc keeps the parsed LOCPATH list for good; that is not this program's leak.
    WENDRA_GLIBC_LEAKS_BEGIN;
    locale_t locale = newlocale(LC_NUMERIC_MASK, "comma.UTF-8", static_cast<locale_t>(0));
    WENDRA_GLIBC_LEAKS_END;
    unsetenv("LOCPATH");
    return locale;
}

TEST(RecordSplitter, DecimalCommaLocaleChangesNeitherWritingNorReading) {
    const test::TempDir dir;
    const locale_t comma = commaLocale(dir);
    if (!comma) GTEST_SKIP() << "no locale with a decimal comma could be built";
    const locale_t previous = uselocale(comma);
    char probe[16];
    std::snprintf(probe, sizeof probe, "%.1f", 3.5);
    const std::string line = formatRecord("%.2f|%.8Lf|", 3.5, 46.947982L);
    float speed = 0;
    double lat = 0;
    const int result = splitRecord("3.5|46.947982|", "fF", {&speed, &lat});
    uselocale(previous);
    freelocale(comma);
    ASSERT_STREQ(probe, "3,5") << "the scratch locale does not use a comma";
    EXPECT_EQ(line, "3.50|46.94798200|");
    EXPECT_EQ(result, 0);
    EXPECT_EQ(speed, 3.5f);
    EXPECT_EQ(lat, 46.947982);
}

}  // namespace
}  // namespace wendra
