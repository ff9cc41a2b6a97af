#include "points/GeneratedPoints.h"

#include "records/WidePrintf.h"

namespace wendra::points {

namespace {

constexpr int kCentury = 100;

}  // namespace

GpsPoint immediatePoint(const platform::CivilTime& local, double latDeg, double lonDeg) {
    GpsPoint point;
    appendPrintf(point.name, "%02d%02d%02d-%02d%02d%02d", local.year % kCentury, local.month,
                 local.day, local.hour, local.minute, local.second);
    point.group = kImmediateGroup;
    point.iconName = kImmediateIcon;
    point.setStatus(PointStatus::Displayed);
    point.setLabelMode(LabelMode::Icon);
    point.setPosition(latDeg, lonDeg);
    return point;
}

std::u16string manOverboardName(const platform::CivilTime& local) {
    std::u16string name;
    appendPrintf(name, "Homme \xE0 la mer %02d%02d%02d", local.hour, local.minute, local.second);
    return name;
}

GpsPoint newSharedPosition() {
    GpsPoint point;
    point.iconName = kSharedIconName;
    point.group = kSharedGroup;
    point.setStatus(PointStatus::Displayed);
    point.setLabelMode(LabelMode::Icon);
    point.flags |= kShared;
    return point;
}

std::u16string pointAddedMessage(const GpsPoint& point, int coordinateFormat) {
    return u"Point\n" + point.displayText(coordinateFormat, true) + u"\nAdded";
}

}  // namespace wendra::points
