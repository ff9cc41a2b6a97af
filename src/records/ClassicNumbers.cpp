#include "records/ClassicNumbers.h"

#include <stdlib.h>

#include <cmath>
#include <string>

namespace wendra {

namespace {

// Longer texts are no number a file or a dialog holds; the copy stays small.
constexpr size_t kLongestNumber = 400;

bool isSpace(char c) {
    return c == ' ' || c == '\t';
}

}  // namespace

locale_t classicLocale() {
    static const locale_t locale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
    return locale;
}

ClassicLocaleScope::ClassicLocaleScope()
    : previous_(classicLocale() ? uselocale(classicLocale()) : static_cast<locale_t>(0)) {}

ClassicLocaleScope::~ClassicLocaleScope() {
    if (previous_) uselocale(previous_);
}

std::optional<double> readReal(std::string_view text, size_t* used) {
    size_t start = 0;
    while (start < text.size() && isSpace(text[start])) ++start;
    // strtod wants a terminated text; the copy also keeps it off whatever follows.
    const std::string copy(text.substr(start, kLongestNumber));
    char* end = nullptr;
    const double value = strtod_l(copy.c_str(), &end, classicLocale());
    if (end == copy.c_str() || !std::isfinite(value)) return std::nullopt;
    if (used) *used = start + static_cast<size_t>(end - copy.c_str());
    return value;
}

}  // namespace wendra
