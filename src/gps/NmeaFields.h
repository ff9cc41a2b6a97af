#pragma once
// Reading the fields of one sentence: a field runs to the next ",", ":" or "*" (or the
// end of the text) and the separator is consumed. Numbers are read the forgiving way
// receivers need (the longest number at the start of the field, else 0), saturating
// instead of overflowing; the caller decides with isNumeric() whether to use them.

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace wendra::nmea {

class FieldReader {
public:
    explicit FieldReader(std::string_view text) : text_(text) {}

    std::string_view next();
    // Whether the last field ended the sentence: at a "*" or at the end of the text.
    bool closed() const { return closed_; }

private:
    std::string_view text_;
    size_t position_ = 0;
    bool closed_ = false;
};

// Longer than `minLength` and made only of digits, "." and "-".
bool isNumeric(std::string_view field, size_t minLength = 0);

double toDouble(std::string_view field);
// toDouble() held to the float range.
float toFloat(std::string_view field);
// The leading optionally signed digits, as atoi reads them, held to the int32 range.
int32_t toInt(std::string_view field);
// Rounded half away from zero, held to the int32 range.
int32_t roundToInt(double value);

}  // namespace wendra::nmea
