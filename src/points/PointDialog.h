#pragma once
// The "GPS Point" dialog: adds or updates one point. The form is written into the point
// only when OK passes every check; Cancel leaves it as it was (its number aside, which
// the opening gives). The caller saves and, for a cancelled new point, drops its memo.

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/DialogTemplate.h"
#include "points/PointStore.h"
#include "records/GeoPosition.h"

namespace wendra::points {

class IconList;

namespace point_dialog {
inline constexpr int kGroup = 1101;
inline constexpr int kName = 1102;
inline constexpr int kLatitude = 1103;   // also easting, Swiss east
inline constexpr int kLongitude = 1104;  // also northing, Swiss north
inline constexpr int kZone = 1105;
inline constexpr int kShareId = 1106;
inline constexpr int kShareKey = 1107;
inline constexpr int kUseGps = 1108;
inline constexpr int kUseManual = 1109;
inline constexpr int kStatus = 1110;
inline constexpr int kLabel = 1111;
inline constexpr int kPicture = 1112;
inline constexpr int kCourseAndDistance = 1113;
inline constexpr int kAlert = 1114;
inline constexpr int kColour = 1115;
}  // namespace point_dialog

struct PointDialogContext {
    PointStore* store = nullptr;      // groups, numbers, identifiers of shared positions
    const IconList* icons = nullptr;  // the picture list; none offers "None" only
    int coordinateFormat = 0;
    std::optional<GeoPosition> gps;  // the current fix, when valid
    GeoPosition viewCentre;          // "Use manual location"
    // Registers a shared position's identifier with the sharing service; the error
    // text, empty on success. Not set: nothing to register with.
    std::function<std::u16string(std::u16string_view id, std::u16string_view key)> registerShare;
};

platform::DialogTemplate pointDialogTemplate(bool shared, int coordinateFormat);

// Opens the dialog on the point ("Add a point (%d)" when `adding`, else "Update the point
// (%d)"); true when OK stored the form. A position the chosen format cannot show refuses
// to open with "Unable to display the coordinates in the selected format.".
bool runPointDialog(GpsPoint& point, bool adding, const PointDialogContext& context);

}  // namespace wendra::points
