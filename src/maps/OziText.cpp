#include "maps/OziText.h"

#include <array>
#include <cstdint>

#include "platform/Utf8.h"

namespace wendra::maps {

namespace {

constexpr char16_t kBad = 0xFFFD;

// 0x80..0x9F of cp1252; 0xA0..0xFF are Latin-1 itself.
constexpr std::array<char16_t, 32> kCp1252High = {
    0x20AC, kBad,   0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, kBad,   0x017D, kBad,   kBad,   0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, kBad,   0x017E, 0x0178};

// 0x80..0xBF of cp1251; 0xC0..0xFF are U+0410..U+044F in order.
constexpr std::array<char16_t, 64> kCp1251High = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409,
    0x2039, 0x040A, 0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, kBad,   0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0,
    0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB,
    0x00AC, 0x00AD, 0x00AE, 0x0407, 0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6,
    0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457};

char16_t fromCp1252(std::uint8_t b) {
    if (b < 0x80 || b >= 0xA0) return b;
    return kCp1252High[b - 0x80];
}

char16_t fromCp1251(std::uint8_t b) {
    if (b < 0x80) return b;
    if (b >= 0xC0) return static_cast<char16_t>(0x0410 + (b - 0xC0));
    return kCp1251High[b - 0x80];
}

// Length of the UTF-8 sequence that starts with `lead`, 0 for a byte no sequence starts with.
int sequenceLength(std::uint8_t lead) {
    if (lead < 0x80) return 1;
    if (lead >= 0xC2 && lead <= 0xDF) return 2;
    if (lead >= 0xE0 && lead <= 0xEF) return 3;
    if (lead >= 0xF0 && lead <= 0xF4) return 4;
    return 0;
}

bool isAsciiLetter(std::uint8_t b) {
    return (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z');
}

char16_t foldOne(char16_t c) {
    if (c >= u'A' && c <= u'Z') return c + 0x20;
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 0x20;
    if (c >= 0x0100 && c <= 0x0137 && c % 2 == 0) return c + 1;
    if (c >= 0x0139 && c <= 0x0148 && c % 2 == 1) return c + 1;
    if (c >= 0x014A && c <= 0x0177 && c % 2 == 0) return c + 1;
    if (c == 0x0178) return 0xFF;
    if (c >= 0x0179 && c <= 0x017E && c % 2 == 1) return c + 1;
    if (c >= 0x0410 && c <= 0x042F) return c + 0x20;
    if (c >= 0x0400 && c <= 0x040F) return c + 0x50;
    if (c == 0x0490) return 0x0491;
    return c;
}

}  // namespace

bool isValidUtf8(std::string_view bytes) {
    for (std::size_t i = 0; i < bytes.size();) {
        const auto lead = static_cast<std::uint8_t>(bytes[i]);
        const int length = sequenceLength(lead);
        if (length == 0 || i + length > bytes.size()) return false;
        for (int k = 1; k < length; ++k)
            if ((static_cast<std::uint8_t>(bytes[i + k]) & 0xC0) != 0x80) return false;
        const auto second = length > 1 ? static_cast<std::uint8_t>(bytes[i + 1]) : 0;
        // Overlong forms, surrogates and code points past U+10FFFF.
        if ((lead == 0xE0 && second < 0xA0) || (lead == 0xED && second >= 0xA0) ||
            (lead == 0xF0 && second < 0x90) || (lead == 0xF4 && second >= 0x90))
            return false;
        i += length;
    }
    return true;
}

CodePage guessCodePage(std::string_view bytes) {
    if (isValidUtf8(bytes)) return CodePage::Utf8;
    std::size_t high = 0, letters = 0;
    for (char c : bytes) {
        const auto b = static_cast<std::uint8_t>(c);
        if (b >= 0xC0 || b == 0xA8 || b == 0xB8) ++high;
        if (b >= 0xC0 || b == 0xA8 || b == 0xB8 || isAsciiLetter(b)) ++letters;
    }
    return letters > 0 && 2 * high >= letters ? CodePage::Cp1251 : CodePage::Cp1252;
}

std::u16string decodeText(std::string_view bytes, CodePage page) {
    if (page == CodePage::Utf8 && isValidUtf8(bytes)) return fromUtf8(bytes);
    std::u16string text;
    text.reserve(bytes.size());
    for (char c : bytes) {
        const auto b = static_cast<std::uint8_t>(c);
        text.push_back(page == CodePage::Cp1251 ? fromCp1251(b) : fromCp1252(b));
    }
    return text;
}

std::vector<std::u16string> candidateReadings(std::string_view bytes) {
    if (isValidUtf8(bytes)) return {fromUtf8(bytes)};
    const CodePage first = guessCodePage(bytes);
    const CodePage second = first == CodePage::Cp1251 ? CodePage::Cp1252 : CodePage::Cp1251;
    return {decodeText(bytes, first), decodeText(bytes, second)};
}

std::u16string foldCase(std::u16string_view text) {
    std::u16string folded(text);
    for (char16_t& c : folded) c = foldOne(c);
    return folded;
}

}  // namespace wendra::maps
