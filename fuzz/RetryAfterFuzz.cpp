// Reads arbitrary bytes as a server's Retry-After value, seconds or an HTTP date, at
// several clocks: the answer is -1 or a wait of zero or more seconds.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/linux/CurlHttp.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view value(reinterpret_cast<const char*>(data), size);
    for (const std::int64_t now : {std::int64_t{0}, std::int64_t{1445412480}, INT64_MAX / 2}) {
        const auto seconds = wendra::platform::retryAfterSeconds(value, now).count();
        if (seconds < -1) __builtin_trap();
    }
    return 0;
}
