#pragma once
// The point records of the track files: the text kinds GPSTrace and Trc to Trc5 (Trc5
// is written) and the binary point record, versions 0 and 1 (1 is written). Decoding
// turns the older kinds into today's values; it refuses a record that does not parse
// whole or holds a value no point can have (a position off the globe, a number that
// is not finite, a count past its field). Normalising the rest is setPointValues' job.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "records/BinaryRecord.h"
#include "track/PointValues.h"

namespace wendra {

class TrackPoint;

// Every text line of a track file starts with it.
inline constexpr std::string_view kTracePrefix = "RIRUvo|Trace|";
constexpr uint8_t kPointRecordKind = 2;
constexpr uint8_t kPointRecordVersion = 1;

// A decoded record: the values to set on a new point, and what only binary records
// carry (the smoothed values, and from version 1 the climb speed).
struct PointRecord {
    std::string_view kind;  // "GPSTrace", "Trc" ... "Trc5", "binary 0", "binary 1"
    PointValues values;
    bool hasSmoothed = false;
    float smoothAltitude = 0.0f;
    float smoothSpeed = 0.0f;
    float smoothSignal = 0.0f;
    bool hasClimbSpeed = false;
    float climbSpeed = 0.0f;
};

// "RIRUvo|Trace|Trc5|...|\n" for the point (flags without DistanceDirty).
void appendTextPointRecord(std::string& out, const TrackPoint& point);
// The version 1 payload for the point; the writer is cleared first.
void buildBinaryPointRecord(BinaryRecordWriter& out, const TrackPoint& point);

// A text line, with or without the "RIRUvo|Trace|" prefix; nothing for an unknown
// kind, a record whose fields run out or are not numbers, or an implausible one.
std::optional<PointRecord> decodeTextPointRecord(std::string_view line);
// A binary payload; nothing unless its kind is 2, its version 0 or 1 and its fields
// fill it exactly.
std::optional<PointRecord> decodeBinaryPointRecord(std::span<const uint8_t> payload);

}  // namespace wendra
