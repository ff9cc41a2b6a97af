#include "records/RecordWriter.h"

#include <cstdio>

#include "records/ClassicNumbers.h"
#include "records/Text.h"

namespace wendra {

namespace {

constexpr size_t kFirstTry = 256;

}  // namespace

void appendFormatV(std::string& line, const char* format, va_list args) {
    // Files are shared between machines: a decimal comma must never reach them.
    const ClassicLocaleScope classic;
    char first[kFirstTry];
    va_list copy;
    va_copy(copy, args);
    const int length = std::vsnprintf(first, sizeof first, format, copy);
    va_end(copy);
    if (length < 0) return;
    const auto size = static_cast<size_t>(length);
    if (size < sizeof first) {
        line.append(first, size);
        return;
    }
    const size_t start = line.size();
    line.resize(start + size + 1);
    std::vsnprintf(line.data() + start, size + 1, format, args);
    line.resize(start + size);
}

void appendFormat(std::string& line, const char* format, ...) {
    va_list args;
    va_start(args, format);
    appendFormatV(line, format, args);
    va_end(args);
}

std::string formatRecord(const char* format, ...) {
    std::string line;
    va_list args;
    va_start(args, format);
    appendFormatV(line, format, args);
    va_end(args);
    return line;
}

void appendCounted(std::string& line, std::string_view bytes) {
    line += std::to_string(bytes.size());
    line += kRecordSeparator;
    const size_t start = line.size();
    line.append(bytes);
    for (size_t i = start; i < line.size(); ++i) {
        if (line[i] == '\n' || line[i] == '\0') line[i] = ' ';
    }
    line += kRecordSeparator;
}

void appendCounted(std::string& line, std::u16string_view text) {
    appendCounted(line, std::string_view(narrow(text)));
}

namespace {

template <typename Text>
bool writeEach(RecordFile& file, std::span<const Text> texts) {
    std::string line;
    bool ok = true;
    for (const Text& text : texts) {
        line.clear();
        appendCounted(line, std::basic_string_view<typename Text::value_type>(text));
        ok = file.writeText(line) && ok;
    }
    return ok;
}

}  // namespace

bool writeCountedStrings(RecordFile& file, std::span<const std::string> texts) {
    return writeEach(file, texts);
}

bool writeCountedStrings(RecordFile& file, std::span<const std::u16string> texts) {
    return writeEach(file, texts);
}

}  // namespace wendra
