#pragma once
// The points the program makes by itself: the immediate point named from the local
// time, the man overboard point's name, a new shared position. Positions are the
// caller's; nothing here reads the clock.

#include <string>

#include "platform/Clock.h"
#include "points/GpsPoint.h"

namespace wendra::points {

constexpr std::u16string_view kImmediateGroup = u"Now";
constexpr std::u16string_view kImmediateIcon = u"Flag";
constexpr std::u16string_view kSharedGroup = u"Shared positions";
constexpr std::u16string_view kSharedIconName = u"Pos1";

// "yymmdd-hhmmss" in group "Now" with the icon "Flag", "Displayed", label "Icon".
GpsPoint immediatePoint(const platform::CivilTime& local, double latDeg, double lonDeg);
// "Homme à la mer hhmmss".
std::u16string manOverboardName(const platform::CivilTime& local);
// Icon "Pos1", group "Shared positions", "Displayed", label "Icon", shared.
GpsPoint newSharedPosition();
// "Point\n%s\nAdded" with the point's group and name.
std::u16string pointAddedMessage(const GpsPoint& point, int coordinateFormat);

}  // namespace wendra::points
