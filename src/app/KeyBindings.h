#pragma once
// The actions bound to the twenty key slots in five sets (the KeyD records). A key
// tries its bindings set by set; slots 16 and 17 of the five sets are the entries of
// the two favourite menus. Action numbers are kept as stored; the executor checks them.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "app/KeyTable.h"

namespace wendra {

class KeyBindings {
public:
    static constexpr int kSets = 5;
    static constexpr int kSlots = Slot::kCount;
    static constexpr std::string_view kKind = "KeyD";
    static constexpr std::string_view kTypes = "ddddddddddddddddddddd";  // set, 20 actions

    KeyBindings() { resetToDefaults(); }

    void resetToDefaults();
    // 0 ("Do nothing") outside the table.
    int32_t action(int set, int slot) const;
    void bind(int set, int slot, int32_t action);

    // The fields after "KeyD|"; false, and nothing changed, for a set outside 0..4.
    // On success `set` is the set read.
    bool read(std::string_view fields, int& set);
    std::string record(int set) const;

    bool operator==(const KeyBindings&) const = default;

private:
    static bool inTable(int set, int slot) {
        return set >= 0 && set < kSets && slot >= 0 && slot < kSlots;
    }
    std::array<std::array<int32_t, kSlots>, kSets> actions_{};
};

}  // namespace wendra
