#pragma once
// The "GPS Point" dialog: adds or updates one point. The form is written into the point
// only when OK passes every check; Cancel leaves it as it was (its number aside, which
// the opening gives). The caller saves and, for a cancelled new point, drops its memo.

#include <filesystem>
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
inline constexpr int kMemoState = 1116;  // what the memo is: none, recorded, recording
inline constexpr int kMemoRecord = 1117;
inline constexpr int kMemoStop = 1118;
inline constexpr int kMemoPlay = 1119;
inline constexpr int kMemoDelete = 1120;
inline constexpr int kMemoTimer = 1;  // watches a recording that may end by itself
}  // namespace point_dialog

struct PointDialogContext {
    PointStore* store = nullptr;      // groups, numbers, identifiers of shared positions
    const IconList* icons = nullptr;  // the picture list; none offers "None" only
    int coordinateFormat = 0;
    std::optional<GeoPosition> gps;  // the current fix, when valid
    GeoPosition viewCentre;          // "Use manual location"
    // The voice memo folder ("RecorderPath"); empty: the dialog offers no memo.
    std::filesystem::path memoFolder;
    // "Add voice point": recording starts as the dialog opens.
    bool recordMemo = false;
    // Registers a shared position's identifier with the sharing service; the error
    // text, empty on success. Not set: nothing to register with.
    std::function<std::u16string(std::u16string_view id, std::u16string_view key)> registerShare;
};

platform::DialogTemplate pointDialogTemplate(bool shared, int coordinateFormat);

// Opens the dialog on the point ("Add a point (%d)" when `adding`, else "Update the point
// (%d)"); true when OK stored the form. A recording still running when the dialog ends
// is stopped, so the memo is complete when this returns. A position the chosen format
// cannot show refuses to open with "Unable to display the coordinates in the selected
// format.".
bool runPointDialog(GpsPoint& point, bool adding, const PointDialogContext& context);

}  // namespace wendra::points
