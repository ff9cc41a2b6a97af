#include "maps/MapGroups.h"

namespace wendra::maps {

std::u16string mapGroupMenuLine(int selection, const std::vector<MapGroup>& groups,
                                bool internetMapsEnabled, const std::u16string* internetSource) {
    if (internetSource) return u"Internet maps: " + *internetSource;
    const std::u16string prefix = u"Grp of maps: ";
    if (selection == kSelectAll)
        return prefix + (internetMapsEnabled ? u"All (except Internet)" : u"All");
    if (selection == kSelectNone) return prefix + u"None";
    if (selection >= 0 && selection < static_cast<int>(groups.size()))
        return prefix + groups[selection].name;
    return u"Select a group of maps";
}

}  // namespace wendra::maps
