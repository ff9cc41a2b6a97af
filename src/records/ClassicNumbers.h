#pragma once
// The one way numbers cross between the program and its files, dialogs and screens: printf
// formats and decimal reading with a '.' decimal point, whatever locale the process runs
// under (Qt installs the environment's, which may write and read "48,0").
// readReal accepts finite decimal numbers only; it never reads past the text given.

#include <locale.h>

#include <cstddef>
#include <optional>
#include <string_view>

namespace wendra {

// The "C" locale, made once; null only if the C library could not make it.
locale_t classicLocale();

// While it lives, printf and the C number readers of this thread use the "C" locale.
class ClassicLocaleScope {
public:
    ClassicLocaleScope();
    ~ClassicLocaleScope();
    ClassicLocaleScope(const ClassicLocaleScope&) = delete;
    ClassicLocaleScope& operator=(const ClassicLocaleScope&) = delete;

private:
    locale_t previous_;
};

// The decimal number at the start of `text` (after spaces), as strtod reads it in the
// "C" locale; nothing when there is none or it is not finite ("inf", "nan", 1e309).
// `used`, when given, receives the count of bytes the number took, spaces included.
std::optional<double> readReal(std::string_view text, size_t* used = nullptr);

}  // namespace wendra
