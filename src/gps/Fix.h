#pragma once
// The current GPS fix and its 40-byte record, the form in which fixes are appended to
// the crash-recovery journal: fields in declaration order, little-endian, no padding.
// Decoding does not judge the values; a record of the wrong size is refused.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace wendra {

struct Fix {
    double latitude = 0.0;   // degrees, north positive
    double longitude = 0.0;  // degrees, east positive
    float speed = 0.0f;      // km/h
    float altitude = 0.0f;   // metres, after the geoid correction
    int32_t course = 0;      // whole degrees
    float signal = 0.0f;     // dB, power sum over the used satellites
    double time = 0.0;       // Day number of the device clock when decoded

    bool operator==(const Fix&) const = default;
};

inline constexpr size_t kFixRecordSize = 40;
static_assert(sizeof(Fix) == kFixRecordSize, "the in-memory Fix must match its record");

using FixRecord = std::array<uint8_t, kFixRecordSize>;

FixRecord encodeFix(const Fix& fix);
Fix decodeFix(const FixRecord& record);
// The first 40 bytes of `bytes`; nothing when fewer are there (a journal cut short).
std::optional<Fix> decodeFix(std::span<const uint8_t> bytes);

}  // namespace wendra
