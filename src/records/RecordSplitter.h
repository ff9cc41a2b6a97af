#pragma once
// The typed field splitter: turns the fields of a record line back into values
// under a type string, one letter per output location.
//
//   d int32   f float   F double   X hex int32   C colour RRGGBB (stored 0x00BBGGRR)
//   s byte string, counted, <= 511 bytes     w wide string, counted, <= 511 units
//   x wide string, counted, <= 4095 units    S byte string, plain, <= 511 bytes
//   W wide string, plain, <= 511 units       any other letter: field skipped
//
// Every output is first set to its default (0 or empty); a number its output cannot
// hold (out of the int32 range, infinite, NaN) leaves it there. Reals are read with a
// '.' whatever the locale. A counted string never reads past the end of the line,
// whatever length it claims.

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <variant>

namespace wendra {

// One output location. Its type must fit the letter: int32_t* for d, X and C,
// float* for f, double* for F, std::string* for s and S, std::u16string* for w, x
// and W; a skipped letter takes std::monostate (or any pointer, left untouched).
using SplitOutput =
    std::variant<std::monostate, int32_t*, float*, double*, std::string*, std::u16string*>;

constexpr char kRecordSeparator = '|';

// Returns 0 when every letter found its field, 1 when the line ended first (the
// outputs of the remaining letters keep their defaults). A letter whose output has
// the wrong type is skipped like an unknown letter.
int splitRecord(std::string_view line, char separator, std::string_view types,
                std::initializer_list<SplitOutput> outputs);

// The same with the separator every caller passes, "|".
inline int splitRecord(std::string_view line, std::string_view types,
                       std::initializer_list<SplitOutput> outputs) {
    return splitRecord(line, kRecordSeparator, types, outputs);
}

// Whether the line starts with the kind name followed by the bar; on success `rest`
// is the text after that bar.
bool hasRecordPrefix(std::string_view line, std::string_view kind, std::string_view* rest = nullptr);

}  // namespace wendra
