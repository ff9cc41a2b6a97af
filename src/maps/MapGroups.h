#pragma once
// The groups of the map list: one per folder of member images (or internet source),
// with the selection state the group menu and the list dialog show. Groups are
// rebuilt from the maps by regroup; nothing here holds a map.

#include <string>
#include <vector>

namespace wendra::maps {

// Selection state of one group while it is worked out.
enum GroupState : int {
    kGroupMixed = 0,
    kGroupInactive = 1,
    kGroupActive = 2,
    kGroupUnknown = 3,
};

// Icons of the list dialog.
inline constexpr int kIconDefault = 6;
inline constexpr int kIconFailed = 7;
inline constexpr int kIconLoading = 8;
inline constexpr int kIconInactive = 9;

// What a group selection result means besides a group index.
inline constexpr int kSelectAll = -1;  // every map except the internet tiles
inline constexpr int kSelectNone = -2;
inline constexpr int kSelectMixed = -3;

struct MapGroup {
    std::u16string name;
    int members = 0;
    int state = kGroupUnknown;
    int icon = kIconInactive;
    bool internet = true;  // made of internet tiles only
};

// The main menu's line for the maps group: `selection` as groupSelectionState gives it.
std::u16string mapGroupMenuLine(int selection, const std::vector<MapGroup>& groups,
                                bool internetMapsEnabled, const std::u16string* internetSource);

}  // namespace wendra::maps
