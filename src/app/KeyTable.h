#pragma once
// The numbered actions a key can be bound to, and the twenty key slots with the codes
// that reach them: the one table the dispatch, the default bindings and the tests share.
// Action numbers are those the KeyD records store; nothing here checks a stored binding.

#include <array>
#include <string_view>

#include "platform/KeyCodes.h"

namespace wendra {

namespace Action {
inline constexpr int kDoNothing = 0;
inline constexpr int kFavourites1 = 1;
inline constexpr int kFavourites2 = 2;
inline constexpr int kMainMenu = 3;
inline constexpr int kQuickSetup = 4;
inline constexpr int kAdvancedSetup = 5;
inline constexpr int kTools = 6;
inline constexpr int kListPoints = 7;
inline constexpr int kListMaps = 8;
inline constexpr int kRoute = 9;
inline constexpr int kTrack = 10;
inline constexpr int kDashboard1 = 11;
inline constexpr int kDashboard2 = 12;
inline constexpr int kNavigationDashboard = 13;
inline constexpr int kNavigationDashboardWhileNavigating = 14;
inline constexpr int kChronometer = 15;
inline constexpr int kSatellites = 16;
inline constexpr int kImmediatePoint = 17;
inline constexpr int kAddPoint = 18;
inline constexpr int kAddVoicePoint = 19;
inline constexpr int kPointInFreeMovement = 20;
inline constexpr int kToggleTrack = 21;
inline constexpr int kZoomMode = 22;
inline constexpr int kTrackColour = 23;
inline constexpr int kToggleGps = 24;
inline constexpr int kTurningView = 25;
inline constexpr int kZoomIn = 26;
inline constexpr int kZoomOut = 27;
inline constexpr int kTurnRight = 28;
inline constexpr int kTurnLeft = 29;
inline constexpr int kNorthUp = 30;
inline constexpr int kPointNames = 31;
inline constexpr int kInformationLine = 32;
inline constexpr int kNextTrackPoint = 33;
inline constexpr int kPreviousTrackPoint = 34;
inline constexpr int kNextRoutePoint = 35;
inline constexpr int kNextRouteStep = 36;
inline constexpr int kPreviousRoutePoint = 37;
inline constexpr int kManOverboard = 38;
inline constexpr int kShiftRight = 39;
inline constexpr int kShiftLeft = 40;
inline constexpr int kShiftUp = 41;
inline constexpr int kShiftDown = 42;
inline constexpr int kScreenOffOn = 43;
inline constexpr int kDeleteTrack = 44;
inline constexpr int kInternetMaps = 45;
inline constexpr int kDisplayButton = 46;
inline constexpr int kCount = 47;
}  // namespace Action

// The codes of the pseudo-keys: the program's own on-screen elements and the soft keys.
namespace PseudoKey {
inline constexpr int kFavourites1 = 990;
inline constexpr int kFavourites2 = 991;
inline constexpr int kBatteryGauge = 992;
inline constexpr int kReceptionGauge = 993;
inline constexpr int kLongClick = 994;
inline constexpr int kSoftkeyRight = 995;
inline constexpr int kSoftkeyLeft = 996;
inline constexpr int kButton1 = 997;
inline constexpr int kButton2 = 998;
}  // namespace PseudoKey

namespace Slot {
inline constexpr int kButtonOk = 0;
inline constexpr int kButtonUp = 1;
inline constexpr int kButtonDown = 2;
inline constexpr int kButtonLeft = 3;
inline constexpr int kButtonRight = 4;
inline constexpr int kBatteryGauge = 5;
inline constexpr int kReceptionGauge = 6;
inline constexpr int kLongClick = 7;
inline constexpr int kApplicationKey1 = 8;  // to kApplicationKey1 + 5
inline constexpr int kSoftkeyLeft = 14;
inline constexpr int kSoftkeyRight = 15;
inline constexpr int kFavourites1 = 16;
inline constexpr int kFavourites2 = 17;
inline constexpr int kButton1 = 18;
inline constexpr int kButton2 = 19;
inline constexpr int kCount = 20;
}  // namespace Slot

// The code that reaches the window and the name the key setup shows ("Display button"
// shows it too), indexed by slot.
struct KeySlot {
    int code;
    std::u16string_view name;
};

inline constexpr std::array<KeySlot, Slot::kCount> kKeySlots = {{
    {platform::kKeyEnter, u"Button OK"},
    {platform::kKeyUp, u"Button Up"},
    {platform::kKeyDown, u"Button Down"},
    {platform::kKeyLeft, u"Button Left"},
    {platform::kKeyRight, u"Button Right"},
    {PseudoKey::kBatteryGauge, u"Gauge of battery"},
    {PseudoKey::kReceptionGauge, u"Gauge of reception"},
    {PseudoKey::kLongClick, u"Long click on the screen"},
    {platform::kFirstApplicationKey + 0, u"Key application 1"},
    {platform::kFirstApplicationKey + 1, u"Key application 2"},
    {platform::kFirstApplicationKey + 2, u"Key application 3"},
    {platform::kFirstApplicationKey + 3, u"Key application 4"},
    {platform::kFirstApplicationKey + 4, u"Key application 5"},
    {platform::kFirstApplicationKey + 5, u"Key application 6"},
    {PseudoKey::kSoftkeyLeft, u"Softkey Left"},
    {PseudoKey::kSoftkeyRight, u"Softkey Right"},
    {PseudoKey::kFavourites1, u"Favourite menu nr 1"},
    {PseudoKey::kFavourites2, u"favourite menu nr 2"},
    {PseudoKey::kButton1, u"Button 1"},
    {PseudoKey::kButton2, u"Button 2"},
}};
static_assert(Slot::kApplicationKey1 + platform::kApplicationKeyCount == Slot::kSoftkeyLeft);

constexpr int keyCode(int slot) {
    return kKeySlots[static_cast<std::size_t>(slot)].code;
}

// -1 for a code no slot has.
constexpr int slotOfCode(int code) {
    for (int slot = 0; slot < Slot::kCount; ++slot)
        if (keyCode(slot) == code) return slot;
    return -1;
}

}  // namespace wendra
