#include "app/InternetMapsScreens.h"

#include "app/AppShell.h"
#include "app/FileChooser.h"
#include "app/InternetMaps.h"
#include "app/InternetMapsDialog.h"
#include "app/InternetMapsMenu.h"
#include "netmaps/InternetSourcesDialog.h"
#include "platform/MessageBox.h"
#include "records/Text.h"

namespace wendra {

namespace {

std::u16string deleteQuestion(const std::string& folder) {
    std::u16string text(InternetMapsScreens::kDeleteQuestion);
    const std::size_t at = text.find(u"%s");
    text.replace(at, 2, widen(folder));
    return text;
}

}  // namespace

// "Delete cache" takes the settings over as OK does, then asks.
void InternetMapsScreens::openSettings() {
    InternetMapsHooks hooks;
    hooks.chooseFolder = [](std::u16string_view start) { return chooseFolder(start); };
    // The source edits stay in the dialog's copy: its Cancel drops them too.
    hooks.editSources = [](netmaps::SourceSettings& sources) {
        return netmaps::runInternetSources(sources, {});
    };
    const auto [settings, sources] = maps_.copySettings();
    InternetMapsDialog dialog(settings, sources, std::move(hooks));
    const int result = shell_.runModalDialog(InternetMapsDialog::dialogTemplate(), dialog);
    if (result != platform::kIdOk && result != InternetMapsControl::kDeleteCache) return;
    maps_.takeSettings(dialog.tiles(), dialog.sources());
    if (result == InternetMapsControl::kDeleteCache &&
        platform::showMessage(deleteQuestion(maps_.settings().cacheFolder), kDeleteTitle,
                              platform::Buttons::YesNo,
                              platform::Icon::Question) == platform::Answer::Yes)
        maps_.deleteCache();
    shell_.saveChangedFiles(false);
    shell_.requestRepaint();
}

void InternetMapsScreens::openQuickMenu() {
    InternetMapsMenu menu;
    const int pressed =
        shell_.runModalDialog(InternetMapsMenu::dialogTemplate(maps_.sources()), menu);
    if (pressed == InternetMapsMenuButton::kDisable)
        maps_.disable();
    else if (pressed == InternetMapsMenuButton::kDisableThisTime)
        maps_.disableThisTime();
    else if (const int source = InternetMapsMenu::sourceOf(pressed); netmaps::isTileSource(source))
        maps_.showSource(source);
    else
        return;
    shell_.saveChangedFiles(false);
    shell_.requestRepaint();
}

std::u16string InternetMapsScreens::toggle() {
    if (maps_.settings().downloadMaps()) {
        maps_.disable();
        return std::u16string(kDeactivated);
    }
    auto [settings, sources] = maps_.copySettings();
    settings.settingsFlags |= netmaps::tilesetting::kDownloadMaps;
    maps_.takeSettings(settings, sources);
    return std::u16string(kActivated);
}

}  // namespace wendra
