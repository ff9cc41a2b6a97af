#include "gps/NmeaFields.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace wendra::nmea {

namespace {

bool isSeparator(char c) {
    return c == ',' || c == ':' || c == '*';
}

bool isNumericChar(char c) {
    return (c >= '0' && c <= '9') || c == '.' || c == '-';
}

constexpr double kIntMax = std::numeric_limits<int32_t>::max();
constexpr double kIntMin = std::numeric_limits<int32_t>::min();

}  // namespace

std::string_view FieldReader::next() {
    const size_t start = std::min(position_, text_.size());
    size_t end = start;
    while (end < text_.size() && !isSeparator(text_[end])) ++end;
    closed_ = end >= text_.size() || text_[end] == '*';
    position_ = end + 1;
    return text_.substr(start, end - start);
}

bool isNumeric(std::string_view field, size_t minLength) {
    return field.size() > minLength && std::all_of(field.begin(), field.end(), isNumericChar);
}

double toDouble(std::string_view field) {
    double value = 0.0;
    const auto result =
        std::from_chars(field.data(), field.data() + field.size(), value, std::chars_format::fixed);
    return result.ec == std::errc() ? value : 0.0;
}

float toFloat(std::string_view field) {
    constexpr double kFloatMax = std::numeric_limits<float>::max();
    return static_cast<float>(std::clamp(toDouble(field), -kFloatMax, kFloatMax));
}

int32_t toInt(std::string_view field) {
    size_t i = 0;
    const bool negative = !field.empty() && field[0] == '-';
    if (negative || (!field.empty() && field[0] == '+')) i = 1;
    int64_t magnitude = 0;
    constexpr int64_t kLimit = int64_t{1} << 31;
    for (; i < field.size() && field[i] >= '0' && field[i] <= '9'; ++i)
        magnitude = std::min(kLimit, magnitude * 10 + (field[i] - '0'));
    const int64_t value = negative ? -magnitude : magnitude;
    return static_cast<int32_t>(std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

int32_t roundToInt(double value) {
    if (std::isnan(value)) return 0;
    const double rounded = value >= 0.0 ? std::trunc(value + 0.5) : std::trunc(value - 0.5);
    return static_cast<int32_t>(std::clamp(rounded, kIntMin, kIntMax));
}

}  // namespace wendra::nmea
