#pragma once
// What the menus open about the internet maps: the "Internet maps" settings dialog
// (with "Delete cache" asking first), its quick menu, and the action that turns the
// downloads on and off. Window thread only; the caller saves what was marked changed.

#include <string>

namespace wendra {

class AppShell;
class InternetMaps;

class InternetMapsScreens {
public:
    static constexpr std::u16string_view kDeleteQuestion =
        u"Do you want to remove the cache (the folder %s will be deleted)";
    static constexpr std::u16string_view kDeleteTitle = u"Confirmation";
    static constexpr std::u16string_view kActivated = u"Internet Maps: Activated";
    static constexpr std::u16string_view kDeactivated = u"Internet Maps: Deactivated";

    InternetMapsScreens(InternetMaps& maps, AppShell& shell) : maps_(maps), shell_(shell) {}

    void openSettings();
    void openQuickMenu();
    // Downloads on or off; the status text says which.
    std::u16string toggle();

private:
    InternetMaps& maps_;
    AppShell& shell_;
};

}  // namespace wendra
