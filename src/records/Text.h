#pragma once
// Conversions between the program's two kinds of text: byte strings as the files
// store them (one byte per character, Latin-1) and wide strings (16-bit code units).
// Narrowing keeps the low byte of each unit, so characters above U+00FF do not survive.

#include <string>
#include <string_view>

#include "platform/Utf8.h"  // toUtf8, fromUtf8

namespace wendra {

std::u16string widen(std::string_view bytes);
std::string narrow(std::u16string_view wide);

}  // namespace wendra
