#include "track/TrackRecords.h"

#include <cmath>

#include "records/RecordSplitter.h"
#include "records/RecordWriter.h"
#include "track/TrackPoint.h"

namespace wendra {

namespace {

enum class TextKind { GpsTrace, Trc, Trc2, Trc3, Trc4, Trc5 };

struct TextKindEntry {
    std::string_view name;
    std::string_view prefix;
    TextKind kind;
    std::string_view types;
};

constexpr TextKindEntry kTextKinds[] = {
    {"GPSTrace", "GPSTrace|", TextKind::GpsTrace, "FFffddd"},
    {"Trc", "Trc|", TextKind::Trc, "FFffdfdddF"},
    {"Trc2", "Trc2|", TextKind::Trc2, "FFffdfdddF"},
    {"Trc3", "Trc3|", TextKind::Trc3, "FFffdfdddF"},
    {"Trc4", "Trc4|", TextKind::Trc4, "FFffdfdddFd"},
    {"Trc5", "Trc5|", TextKind::Trc5, "FFffdfdddFd"},
};

constexpr std::string_view kBinaryKinds[] = {"binary 0", "binary 1"};

// The first kinds stored the signal on another scale.
float convertedSignal(float stored) {
    return (stored - 100.0f) / 130.0f * 10.0f + 31.0f;
}

int32_t storedFlags(const TrackPoint& point) {
    return static_cast<int32_t>(point.flags & ~kDistanceDirty);
}

// The integer fields of a point record, read as int32 before they take their
// narrower places in the point's values.
struct IntegerFields {
    int32_t heading = 0;
    int32_t weight = 0;
    int32_t flags = 0;
    int32_t colour = 0;
    int32_t timeZone = 0;

    void storeInto(PointValues& v) const {
        v.heading = heading;
        v.weight = weight;
        v.flags = static_cast<uint32_t>(flags);
        v.colour = colour;
        v.timeZone = timeZone;
    }
};

std::optional<PointRecord> decodeKind(const TextKindEntry& entry, std::string_view fields) {
    PointRecord record;
    record.kind = entry.name;
    PointValues& v = record.values;
    IntegerFields n;
    const int outcome =
        entry.kind == TextKind::GpsTrace
            ? splitRecord(fields, entry.types,
                          {&v.lon, &v.lat, &v.speed, &v.altitude, &n.heading, &n.weight, &n.flags})
            : splitRecord(fields, entry.types,
                          {&v.lon, &v.lat, &v.speed, &v.altitude, &n.heading, &v.signal, &n.weight,
                           &n.flags, &n.colour, &v.time, &n.timeZone});
    if (outcome != 0) return std::nullopt;
    n.storeInto(v);
    v.textRecord = true;
    if (entry.kind != TextKind::Trc5) v.timeZone = kNoValue;
    if (entry.kind == TextKind::Trc) {
        // This kind stored the longitude scaled by cos(latitude).
        const double cosLat = std::cos(v.lat * kPi);
        if (cosLat != 0.0) v.lon /= cosLat;
    }
    if (entry.kind == TextKind::Trc || entry.kind == TextKind::Trc2)
        v.signal = convertedSignal(v.signal);
    return record;
}

}  // namespace

void appendTextPointRecord(std::string& out, const TrackPoint& point) {
    out += kTracePrefix;
    appendFormat(out, "Trc5|%.12Lf|%.12Lf|%.2f|%.2f|%d|%.1f|%d|%d|%d|%0.6Lf|%d|\n",
                 static_cast<long double>(point.lon), static_cast<long double>(point.lat),
                 static_cast<double>(point.speed), static_cast<double>(point.altitude),
                 static_cast<int>(point.heading), static_cast<double>(point.signal),
                 static_cast<int>(point.weight), storedFlags(point), static_cast<int>(point.colour),
                 static_cast<long double>(point.time), static_cast<int>(point.timeZone));
}

void buildBinaryPointRecord(BinaryRecordWriter& out, const TrackPoint& point) {
    out.clear();
    out.putByte(kPointRecordKind);
    out.putByte(kPointRecordVersion);
    out.putDouble(point.lon);
    out.putDouble(point.lat);
    out.putFloat(point.speed);
    out.putFloat(point.altitude);
    out.putInt32(point.heading);
    out.putFloat(point.signal);
    out.putInt32(point.weight);
    out.putInt32(storedFlags(point));
    out.putInt32(point.colour);
    out.putDouble(point.time);
    out.putInt32(point.timeZone);
    out.putFloat(point.smoothAltitude);
    out.putFloat(point.smoothSpeed);
    out.putFloat(point.smoothSignal);
    out.putFloat(point.climbSpeed);
}

std::optional<PointRecord> decodeTextPointRecord(std::string_view line) {
    if (line.starts_with(kTracePrefix)) line.remove_prefix(kTracePrefix.size());
    for (const TextKindEntry& entry : kTextKinds) {
        if (line.starts_with(entry.prefix))
            return decodeKind(entry, line.substr(entry.prefix.size()));
    }
    return std::nullopt;
}

std::optional<PointRecord> decodeBinaryPointRecord(std::span<const uint8_t> payload) {
    BinaryRecordReader reader(payload);
    uint8_t kind = 0;
    uint8_t version = 0;
    if (!reader.getByte(kind) || !reader.getByte(version)) return std::nullopt;
    if (kind != kPointRecordKind || version > kPointRecordVersion) return std::nullopt;
    PointRecord record;
    record.kind = kBinaryKinds[version];
    PointValues& v = record.values;
    IntegerFields n;
    // Field by field rather than by type string: this runs for every point of a layer.
    const bool unpacked =
        reader.getDouble(v.lon) && reader.getDouble(v.lat) && reader.getFloat(v.speed) &&
        reader.getFloat(v.altitude) && reader.getInt32(n.heading) && reader.getFloat(v.signal) &&
        reader.getInt32(n.weight) && reader.getInt32(n.flags) && reader.getInt32(n.colour) &&
        reader.getDouble(v.time) && reader.getInt32(n.timeZone) &&
        reader.getFloat(record.smoothAltitude) && reader.getFloat(record.smoothSpeed) &&
        reader.getFloat(record.smoothSignal) && (version == 0 || reader.getFloat(record.climbSpeed));
    if (!unpacked || !reader.atEnd()) return std::nullopt;
    n.storeInto(v);
    record.hasSmoothed = true;
    record.hasClimbSpeed = version >= 1;
    return record;
}

}  // namespace wendra
