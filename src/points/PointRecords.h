#pragma once
// The two record kinds of the points file, "GPSCoord" (a user point) and "SharedPos"
// (a shared position), as text lines and as packed binary payloads. The readers take
// any bytes: texts are cut to their limits, a bad position makes the point invalid.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "points/GpsPoint.h"
#include "records/BinaryRecord.h"

namespace wendra::points {

constexpr std::string_view kPointKind = "GPSCoord";
constexpr std::string_view kSharedKind = "SharedPos";

// Packed record headers: (kind, version).
constexpr uint8_t kPackedPointKind = 1;
constexpr uint8_t kPackedPointOlder = 0;  // without the two alert conditions
constexpr uint8_t kPackedPointVersion = 1;
constexpr uint8_t kPackedSharedKind = 3;
constexpr uint8_t kPackedSharedVersion = 0;

// The whole line, newline included: "SharedPos|..." for a shared position, else
// "GPSCoord|...". The transient bits are not written.
std::string pointRecordLine(const GpsPoint& point);
// A "GPSCoord" or "SharedPos" line into `point` (a fresh one: fields the line does not
// carry keep what the point had). False, with the point untouched, for any other kind.
bool readPointRecord(std::string_view line, GpsPoint& point);

void buildPackedPointRecord(BinaryRecordWriter& out, const GpsPoint& point);
// False for a header of another kind or version and for a payload that ends early.
bool readPackedPointRecord(std::span<const uint8_t> payload, GpsPoint& point);

// The comment as a record line carries it: each line break as backslash and "n",
// other control characters dropped, at most 4093 bytes; and back, with CR LF breaks.
std::u16string commentForRecord(std::u16string_view comment);
std::u16string commentFromRecord(std::u16string_view stored);

}  // namespace wendra::points
