// Available memory from /proc/meminfo, whose MemAvailable line is the kernel's own
// estimate of what a program can take without swapping.

#include <cstdio>
#include <limits>
#include <string>

#include "platform/MemoryStatus.h"

namespace wendra::platform {

namespace {

constexpr std::string_view kKey = "MemAvailable:";
constexpr std::int64_t kBytesPerKb = 1024;
constexpr std::size_t kMaxRead = 64 * 1024;  // meminfo is a few kilobytes

}  // namespace

std::int64_t parseMemAvailable(std::string_view meminfo) {
    std::size_t at = meminfo.find(kKey);
    // Only at the start of a line.
    while (at != std::string_view::npos && at != 0 && meminfo[at - 1] != '\n')
        at = meminfo.find(kKey, at + 1);
    if (at == std::string_view::npos) return -1;
    std::size_t i = at + kKey.size();
    while (i < meminfo.size() && meminfo[i] == ' ') ++i;
    std::int64_t kb = 0;
    const std::size_t digits = i;
    constexpr std::int64_t kMaxKb = std::numeric_limits<std::int64_t>::max() / kBytesPerKb;
    while (i < meminfo.size() && meminfo[i] >= '0' && meminfo[i] <= '9') {
        const int digit = meminfo[i] - '0';
        if (kb > (kMaxKb - digit) / 10) return -1;
        kb = kb * 10 + digit;
        ++i;
    }
    if (i == digits || meminfo.substr(i, 3) != " kB") return -1;
    return kb * kBytesPerKb;
}

std::int64_t availableMemoryBytes() {
    std::FILE* file = std::fopen("/proc/meminfo", "rb");
    if (!file) return -1;
    std::string text(kMaxRead, '\0');
    const std::size_t got = std::fread(text.data(), 1, text.size(), file);
    std::fclose(file);
    text.resize(got);
    return parseMemAvailable(text);
}

}  // namespace wendra::platform
