#pragma once
// The transient messages of the view's commands, as the program shows them.

#include <string_view>

namespace wendra::viewmsg {

inline constexpr std::u16string_view kNotAvailable = u"Action not available";
inline constexpr std::u16string_view kZoomIn = u"Zoom +";
inline constexpr std::u16string_view kZoomOut = u"Zoom -";
inline constexpr std::u16string_view kManualZoom = u"Manual Zoom";
inline constexpr std::u16string_view kProportionalZoom = u"Zoom Proportional";
inline constexpr std::u16string_view kAutoZoom = u"Auto Zoom";
inline constexpr std::u16string_view kTurning = u"View: turning";
inline constexpr std::u16string_view kNorthUp = u"View: North up";
inline constexpr std::u16string_view kTurningRight = u"Turning right";
inline constexpr std::u16string_view kTurningLeft = u"Turning left";
inline constexpr std::u16string_view kTurningCenter = u"Turning center";
inline constexpr std::u16string_view kRight = u"Right";
inline constexpr std::u16string_view kLeft = u"Left";
inline constexpr std::u16string_view kUp = u"Up";
inline constexpr std::u16string_view kDown = u"Down";

}  // namespace wendra::viewmsg
