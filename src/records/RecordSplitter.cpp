#include "records/RecordSplitter.h"

#include <stdlib.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>

#include "records/ClassicNumbers.h"
#include "records/Text.h"

namespace wendra {

namespace {

constexpr size_t kShortStringMax = 511;
constexpr size_t kLongStringMax = 4095;

template <typename T>
T* outputAs(const SplitOutput* output) {
    if (!output) return nullptr;
    if (auto p = std::get_if<T*>(output)) return *p;
    return nullptr;
}

void setDefault(char letter, const SplitOutput* output) {
    switch (letter) {
        case 'd':
        case 'X':
        case 'C':
            if (auto p = outputAs<int32_t>(output)) *p = 0;
            break;
        case 'f':
            if (auto p = outputAs<float>(output)) *p = 0.0f;
            break;
        case 'F':
            if (auto p = outputAs<double>(output)) *p = 0.0;
            break;
        case 's':
        case 'S':
            if (auto p = outputAs<std::string>(output)) p->clear();
            break;
        case 'w':
        case 'x':
        case 'W':
            if (auto p = outputAs<std::u16string>(output)) p->clear();
            break;
        default:
            break;
    }
}

// The line being split: a NUL-terminated copy whose end has been normalised, so
// that the C number scanners can never run past it.
class Cursor {
public:
    Cursor(std::string_view line, char separator) : separator_(separator) {
        thread_local std::string buffer;
        buffer.assign(line);
        // Drop the line end (CR, LF and other control bytes) but never the first byte.
        while (buffer.size() > 1 && static_cast<unsigned char>(buffer.back()) < 32)
            buffer.pop_back();
        if (buffer.empty() || buffer.back() != separator) buffer.push_back(separator);
        text_ = buffer.c_str();
        end_ = buffer.size();
    }

    bool atEnd() const { return pos_ >= end_; }
    const char* here() const { return text_ + pos_; }
    size_t remaining() const { return end_ - pos_; }
    char peek() const { return text_[pos_]; }
    void advance(size_t n) { pos_ = std::min(end_, pos_ + n); }
    void moveTo(const char* p) { pos_ = std::min(end_, static_cast<size_t>(p - text_)); }

    void pastSeparator() {
        const void* found = std::memchr(here(), separator_, remaining());
        pos_ = found ? static_cast<size_t>(static_cast<const char*>(found) - text_) + 1 : end_;
    }

    size_t fieldLength() const {
        const void* found = std::memchr(here(), separator_, remaining());
        return found ? static_cast<size_t>(static_cast<const char*>(found) - here()) : remaining();
    }

private:
    const char* text_ = nullptr;
    size_t end_ = 0;
    size_t pos_ = 0;
    char separator_;
};

bool fitsInt32(long long value) {
    return value >= std::numeric_limits<int32_t>::min() &&
           value <= std::numeric_limits<int32_t>::max();
}

// Number fields: a field that does not start with a number, or whose number is out of
// the output's range (an overflowing integer, an infinite or NaN real), keeps the
// default: a damaged file must not hand its readers values no writer produces. Reals
// are read in the "C" locale, since files are shared between machines.
void scanNumber(char letter, Cursor& cursor, const SplitOutput* output) {
    char* end = nullptr;
    const char* start = cursor.here();
    errno = 0;
    switch (letter) {
        case 'd': {
            const long long value = std::strtoll(start, &end, 10);
            if (end != start && errno == 0 && fitsInt32(value))
                if (auto p = outputAs<int32_t>(output)) *p = static_cast<int32_t>(value);
            break;
        }
        case 'X':
        case 'C': {
            const unsigned long long raw = std::strtoull(start, &end, 16);
            if (end == start || errno != 0 || raw > std::numeric_limits<uint32_t>::max()) break;
            auto value = static_cast<uint32_t>(raw);
            if (letter == 'C')  // files hold RRGGBB, memory 0x00BBGGRR
                value = (value & 0xFF00FF00u) | ((value & 0xFFu) << 16) | ((value >> 16) & 0xFFu);
            if (auto p = outputAs<int32_t>(output)) *p = static_cast<int32_t>(value);
            break;
        }
        case 'f': {
            const float value = strtof_l(start, &end, classicLocale());
            if (end != start && std::isfinite(value))
                if (auto p = outputAs<float>(output)) *p = value;
            break;
        }
        case 'F': {
            const double value = strtod_l(start, &end, classicLocale());
            if (end != start && std::isfinite(value))
                if (auto p = outputAs<double>(output)) *p = value;
            break;
        }
        default:
            break;
    }
}

void storeString(char letter, std::string_view bytes, const SplitOutput* output) {
    if (letter == 's' || letter == 'S') {
        if (auto p = outputAs<std::string>(output)) p->assign(bytes);
    } else if (auto p = outputAs<std::u16string>(output)) {
        *p = widen(bytes);
    }
}

// Counted string: length, bar, exactly that many bytes. Returns false when the
// line ends right after the length. A length beyond the line is cut at its end,
// and bytes past the letter's maximum are skipped, not kept.
bool scanCounted(char letter, Cursor& cursor, const SplitOutput* output) {
    char* end = nullptr;
    const long long claimed = std::strtoll(cursor.here(), &end, 10);
    const size_t length = claimed > 0 ? static_cast<size_t>(claimed) : 0;
    cursor.pastSeparator();
    if (cursor.atEnd()) return false;
    // The line's last byte is always the closing bar, never part of the string.
    const size_t available = std::min(length, cursor.remaining() - 1);
    const size_t kept = std::min(available, letter == 'x' ? kLongStringMax : kShortStringMax);
    storeString(letter, std::string_view(cursor.here(), kept), output);
    cursor.advance(available);
    return true;
}

// Plain string: up to the bar, or between double quotes when it starts with one.
// A quoted text is stepped over whole even when only its start is kept, so a bar
// inside it is never taken for the end of the field; without a closing quote it runs
// to the line's final bar.
void scanPlain(char letter, Cursor& cursor, const SplitOutput* output) {
    while (!cursor.atEnd() && cursor.peek() == ' ') cursor.advance(1);
    if (!cursor.atEnd() && cursor.peek() == '"') {
        cursor.advance(1);
        const void* quote = std::memchr(cursor.here(), '"', cursor.remaining());
        const size_t length =
            quote ? static_cast<size_t>(static_cast<const char*>(quote) - cursor.here())
                  : cursor.remaining() - (cursor.atEnd() ? 0 : 1);
        storeString(letter, std::string_view(cursor.here(), std::min(length, kShortStringMax)),
                    output);
        cursor.advance(quote ? length + 1 : length);
        return;
    }
    const size_t length = std::min(cursor.fieldLength(), kShortStringMax);
    storeString(letter, std::string_view(cursor.here(), length), output);
    cursor.advance(length);
}

}  // namespace

int splitRecord(std::string_view line, char separator, std::string_view types,
                std::initializer_list<SplitOutput> outputs) {
    const auto outputFor = [&](size_t i) -> const SplitOutput* {
        return i < outputs.size() ? outputs.begin() + i : nullptr;
    };
    for (size_t i = 0; i < types.size(); ++i) setDefault(types[i], outputFor(i));

    Cursor cursor(line, separator);
    for (size_t i = 0; i < types.size(); ++i) {
        if (cursor.atEnd()) return 1;
        const char letter = types[i];
        switch (letter) {
            case 'd':
            case 'f':
            case 'F':
            case 'X':
            case 'C':
                scanNumber(letter, cursor, outputFor(i));
                break;
            case 's':
            case 'w':
            case 'x':
                if (!scanCounted(letter, cursor, outputFor(i))) return 1;
                break;
            case 'S':
            case 'W':
                scanPlain(letter, cursor, outputFor(i));
                break;
            default:
                break;
        }
        cursor.pastSeparator();
    }
    return 0;
}

bool hasRecordPrefix(std::string_view line, std::string_view kind, std::string_view* rest) {
    if (line.size() <= kind.size() || line.substr(0, kind.size()) != kind ||
        line[kind.size()] != kRecordSeparator)
        return false;
    if (rest) *rest = line.substr(kind.size() + 1);
    return true;
}

}  // namespace wendra
