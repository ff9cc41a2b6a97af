#include "app/KeyBindings.h"

#include "records/RecordSplitter.h"
#include "records/RecordWriter.h"

namespace wendra {

namespace {

struct DefaultBinding {
    int slot;
    std::array<int32_t, 4> sets;  // sets 0 to 3; set 4 is empty by default
};

// Actions: 1 favourites 1, 3 main menu, 4 quick setup, 5 advanced setup, 6 tools,
// 9 route, 14 navigation dashboard, 16 satellites, 17 immediate point, 20 point in
// free movement, 26/27 zoom, 28/29 turn, 32 information line, 33/34 track points,
// 35/37 route points, 46 display button.
constexpr DefaultBinding kDefaults[] = {
    {0, {3, 0, 0, 0}},      // "Button OK"
    {1, {14, 20, 17, 0}},   // "Button Up"
    {2, {4, 0, 0, 0}},      // "Button Down"
    {3, {37, 29, 34, 27}},  // "Button Left"
    {4, {35, 28, 33, 26}},  // "Button Right"
    {5, {1, 0, 0, 0}},      // "Gauge of battery"
    {6, {16, 0, 0, 0}},     // "Gauge of reception"
    {7, {3, 0, 0, 0}},      // "Long click on the screen"
    {8, {46, 0, 0, 0}},     // "Key application 1" to 6
    {9, {46, 0, 0, 0}},    {10, {46, 0, 0, 0}}, {11, {46, 0, 0, 0}},
    {12, {46, 0, 0, 0}},   {13, {46, 0, 0, 0}}, {14, {32, 0, 0, 0}},  // "Softkey Left"
    {15, {16, 0, 0, 0}},                                              // "Softkey Right"
    {16, {3, 9, 5, 6}},                                               // "Favourite menu nr 1"
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
