#include "app/KeyBindings.h"

#include "records/RecordSplitter.h"
#include "records/RecordWriter.h"

namespace wendra {

namespace {

struct DefaultBinding {
    int slot;
    std::array<int32_t, 4> sets;  // sets 0 to 3; set 4 is empty by default
};

using namespace Action;

constexpr int kAppKeys = Slot::kApplicationKey1;
constexpr DefaultBinding kDefaults[] = {
    {Slot::kButtonOk, {kMainMenu, 0, 0, 0}},
    {Slot::kButtonUp,
     {kNavigationDashboardWhileNavigating, kPointInFreeMovement, kImmediatePoint, 0}},
    {Slot::kButtonDown, {kQuickSetup, 0, 0, 0}},
    {Slot::kButtonLeft, {kPreviousRoutePoint, kTurnLeft, kPreviousTrackPoint, kZoomOut}},
    {Slot::kButtonRight, {kNextRoutePoint, kTurnRight, kNextTrackPoint, kZoomIn}},
    {Slot::kBatteryGauge, {kFavourites1, 0, 0, 0}},
    {Slot::kReceptionGauge, {kSatellites, 0, 0, 0}},
    {Slot::kLongClick, {kMainMenu, 0, 0, 0}},
    {kAppKeys + 0, {kDisplayButton, 0, 0, 0}},
    {kAppKeys + 1, {kDisplayButton, 0, 0, 0}},
    {kAppKeys + 2, {kDisplayButton, 0, 0, 0}},
    {kAppKeys + 3, {kDisplayButton, 0, 0, 0}},
    {kAppKeys + 4, {kDisplayButton, 0, 0, 0}},
    {kAppKeys + 5, {kDisplayButton, 0, 0, 0}},
    {Slot::kSoftkeyLeft, {kInformationLine, 0, 0, 0}},
    {Slot::kSoftkeyRight, {kSatellites, 0, 0, 0}},
    {Slot::kFavourites1, {kMainMenu, kRoute, kAdvancedSetup, kTools}},
};

}  // namespace

void KeyBindings::resetToDefaults() {
    actions_ = {};
    for (const DefaultBinding& binding : kDefaults) {
        for (size_t set = 0; set < binding.sets.size(); ++set)
            actions_[set][static_cast<size_t>(binding.slot)] = binding.sets[set];
    }
}

int32_t KeyBindings::action(int set, int slot) const {
    return inTable(set, slot) ? actions_[static_cast<size_t>(set)][static_cast<size_t>(slot)] : 0;
}

void KeyBindings::bind(int set, int slot, int32_t action) {
    if (inTable(set, slot)) actions_[static_cast<size_t>(set)][static_cast<size_t>(slot)] = action;
}

bool KeyBindings::read(std::string_view fields, int& set) {
    int32_t number = -1;
    std::array<int32_t, kSlots> read{};
    auto& a = read;
    splitRecord(fields, kTypes, {&number, &a[0],  &a[1],  &a[2],  &a[3],  &a[4],  &a[5],
                                 &a[6],   &a[7],  &a[8],  &a[9],  &a[10], &a[11], &a[12],
                                 &a[13],  &a[14], &a[15], &a[16], &a[17], &a[18], &a[19]});
    if (number < 0 || number >= kSets) return false;
    set = number;
    actions_[static_cast<size_t>(set)] = read;
    return true;
}

std::string KeyBindings::record(int set) const {
    if (set < 0 || set >= kSets) return {};
    std::string line = formatRecord("KeyD|%d|", set);
    for (const int32_t action : actions_[static_cast<size_t>(set)])
        appendFormat(line, "%d|", action);
    line += '\n';
    return line;
}

}  // namespace wendra
