// Groups of maps and the user interface's pause of the catalogue.

#include <algorithm>
#include <atomic>

#include "maps/MapCatalogue.h"
#include "records/UnitFormat.h"
#include "records/WidePrintf.h"

namespace wendra::maps {

namespace {

const char16_t* stageLabel(int stage) {
    static constexpr const char16_t* kLabels[] = {u".WaitProcessed..AL.1", u".WaitProcessed..AL.2",
                                                  u".WaitProcessed..AL.20"};
    return kLabels[std::clamp(stage, 0, 2)];
}

int iconOf(const MapEntry& e) {
    if (!e.active()) return kIconInactive;
    if (e.has(mapflag::kLoading)) return kIconLoading;
    if (e.has(mapflag::kLoadFailed)) return kIconFailed;
    return kIconDefault;
}

// A group shows the most telling icon of its members: loading, then failed, then
// default; inactive only when every member is.
int combineIcon(int group, int member) {
    if (group == kIconInactive) return member;
    if (member == kIconInactive) return group;
    if (group == kIconLoading || member == kIconLoading) return kIconLoading;
    if (group == kIconFailed || member == kIconFailed) return kIconFailed;
    return kIconDefault;
}

}  // namespace

void MapCatalogue::regroup() {
    for (MapGroup& g : groups_) {
        g.members = 0;
        g.icon = kIconInactive;
        g.internet = true;
    }
    for (const MapPtr& e : maps()) {
        if (e->has(mapflag::kRemoved)) continue;
        const std::u16string name = e->groupName();
        auto found = std::find_if(groups_.begin(), groups_.end(),
                                  [&](const MapGroup& g) { return g.name == name; });
        if (found == groups_.end()) found = groups_.insert(groups_.end(), MapGroup{name});
        e->groupIndex = static_cast<int>(found - groups_.begin());
        ++found->members;
        found->icon = combineIcon(found->icon, iconOf(*e));
        found->internet = found->internet && e->internetTile();
    }
}

// Internet tiles come and go with the view; their groups do not make a selection of
// the user's maps mixed.
int MapCatalogue::groupSelectionState() {
    for (MapGroup& g : groups_) g.state = kGroupUnknown;
    for (const MapPtr& e : maps()) {
        if (e->has(mapflag::kRemoved) || e->groupIndex < 0 ||
            e->groupIndex >= static_cast<int>(groups_.size()))
            continue;
        int& state = groups_[e->groupIndex].state;
        const int mine = e->active() ? kGroupActive : kGroupInactive;
        if (state == kGroupUnknown)
            state = mine;
        else if (state != mine)
            state = kGroupMixed;
    }
    bool allActive = true, allInactive = true, anyMixed = false;
    int active = 0, single = kSelectMixed;
    for (std::size_t i = 0; i < groups_.size(); ++i) {
        const MapGroup& g = groups_[i];
        if (g.internet || g.members == 0) continue;
        allActive = allActive && g.state == kGroupActive;
        allInactive = allInactive && g.state == kGroupInactive;
        anyMixed = anyMixed || g.state == kGroupMixed;
        if (g.state == kGroupActive) {
            ++active;
            single = static_cast<int>(i);
        }
    }
    if (allActive) return kSelectAll;
    if (allInactive) return kSelectNone;
    if (anyMixed || active > 1) return kSelectMixed;
    return single;
}

void MapCatalogue::selectGroup(int group) {
    if (group == kSelectMixed) return;
    for (const MapPtr& e : maps()) {
        if (e->has(mapflag::kRemoved)) continue;
        e->setActive(e->groupIndex == group || (group == kSelectAll && !e->internetTile()));
    }
}

void MapCatalogue::toggleGroup(int group) {
    if (group < 0 || group >= static_cast<int>(groups_.size())) return;
    regroup();
    const bool activate = groups_[group].icon == kIconInactive;
    for (const MapPtr& e : maps())
        if (e->groupIndex == group && !e->has(mapflag::kRemoved)) e->setActive(activate);
}

void MapCatalogue::pause(bool on) {
    if (!on) {
        paused_.store(false);
        shell().requestPass(ManagerLevel::RankAndLoad);
        return;
    }
    platform::waitFor(
        [this] {
            bool free = false;
            return paused_.compare_exchange_strong(free, true);
        },
        u".BmpPause.1");
    platform::waitFor([this] { return !evicting_.load(); }, u".WaitMemProcessed.1");
    if (processing_.load())
        platform::waitFor([this] { return !processing_.load(); }, stageLabel(stage_.load()));
}

std::u16string memoryRowText(const MapMemoryRow& row) {
    std::u16string text;
    appendPrintf(text, "%d=", row.maps);
    appendByteSize(text, static_cast<std::int64_t>(row.bytes));
    return text;
}

void MapCatalogue::setListDialogOpen(bool open) {
    listDialog_.store(open);
}

}  // namespace wendra::maps
