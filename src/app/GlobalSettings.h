#pragma once
// The Global4 record: the program's options word, the memory given to map images and
// the sound of the no-fix alert. The older Global3 has the same fields; a file of that
// age predates the "Hide the windows of the background" option, which then comes on.

#include <cstdint>
#include <string>
#include <string_view>

namespace wendra {

// The bits of the options word, with their labels in the settings.
struct ProgramOptions {
    static constexpr int32_t kTurnOffBySystem = 0x00001;      // "Turn Off managed by system"
    static constexpr int32_t kBacklightBySystem = 0x00002;    // "Backlight managed by system"
    static constexpr int32_t kScreenOffCompletely = 0x00004;  // "Turn off the screen completely"
    static constexpr int32_t kStaticNavFunctions = 0x00010;   // "Functions to manage StaticNav"
    static constexpr int32_t kExtendedFileSelection = 0x00040;
    static constexpr int32_t kOldSavingFormat = 0x00080;
    static constexpr int32_t kAlternativeKeyboard = 0x00200;
    // The internet-cost warning was accepted for tiles, position sharing, address search.
    static constexpr int32_t kCostAcceptedTiles = 0x00800;
    static constexpr int32_t kCostAcceptedSharing = 0x01000;
    static constexpr int32_t kCostAcceptedAddress = 0x02000;
    static constexpr int32_t kHideBackgroundWindows = 0x04000;
    static constexpr int32_t kScreenOnNoteShown = 0x08000;
    static constexpr int32_t kScreenOnNote2Shown = 0x10000;
    static constexpr int32_t kModePna = 0x20000;
    static constexpr int32_t kInfoLineOnTap = 0x40000;  // a tap in the status band cycles it

    static constexpr int32_t kDefault = kScreenOffCompletely | kHideBackgroundWindows;
};

struct GlobalSettings {
    static constexpr std::string_view kKind = "Global4";
    static constexpr std::string_view kOlderKind = "Global3";
    static constexpr std::string_view kTypes = "ddw";

    int32_t options = ProgramOptions::kDefault;
    int32_t mapMemoryMb = 0;  // 0: "Maxi", no limit
    std::u16string noFixSound;

    bool has(int32_t bits) const { return (options & bits) == bits; }
    // The fields after "Global4|" or, with `older`, after "Global3|".
    void read(std::string_view fields, bool older);
    std::string record() const;
};

}  // namespace wendra
