#include "records/CoordinateEntry.h"

#include <cmath>
#include <utility>

#include "records/CoordinateFormat.h"
#include "records/CoordinateParser.h"
#include "records/SwissGrid.h"
#include "records/Utm.h"

namespace wendra {

namespace {

constexpr std::u16string_view kErrorTitle = u"Error!";
constexpr std::u16string_view kInfoTitle = u"Info!";
constexpr std::u16string_view kEmptyField = u"Empty field";
// The formats a refused text is tried in, to tell the user which one it is in.
constexpr int kFormatsToTry[] = {kFormatSeconds, kFormatMinutes, kFormatDegrees};

std::u16string_view formatName(int format) {
    return format >= 0 && format < kCoordinateFormatCount ? kCoordinateFormatNames[format]
                                                          : std::u16string_view();
}

bool isBlank(std::u16string_view text) {
    return text.find_first_not_of(u" \t") == std::u16string_view::npos;
}

CoordinateEntry refuse(int field, std::u16string message, std::u16string_view title) {
    CoordinateEntry entry;
    entry.field = field;
    entry.message = std::move(message);
    entry.title = title;
    return entry;
}

// "[%s] not valid in the string %s at format %s"
CoordinateEntry notValid(int field, std::u16string_view text, size_t from, size_t to, int format) {
    std::u16string message = u"[";
    message.append(text.substr(from, to - from)).append(u"] not valid in the string ");
    message.append(text).append(u" at format ").append(formatName(format));
    return refuse(field, std::move(message), kErrorTitle);
}

// " %s is in %s format and not %s" when another degree format reads the text.
CoordinateEntry refuseText(int field, std::u16string_view text, const CoordinateParse& parse,
                           int format) {
    if (field != kRoleUtmZone) {
        for (int other : kFormatsToTry) {
            if (other == format || !parseCoordinate(text, field, other).ok) continue;
            std::u16string message = u" ";
            message.append(text).append(u" is in ").append(formatName(other));
            message.append(u" format and not ").append(formatName(format));
            return refuse(field, std::move(message), kInfoTitle);
        }
    }
    return notValid(field, text, parse.errorStart, parse.errorEnd, format);
}

int fieldCount(int format) {
    return format == kFormatUtm ? 3 : 2;
}

GeoPosition toPosition(const double values[3], int format) {
    if (format == kFormatUtm) return geoFromUtm(values[0], values[1], static_cast<int>(values[2]));
    if (format == kFormatSwiss) return geoFromSwiss(values[0], values[1]);
    return GeoPosition{values[0], values[1]};
}

}  // namespace

CoordinateEntry readCoordinateEntry(const CoordinateFields& fields, int format) {
    double values[3] = {0.0, 0.0, 0.0};
    for (int field = 0; field < fieldCount(format); ++field) {
        const std::u16string_view text = fields[static_cast<size_t>(field)];
        if (isBlank(text)) return refuse(field, std::u16string(kEmptyField), kErrorTitle);
        const CoordinateParse parse = parseCoordinate(text, field, format);
        if (!parse.ok) return refuseText(field, text, parse, format);
        values[field] = parse.value;
    }
    CoordinateEntry entry;
    entry.position = toPosition(values, format);
    // A grid value far outside its projection can land beyond the poles.
    if (!hasCoordinate(entry.position.latitude) || std::fabs(entry.position.latitude) > 90.0) {
        const std::u16string_view text = fields[kRoleLongitude];
        return notValid(kRoleLongitude, text, 0, text.size(), format);
    }
    entry.accepted = true;
    return entry;
}

}  // namespace wendra
