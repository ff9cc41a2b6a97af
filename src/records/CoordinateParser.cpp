#include "records/CoordinateParser.h"

#include <charconv>
#include <cmath>
#include <string>

#include "records/CoordinateFormat.h"
#include "records/Utm.h"

namespace wendra {

namespace {

constexpr char16_t kDegreeSign = u'\u00B0';
constexpr double kLargestLatitude = 90.0;
constexpr double kLargestLongitude = 180.0;
constexpr double kLargestMinutes = 59.0;
constexpr double kLargestSeconds = 59.0;
constexpr double kLargestEasting = 1000000.0;
constexpr double kLargestNorthing = 10000000.0;

bool isSpace(char16_t c) {
    return c == u' ' || c == u'\t';
}
bool isDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}
bool isAsciiLetter(char16_t c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}
char16_t upper(char16_t c) {
    return c >= u'a' && c <= u'z' ? c - (u'a' - u'A') : c;
}

// A cursor over the trimmed text that records the first failure.
class CoordinateReader {
public:
    CoordinateReader(std::u16string_view text, int role) : text_(text), role_(role) {
        while (pos_ < text_.size() && isSpace(text_[pos_])) ++pos_;
        end_ = text_.size();
        while (end_ > pos_ && isSpace(text_[end_ - 1])) --end_;
        start_ = pos_;
    }

    CoordinateParse run(int format) {
        if (format < kFormatDegrees || format > kFormatSwiss) return failSpan(0, text_.size());
        if (pos_ == end_) return failSpan(pos_, pos_);
        const bool negative = peek() == u'-';
        if (negative) ++pos_;
        double value = 0.0;
        const bool read = format == kFormatMinutes   ? readMinutesForm(value)
                          : format == kFormatSeconds ? readSecondsForm(value)
                                                     : readDecimal(value);
        if (!read) return result_;
        if (negative) value = -value;
        if (format <= kFormatSeconds) return finishDegrees(value);
        if (format == kFormatUtm) return finishUtm(value);
        return finishPlain(value);
    }

private:
    char16_t peek() const { return pos_ < end_ ? text_[pos_] : u'\0'; }
    bool atEnd() const { return pos_ >= end_; }

    size_t skipDigits() {
        const size_t from = pos_;
        while (pos_ < end_ && isDigit(text_[pos_])) ++pos_;
        return pos_ - from;
    }

    void skipSpaces() {
        while (pos_ < end_ && isSpace(text_[pos_])) ++pos_;
    }

    CoordinateParse failSpan(size_t from, size_t to) {
        result_ = CoordinateParse{false, 0.0, from, to};
        return result_;
    }

    // The character at the cursor is wrong (both halves of a surrogate pair), or, at
    // the end, something is missing.
    bool failHere() {
        size_t to = pos_;
        if (pos_ < end_) {
            to = pos_ + 1;
            const bool pair = text_[pos_] >= 0xD800 && text_[pos_] < 0xDC00 && to < end_ &&
                              text_[to] >= 0xDC00 && text_[to] < 0xE000;
            if (pair) ++to;
        }
        failSpan(pos_, to);
        return false;
    }

    // The text [from, to) holds only ASCII digits and at most one ".".
    bool numberAt(size_t from, size_t to, double& value) {
        std::string ascii;
        ascii.reserve(to - from);
        for (size_t i = from; i < to; ++i) ascii.push_back(static_cast<char>(text_[i]));
        const auto [end, error] = std::from_chars(ascii.data(), ascii.data() + ascii.size(), value);
        if (error != std::errc() || end != ascii.data() + ascii.size() || !std::isfinite(value)) {
            failSpan(from, to);
            return false;
        }
        return true;
    }

    // Digits, optionally "." and more digits; at least one digit in all.
    bool readDecimal(double& value) {
        const size_t from = pos_;
        size_t digits = skipDigits();
        if (peek() == u'.') {
            ++pos_;
            digits += skipDigits();
        }
        if (digits == 0) return failHere();
        return numberAt(from, pos_, value);
    }

    // A whole number of minutes or seconds up to `largest`, then optional decimals.
    bool readSexagesimalPart(size_t from, double largest, double& value) {
        double whole = 0.0;
        if (!numberAt(from, pos_, whole)) return false;
        if (whole > largest) {
            failSpan(from, pos_);
            return false;
        }
        if (peek() == u'.') {
            ++pos_;
            skipDigits();
        }
        return numberAt(from, pos_, value);
    }

    // DD°MM.MMMM, DD MM.MMMM, or DDDMM.MMMM where the last two whole digits are minutes.
    bool readMinutesForm(double& value) {
        const size_t degreesFrom = pos_;
        const size_t wholeDigits = skipDigits();
        if (wholeDigits == 0) return failHere();
        size_t degreesTo = pos_;
        size_t minutesFrom = pos_;
        if (peek() == kDegreeSign || peek() == u' ') {
            minutesFrom = ++pos_;
            if (skipDigits() == 0) return failHere();
        } else {
            if (wholeDigits < 3) return failHere();
            degreesTo -= 2;
            minutesFrom = degreesTo;
        }
        double degrees = 0.0, minutes = 0.0;
        if (!numberAt(degreesFrom, degreesTo, degrees)) return false;
        if (!readSexagesimalPart(minutesFrom, kLargestMinutes, minutes)) return false;
        value = degrees + minutes / 60.0;
        return true;
    }

    // DD°MM'SS.SS or DD MM'SS.SS, with an optional closing '"'.
    bool readSecondsForm(double& value) {
        const size_t degreesFrom = pos_;
        if (skipDigits() == 0) return failHere();
        const size_t degreesTo = pos_;
        if (peek() != kDegreeSign && peek() != u' ') return failHere();
        ++pos_;
        const size_t minutesFrom = pos_;
        if (skipDigits() == 0) return failHere();
        double degrees = 0.0, minutes = 0.0, seconds = 0.0;
        if (!numberAt(degreesFrom, degreesTo, degrees)) return false;
        if (!numberAt(minutesFrom, pos_, minutes)) return false;
        if (minutes > kLargestMinutes) {
            failSpan(minutesFrom, pos_);
            return false;
        }
        if (peek() != u'\'') return failHere();
        ++pos_;
        const size_t secondsFrom = pos_;
        if (skipDigits() == 0) return failHere();
        if (!readSexagesimalPart(secondsFrom, kLargestSeconds, seconds)) return false;
        if (peek() == u'"') ++pos_;
        value = degrees + minutes / 60.0 + seconds / 3600.0;
        return true;
    }

    CoordinateParse finishDegrees(double value) {
        const size_t numberEnd = pos_;
        skipSpaces();
        if (!atEnd()) {
            const char16_t letter = upper(peek());
            const bool south = role_ == kRoleLatitude && letter == u'S';
            const bool north = role_ == kRoleLatitude && letter == u'N';
            const bool west = role_ != kRoleLatitude && (letter == u'W' || letter == u'O');
            const bool east = role_ != kRoleLatitude && letter == u'E';
            if (!south && !north && !west && !east) {
                failHere();
                return result_;
            }
            value = south || west ? -std::fabs(value) : std::fabs(value);
            ++pos_;
            if (!atEnd()) return failSpan(pos_, end_);
        }
        const double largest = role_ == kRoleLatitude ? kLargestLatitude : kLargestLongitude;
        if (std::fabs(value) > largest) return failSpan(start_, numberEnd);
        return CoordinateParse{true, value, 0, 0};
    }

    CoordinateParse finishUtm(double value) {
        const size_t numberEnd = pos_;
        if (role_ == kRoleUtmZone) {
            skipSpaces();
            if (!atEnd()) {
                if (!isAsciiLetter(peek())) {
                    failHere();
                    return result_;
                }
                value = upper(peek()) == u'S' ? -std::fabs(value) : std::fabs(value);
                ++pos_;
                if (!atEnd()) return failSpan(pos_, end_);
            }
            const double zone = std::fabs(value);
            if (zone < 1.0 || zone > kUtmZoneCount || zone != std::floor(zone))
                return failSpan(start_, numberEnd);
            return CoordinateParse{true, value, 0, 0};
        }
        if (!atEnd()) {
            failHere();
            return result_;
        }
        const double largest = role_ == kRoleLatitude ? kLargestEasting : kLargestNorthing;
        if (value < 0.0 || value > largest) return failSpan(start_, numberEnd);
        return CoordinateParse{true, value, 0, 0};
    }

    CoordinateParse finishPlain(double value) {
        if (!atEnd()) {
            failHere();
            return result_;
        }
        return CoordinateParse{true, value, 0, 0};
    }

    std::u16string_view text_;
    int role_;
    size_t pos_ = 0;
    size_t start_ = 0;
    size_t end_ = 0;
    CoordinateParse result_;
};

}  // namespace

CoordinateParse parseCoordinate(std::u16string_view text, int role, int format) {
    return CoordinateReader(text, role).run(format);
}

}  // namespace wendra
