#pragma once
// Conversions between the program's two kinds of text: byte strings as the files
// store them (one byte per character, Latin-1) and wide strings (16-bit code units).
// Narrowing keeps the low byte of each unit, so characters above U+00FF do not survive.

#include <string>
#include <string_view>

namespace wendra {

std::u16string widen(std::string_view bytes);
std::string narrow(std::u16string_view wide);

// For terminals, JSON and the toolkit: UTF-8 in and out. Unpaired surrogates
// become U+FFFD; malformed UTF-8 bytes are taken as Latin-1.
std::string toUtf8(std::u16string_view wide);
std::u16string fromUtf8(std::string_view utf8);

}  // namespace wendra
