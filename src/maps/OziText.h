#pragma once
// The 8-bit texts of a calibration file (title, image name) as wide texts. Such files
// come from Windows in UTF-8 or in a code page, cp1252 (western) or cp1251
// (Cyrillic), and say nothing of which: valid UTF-8 is taken as UTF-8, anything else
// is guessed from its bytes. Letter case folding covers Latin-1, Latin Extended-A and
// Cyrillic, the letters such names are written in.

#include <string>
#include <string_view>
#include <vector>

namespace wendra::maps {

enum class CodePage { Utf8, Cp1252, Cp1251 };

bool isValidUtf8(std::string_view bytes);
// UTF-8 when the bytes are valid UTF-8; else cp1251 when high bytes make at least
// half of the letters (Cyrillic words are all high bytes), else cp1252.
CodePage guessCodePage(std::string_view bytes);
// Bytes a code page does not define become U+FFFD; invalid UTF-8 decodes as cp1252.
std::u16string decodeText(std::string_view bytes, CodePage page);
// Every reading of the bytes worth trying against names on disk, likeliest first.
std::vector<std::u16string> candidateReadings(std::string_view bytes);

std::u16string foldCase(std::u16string_view text);

}  // namespace wendra::maps
