#include "gps/Fix.h"

#include <algorithm>
#include <bit>
#include <type_traits>

namespace wendra {

namespace {

template <typename T>
using UnsignedOfSize = std::conditional_t<sizeof(T) == 8, uint64_t, uint32_t>;

// Byte by byte, so the record is the same on a host of either byte order.
template <typename T>
uint8_t* put(uint8_t* out, T value) {
    auto bits = std::bit_cast<UnsignedOfSize<T>>(value);
    for (size_t i = 0; i < sizeof(T); ++i) {
        *out++ = static_cast<uint8_t>(bits & 0xFF);
        bits >>= 8;
    }
    return out;
}

template <typename T>
const uint8_t* get(const uint8_t* in, T& value) {
    UnsignedOfSize<T> bits = 0;
    for (size_t i = sizeof(T); i-- > 0;) bits = (bits << 8) | in[i];
    value = std::bit_cast<T>(bits);
    return in + sizeof(T);
}

}  // namespace

FixRecord encodeFix(const Fix& fix) {
    FixRecord record{};
    uint8_t* out = record.data();
    out = put(out, fix.latitude);
    out = put(out, fix.longitude);
    out = put(out, fix.speed);
    out = put(out, fix.altitude);
    out = put(out, fix.course);
    out = put(out, fix.signal);
    put(out, fix.time);
    return record;
}

Fix decodeFix(const FixRecord& record) {
    Fix fix;
    const uint8_t* in = record.data();
    in = get(in, fix.latitude);
    in = get(in, fix.longitude);
    in = get(in, fix.speed);
    in = get(in, fix.altitude);
    in = get(in, fix.course);
    in = get(in, fix.signal);
    get(in, fix.time);
    return fix;
}

std::optional<Fix> decodeFix(std::span<const uint8_t> bytes) {
    if (bytes.size() < kFixRecordSize) return std::nullopt;
    FixRecord record;
    std::copy_n(bytes.begin(), kFixRecordSize, record.begin());
    return decodeFix(record);
}

}  // namespace wendra
