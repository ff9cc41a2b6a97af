#pragma once
// printf into a wide text: the formatters' formats are byte strings (Latin-1, so
// "\xB0" is the degree sign) whose output is widened and appended. Numbers keep a '.'
// whatever the locale, like the files the same values are saved in.

#include <cstdarg>
#include <cstdio>
#include <string>
#include <vector>

#include "records/ClassicNumbers.h"

namespace wendra {

__attribute__((format(printf, 2, 3))) inline void appendPrintf(std::u16string& out,
                                                               const char* format, ...) {
    const ClassicLocaleScope classic;
    char small[128];
    va_list args;
    va_start(args, format);
    const int length = std::vsnprintf(small, sizeof small, format, args);
    va_end(args);
    if (length <= 0) return;
    const char* text = small;
    std::vector<char> large;
    if (static_cast<size_t>(length) >= sizeof small) {
        large.resize(static_cast<size_t>(length) + 1);
        va_start(args, format);
        std::vsnprintf(large.data(), large.size(), format, args);
        va_end(args);
        text = large.data();
    }
    for (int i = 0; i < length; ++i)
        out.push_back(static_cast<char16_t>(static_cast<unsigned char>(text[i])));
}

}  // namespace wendra
