// Reads arbitrary bytes as lines of the maps file: a line that holds a map must write
// back to a line that reads as the same map, and writing that again changes nothing.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "maps/MapsFile.h"

namespace {

void check(bool condition) {
    if (!condition) __builtin_trap();
}

void checkLine(std::string_view line) {
    const auto first = wendra::maps::parseMapRecord(line);
    if (!first) return;
    const std::string written = wendra::maps::mapRecord(*first);
    const auto second = wendra::maps::parseMapRecord(written);
    check(second.has_value());
    check(wendra::maps::mapRecord(*second) == written);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        checkLine(text.substr(start, end - start + (end < text.size() ? 1 : 0)));
        start = end + 1;
    }
    return 0;
}
