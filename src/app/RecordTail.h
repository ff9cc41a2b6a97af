#pragma once
// The fields of a record line that come after those a reader knows: what a later
// version of the program added, to be written back unchanged. The fields are walked by
// the splitter's own rules, so the tail starts exactly where the splitter stopped.

#include <string>
#include <string_view>

namespace wendra {

// `fields` is the line after its kind name and bar; `types` the reader's type string
// (numbers and counted strings; other letters are stepped over like numbers). Returns
// the rest of the line without its line end, always closed by a bar, or empty.
std::string fieldsAfter(std::string_view fields, std::string_view types);

// `line` with `tail` put before its final newline.
std::string withTail(std::string line, std::string_view tail);

}  // namespace wendra
