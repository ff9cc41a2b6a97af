#include "points/PointRecords.h"

#include "records/RecordSplitter.h"
#include "records/RecordWriter.h"

namespace wendra::points {

namespace {

constexpr std::string_view kPointTypes = "wFFddwwwdxddf";
constexpr std::string_view kOlderPointTypes = "wFFddwwwdxd";
constexpr std::string_view kSharedTypes = "wwwddwwwdxddf";
constexpr size_t kStoredCommentMax = 4093;

// The fields both kinds share, from the flags on.
struct CommonFields {
    int32_t flags = 0;
    int32_t colour = 0;
    std::u16string group;
    std::u16string alertName;
    std::u16string iconName;
    int32_t number = 0;
    std::u16string comment;
    int32_t identifier = 0;
    int32_t course = 0;
    float speed = 0.0f;
};

struct PointFields {
    std::u16string name;
    double latitude = 0.0;
    double longitude = 0.0;
    std::u16string shareId;
    std::u16string shareKey;
    CommonFields common;
};

std::u16string cut(std::u16string text, size_t max) {
    if (text.size() > max) text.resize(max);
    return text;
}

void applyCommon(const CommonFields& in, GpsPoint& point) {
    point.flags = static_cast<uint32_t>(in.flags) & ~kTransientFlags;
    point.colour = in.colour;
    point.group = cut(in.group, kNameMax);
    point.alertName = cut(in.alertName, kNameMax);
    point.alert = nullptr;
    point.iconName = cut(in.iconName, kNameMax);
    point.iconIndex = 0;
    point.number = in.number;
    point.comment = cut(in.comment, kCommentMax);
    if (in.identifier != 0) point.identifier = in.identifier;
    point.course = in.course;
    point.speed = in.speed;
}

void applyPoint(const PointFields& in, GpsPoint& point) {
    point.name = cut(in.name, kNameMax);
    applyCommon(in.common, point);
    point.flags &= ~kShared;
    point.setPosition(in.latitude, in.longitude);
}

// A shared position's place comes from the sharing service; until then it is not live,
// or it would be drawn at whatever position the object happens to hold.
void applyShared(const PointFields& in, GpsPoint& point) {
    point.name = cut(in.name, kNameMax);
    point.shareId = cut(in.shareId, kShareIdMax);
    point.shareKey = cut(in.shareKey, kShareKeyMax);
    applyCommon(in.common, point);
    point.flags = (point.flags | kShared) & ~(kRejected | kPositionValid);
}

void appendCommon(std::string& line, const GpsPoint& point, const std::u16string& comment) {
    appendFormat(line, "%d|%d|", static_cast<int32_t>(point.flags & ~kTransientFlags),
                 point.colour);
    appendCounted(line, point.group);
    appendCounted(line, point.alertName);
    appendCounted(line, point.iconName);
    appendFormat(line, "%d|", point.number);
    appendCounted(line, comment);
    appendFormat(line, "%d|%d|%0.1f|\n", point.identifier, point.course,
                 static_cast<double>(point.speed));
}

}  // namespace

std::u16string commentForRecord(std::u16string_view comment) {
    std::u16string out;
    for (const char16_t c : comment) {
        if (c == u'\n') {
            if (out.size() + 2 > kStoredCommentMax) break;
            out += u"\\n";
        } else if (c >= 32) {
            if (out.size() + 1 > kStoredCommentMax) break;
            out += c;
        }
    }
    return out;
}

std::u16string commentFromRecord(std::u16string_view stored) {
    std::u16string out;
    for (size_t i = 0; i < stored.size(); ++i) {
        if (stored[i] == u'\\' && i + 1 < stored.size() && stored[i + 1] == u'n') {
            out += u"\r\n";
            ++i;
        } else {
            out += stored[i];
        }
    }
    return cut(std::move(out), kCommentMax);
}

std::string pointRecordLine(const GpsPoint& point) {
    std::string line;
    const std::u16string comment = commentForRecord(point.comment);
    if (point.isShared()) {
        line = std::string(kSharedKind) + '|';
        appendCounted(line, point.name);
        appendCounted(line, point.shareId);
        appendCounted(line, point.shareKey);
    } else {
        line = std::string(kPointKind) + '|';
        appendCounted(line, point.name);
        appendFormat(line, "%.8Lf|%.8Lf|", static_cast<long double>(point.latitude),
                     static_cast<long double>(point.longitude));
    }
    appendCommon(line, point, comment);
    return line;
}

bool readPointRecord(std::string_view line, GpsPoint& point) {
    std::string_view fields;
    PointFields in;
    CommonFields& c = in.common;
    if (hasRecordPrefix(line, kPointKind, &fields)) {
        splitRecord(
            fields, kPointTypes,
            {&in.name, &in.latitude, &in.longitude, &c.flags, &c.colour, &c.group, &c.alertName,
             &c.iconName, &c.number, &c.comment, &c.identifier, &c.course, &c.speed});
        c.comment = commentFromRecord(c.comment);
        applyPoint(in, point);
        return true;
    }
    if (hasRecordPrefix(line, kSharedKind, &fields)) {
        splitRecord(
            fields, kSharedTypes,
            {&in.name, &in.shareId, &in.shareKey, &c.flags, &c.colour, &c.group, &c.alertName,
             &c.iconName, &c.number, &c.comment, &c.identifier, &c.course, &c.speed});
        c.comment = commentFromRecord(c.comment);
        applyShared(in, point);
        return true;
    }
    return false;
}

void buildPackedPointRecord(BinaryRecordWriter& out, const GpsPoint& point) {
    out.clear();
    const std::u16string comment = cut(point.comment, kCommentMax);
    const int32_t flags = static_cast<int32_t>(point.flags & ~kTransientFlags);
    if (point.isShared()) {
        out.putByte(kPackedSharedKind);
        out.putByte(kPackedSharedVersion);
        out.pack(kSharedTypes,
                 {std::u16string_view(point.name), std::u16string_view(point.shareId),
                  std::u16string_view(point.shareKey), flags, point.colour,
                  std::u16string_view(point.group), std::u16string_view(point.alertName),
                  std::u16string_view(point.iconName), point.number, std::u16string_view(comment),
                  point.identifier, point.course, point.speed});
        return;
    }
    out.putByte(kPackedPointKind);
    out.putByte(kPackedPointVersion);
    out.pack(kPointTypes,
             {std::u16string_view(point.name), point.latitude, point.longitude, flags, point.colour,
              std::u16string_view(point.group), std::u16string_view(point.alertName),
              std::u16string_view(point.iconName), point.number, std::u16string_view(comment),
              point.identifier, point.course, point.speed});
}

bool readPackedPointRecord(std::span<const uint8_t> payload, GpsPoint& point) {
    BinaryRecordReader reader(payload);
    uint8_t kind = 0;
    uint8_t version = 0;
    if (!reader.getByte(kind) || !reader.getByte(version)) return false;
    PointFields in;
    CommonFields& c = in.common;
    if (kind == kPackedSharedKind && version == kPackedSharedVersion) {
        if (!reader.unpack(kSharedTypes, {&in.name, &in.shareId, &in.shareKey, &c.flags, &c.colour,
                                          &c.group, &c.alertName, &c.iconName, &c.number,
                                          &c.comment, &c.identifier, &c.course, &c.speed}))
            return false;
        applyShared(in, point);
        return true;
    }
    if (kind != kPackedPointKind || version > kPackedPointVersion) return false;
    const std::string_view types = version == kPackedPointOlder ? kOlderPointTypes : kPointTypes;
    if (!reader.unpack(types, {&in.name, &in.latitude, &in.longitude, &c.flags, &c.colour, &c.group,
                               &c.alertName, &c.iconName, &c.number, &c.comment, &c.identifier,
                               &c.course, &c.speed}))
        return false;
    applyPoint(in, point);
    return true;
}

}  // namespace wendra::points
