#include "app/RecordTail.h"

#include <charconv>
#include <cstring>

#include "records/RecordSplitter.h"

namespace wendra {

namespace {

constexpr unsigned char kFirstPrintable = 32;

// The line as the splitter sees it: line end dropped (never the first byte), closed
// by a bar.
std::string normalised(std::string_view fields) {
    std::string text(fields);
    while (text.size() > 1 && static_cast<unsigned char>(text.back()) < kFirstPrintable)
        text.pop_back();
    if (text.empty() || text.back() != kRecordSeparator) text.push_back(kRecordSeparator);
    return text;
}

size_t pastSeparator(const std::string& text, size_t pos) {
    const size_t bar = text.find(kRecordSeparator, pos);
    return bar == std::string::npos ? text.size() : bar + 1;
}

// The length a counted string claims, as strtoll would read it (leading spaces and a
// sign allowed; anything unreadable or negative is 0).
size_t claimedLength(const std::string& text, size_t pos) {
    while (pos < text.size() && std::strchr(" \t\n\v\f\r", text[pos]) && text[pos] != '\0') ++pos;
    if (pos < text.size() && text[pos] == '+') ++pos;
    if (pos < text.size() && text[pos] == '-') return 0;
    unsigned long long value = 0;
    const auto result = std::from_chars(text.data() + pos, text.data() + text.size(), value);
    if (result.ec == std::errc::result_out_of_range) return text.size();
    return result.ec == std::errc() ? static_cast<size_t>(value) : 0;
}

}  // namespace

std::string fieldsAfter(std::string_view fields, std::string_view types) {
    const std::string text = normalised(fields);
    size_t pos = 0;
    for (const char letter : types) {
        if (pos >= text.size()) return {};
        if (letter == 's' || letter == 'w' || letter == 'x') {
            const size_t length = claimedLength(text, pos);
            pos = pastSeparator(text, pos);
            if (pos >= text.size()) return {};
            // The closing bar of the line is never part of the string.
            pos += std::min(length, text.size() - pos - 1);
        }
        pos = pastSeparator(text, pos);
    }
    return pos < text.size() ? text.substr(pos) : std::string();
}

std::string withTail(std::string line, std::string_view tail) {
    if (tail.empty()) return line;
    const bool newline = !line.empty() && line.back() == '\n';
    if (newline) line.pop_back();
    line.append(tail);
    if (newline) line.push_back('\n');
    return line;
}

}  // namespace wendra
