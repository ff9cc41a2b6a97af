#pragma once
// The list of points: a header row per group (its count, open or closed) above the
// rows of its points, a sort button per group whose caption shows that group's
// choice, editing and deleting (a point or a whole group, with their voice memos).

#include <filesystem>
#include <functional>

#include "platform/DialogTemplate.h"
#include "points/PointStore.h"

namespace wendra::points {

namespace point_list {
inline constexpr int kList = 1201;
inline constexpr int kSort = 1202;
inline constexpr int kEdit = 1203;
inline constexpr int kDelete = 1204;
}  // namespace point_list

inline constexpr std::u16string_view kSortByDistance = u"Sort: Dist.";
inline constexpr std::u16string_view kSortByName = u"Sort: Alpha.";

struct PointListContext {
    PointStore* store = nullptr;
    int coordinateFormat = 0;
    double centreLatUnits = 0.0;  // the view centre, for the distance sort
    double centreLonUnits = 0.0;
    std::filesystem::path memoFolder;
    // Opens the point dialog on a point (a double click or "Edit").
    std::function<void(GpsPoint&)> edit;
};

platform::DialogTemplate pointListTemplate();
void runPointList(const PointListContext& context);

}  // namespace wendra::points
