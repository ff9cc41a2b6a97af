#include "track/TrackRecords.h"

#include <charconv>
#include <cmath>
#include <limits>

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

// Fields the splitter would read as 0 because they are not numbers (a damaged byte),
// or would replace by their default because they are infinite, make the record
// unreadable instead of a point at 0/0.
bool numericFields(std::string_view fields, size_t count) {
    while (!fields.empty() && static_cast<unsigned char>(fields.back()) < ' ')
        fields.remove_suffix(1);
    for (size_t i = 0; i < count; ++i) {
        const size_t bar = fields.find('|');
        std::string_view field = fields.substr(0, bar);
        while (field.starts_with(' ')) field.remove_prefix(1);
        double value = 0.0;
        const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), value);
        if (error != std::errc() || end != field.data() + field.size()) return false;
        if (!std::isfinite(value)) return false;
        if (bar == std::string_view::npos) return i + 1 == count;
        fields.remove_prefix(bar + 1);
    }
    return true;
}

bool finite(double value) {
    return std::isfinite(value);
}

// Positions on the globe, finite numbers, counts and codes that fit their fields, a
// time zone of this planet: anything else is damage, never a point.
bool plausible(const PointRecord& r) {
    constexpr double kMaxLat = 0.5;  // 90 degrees in half-turns
    constexpr double kMaxLon = 1.0;  // 180 degrees
    constexpr int kMaxTimeZoneHours = 24;
    constexpr int kMaxCode = std::numeric_limits<uint16_t>::max();
    // Past a thousand years from the epoch a time is no receiver's, and its
    // differences no longer fit the points' single-precision intervals.
    constexpr double kMaxDays = 365250.0;
    const PointValues& v = r.values;
    const bool numbers = finite(v.lon) && finite(v.lat) && finite(v.speed) && finite(v.altitude) &&
                         finite(v.signal) && finite(v.time) && finite(r.smoothAltitude) &&
                         finite(r.smoothSpeed) && finite(r.smoothSignal) && finite(r.climbSpeed);
    return numbers && std::fabs(v.lat) <= kMaxLat && std::fabs(v.lon) <= kMaxLon &&
           std::fabs(v.time) <= kMaxDays && v.weight >= 0 && v.weight <= kMaxCode &&
           v.colour >= 0 && v.colour <= kMaxCode &&
           (v.timeZone == kNoValue || std::abs(v.timeZone) <= kMaxTimeZoneHours);
}

std::optional<PointRecord> checked(std::optional<PointRecord> record) {
    if (record && !plausible(*record)) return std::nullopt;
    return record;
}

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
    const size_t fieldCount = entry.types.size();
    if (outcome != 0 || !numericFields(fields, fieldCount)) return std::nullopt;
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
            return checked(decodeKind(entry, line.substr(entry.prefix.size())));
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
        reader.getFloat(record.smoothSignal) &&
        (version == 0 || reader.getFloat(record.climbSpeed));
    if (!unpacked || !reader.atEnd()) return std::nullopt;
    n.storeInto(v);
    record.hasSmoothed = true;
    record.hasClimbSpeed = version >= 1;
    return checked(record);
}

}  // namespace wendra
