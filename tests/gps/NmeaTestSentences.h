#pragma once
// Builds NMEA sentences with a correct checksum for the parser tests.

#include <cstdio>
#include <string>
#include <string_view>

namespace wendra::test {

// "$" + body + "*" + checksum + CR LF; body is everything between "$" and "*".
inline std::string nmea(std::string_view body) {
    unsigned sum = 0;
    for (char c : body) sum ^= static_cast<unsigned char>(c);
    char tail[8];
    std::snprintf(tail, sizeof tail, "*%02X\r\n", sum);
    return "$" + std::string(body) + tail;
}

}  // namespace wendra::test
