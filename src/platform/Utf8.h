#pragma once
// UTF-8 for terminals, JSON and the toolkit, from and to the program's wide texts.
// Unpaired surrogates become U+FFFD; malformed UTF-8 bytes are taken as Latin-1.

#include <string>
#include <string_view>

namespace wendra {

std::string toUtf8(std::u16string_view wide);
std::u16string fromUtf8(std::string_view utf8);

}  // namespace wendra
