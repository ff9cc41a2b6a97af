#pragma once
// Builds record lines for RecordFile::writeText: printf-style formatting of a line,
// and the counted strings ("%d|%s|") that carry names and comments. Numbers are
// always formatted with a '.' decimal point, whatever locale the process has set.

#include <cstdarg>
#include <span>
#include <string>
#include <string_view>

#include "records/RecordFile.h"
#include "records/RecordSplitter.h"

namespace wendra {

std::string formatRecord(const char* format, ...) __attribute__((format(printf, 1, 2)));
void appendFormat(std::string& line, const char* format, ...) __attribute__((format(printf, 2, 3)));
void appendFormatV(std::string& line, const char* format, va_list args)
    __attribute__((format(printf, 2, 0)));

// Appends the byte length, "|", the bytes and "|". A newline or zero byte would end
// the line for every reader and lose the fields after it, so each becomes a space
// (the length is unchanged). Wide text is narrowed to one byte per unit first.
void appendCounted(std::string& line, std::string_view bytes);
void appendCounted(std::string& line, std::u16string_view text);

// One counted string per element, written straight to the file.
bool writeCountedStrings(RecordFile& file, std::span<const std::string> texts);
bool writeCountedStrings(RecordFile& file, std::span<const std::u16string> texts);

}  // namespace wendra
