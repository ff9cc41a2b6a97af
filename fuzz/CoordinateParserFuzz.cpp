// Feeds any bytes to the coordinate parser and the entry rule built on it.
// Byte 0 picks the role (mod 3) and the format (0-4, and 5 for an unknown one);
// byte 1 picks byte-wide text (even) or 16-bit little-endian units (odd).
// A reader that crashes, reports a span outside the text, accepts an impossible
// value, or cannot read back its own formatting of a value fails here.

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "records/CoordinateEntry.h"
#include "records/CoordinateFormat.h"
#include "records/CoordinateParser.h"
#include "records/Text.h"

namespace {

using namespace wendra;

void check(bool condition) {
    if (!condition) std::abort();
}

std::u16string textFrom(const uint8_t* data, size_t size, bool wide) {
    if (!wide) return widen(std::string_view(reinterpret_cast<const char*>(data), size));
    std::u16string text;
    for (size_t i = 0; i + 1 < size; i += 2)
        text.push_back(static_cast<char16_t>(data[i] | (data[i + 1] << 8)));
    return text;
}

void checkAccepted(double value, int role, int format) {
    check(std::isfinite(value));
    if (format > kFormatSeconds) {
        if (format == kFormatUtm && role == kRoleUtmZone)
            check(value == std::floor(value) && std::fabs(value) >= 1 && std::fabs(value) <= 60);
        return;
    }
    check(std::fabs(value) <= (role == kRoleLatitude ? 90.0 : 180.0));
    // What the program shows of the value must read back to within its last digit.
    std::u16string shown;
    formatCoordinate(shown, value, role, format);
    const CoordinateParse again = parseCoordinate(shown, role, format);
    check(again.ok && std::fabs(again.value - value) < 1e-5);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    const int role = data[0] % 3;
    const int format = (data[0] / 3) % 6;
    const std::u16string text = textFrom(data + 2, size - 2, (data[1] & 1) != 0);

    const CoordinateParse parse = parseCoordinate(text, role, format);
    if (parse.ok)
        checkAccepted(parse.value, role, format);
    else
        check(parse.errorStart <= parse.errorEnd && parse.errorEnd <= text.size());

    const CoordinateEntry entry = readCoordinateEntry({text, text, text}, format);
    if (entry.accepted)
        check(hasCoordinate(entry.position.latitude) && hasCoordinate(entry.position.longitude));
    else
        check(!entry.message.empty() && !entry.title.empty() && entry.field >= 0);
    return 0;
}
