#include "maps/Md5.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace wendra::test {

namespace {

constexpr std::uint32_t kShifts[64] = {7, 12, 17, 22, 7, 12, 17, 22, 7, 12, 17, 22, 7, 12, 17, 22,
                                       5, 9,  14, 20, 5, 9,  14, 20, 5, 9,  14, 20, 5, 9,  14, 20,
                                       4, 11, 16, 23, 4, 11, 16, 23, 4, 11, 16, 23, 4, 11, 16, 23,
                                       6, 10, 15, 21, 6, 10, 15, 21, 6, 10, 15, 21, 6, 10, 15, 21};

std::uint32_t rotl(std::uint32_t v, std::uint32_t s) {
    return v << s | v >> (32 - s);
}

void block(std::uint32_t h[4], const std::uint8_t* p) {
    static const auto k = [] {
        std::array<std::uint32_t, 64> t{};
        for (int i = 0; i < 64; ++i)
            t[i] =
                static_cast<std::uint32_t>(std::floor(std::fabs(std::sin(i + 1.0)) * 4294967296.0));
        return t;
    }();
    std::uint32_t m[16];
    for (int i = 0; i < 16; ++i)
        m[i] = p[i * 4] | p[i * 4 + 1] << 8 | p[i * 4 + 2] << 16 |
               static_cast<std::uint32_t>(p[i * 4 + 3]) << 24;
    std::uint32_t a = h[0], b = h[1], c = h[2], d = h[3];
    for (int i = 0; i < 64; ++i) {
        std::uint32_t f;
        int g;
        if (i < 16) {
            f = (b & c) | (~b & d), g = i;
        } else if (i < 32) {
            f = (d & b) | (~d & c), g = (5 * i + 1) % 16;
        } else if (i < 48) {
            f = b ^ c ^ d, g = (3 * i + 5) % 16;
        } else {
            f = c ^ (b | ~d), g = (7 * i) % 16;
        }
        const std::uint32_t next = d;
        d = c;
        c = b;
        b = b + rotl(a + f + k[i] + m[g], kShifts[i]);
        a = next;
    }
    h[0] += a, h[1] += b, h[2] += c, h[3] += d;
}

}  // namespace

std::string md5Hex(const std::vector<std::uint8_t>& bytes) {
    std::uint32_t h[4] = {0x67452301, 0xefcdab89, 0x98badcfe, 0x10325476};
    std::vector<std::uint8_t> data(bytes);
    const std::uint64_t bits = static_cast<std::uint64_t>(bytes.size()) * 8;
    data.push_back(0x80);
    while (data.size() % 64 != 56) data.push_back(0);
    for (int i = 0; i < 8; ++i) data.push_back(static_cast<std::uint8_t>(bits >> (8 * i)));
    for (std::size_t i = 0; i < data.size(); i += 64) block(h, &data[i]);
    char hex[33];
    for (int i = 0; i < 16; ++i)
        std::snprintf(hex + i * 2, 3, "%02x", (h[i / 4] >> (8 * (i % 4))) & 0xFF);
    return hex;
}

}  // namespace wendra::test
