#pragma once
// How much memory the program could still take, for the statistics' resource rows.
// A snapshot: the value may be stale as soon as it is read.

#include <cstdint>
#include <string_view>

namespace wendra::platform {

// Bytes available to programs now; -1 when the machine does not say.
std::int64_t availableMemoryBytes();

// The "MemAvailable:" figure of a /proc/meminfo text, in bytes; -1 when the line is
// missing or malformed. Reads nothing outside the text.
std::int64_t parseMemAvailable(std::string_view meminfo);

}  // namespace wendra::platform
