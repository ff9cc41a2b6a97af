#include "app/InternetMapsMenu.h"

#include "records/Text.h"

#include "app/ButtonMenu.h"

namespace wendra {

namespace {

namespace id = InternetMapsMenuButton;

constexpr int kWidth = 130;

}  // namespace

platform::DialogTemplate InternetMapsMenu::dialogTemplate(const netmaps::SourceSettings& sources) {
    platform::DialogTemplate dialog;
    dialog.id = kTemplateId;
    dialog.title = u"Internet maps";
    ButtonColumn column(dialog, kWidth);
    column.add(id::kDisable, u"Disable");
    column.add(id::kDisableThisTime, u"Disable this time");
    for (int i = 0; i < netmaps::kTileSourceCount; ++i)
        if (sources.active(i))
            column.add(id::kFirstSource + i, widen(netmaps::tileSourceName(i)));
    column.add(id::kBack, u"Back");
    column.finish();
    return dialog;
}

int InternetMapsMenu::sourceOf(int buttonId) {
    const int source = buttonId - id::kFirstSource;
    return netmaps::isTileSource(source) ? source : netmaps::kNoTileSource;
}

void InternetMapsMenu::command(platform::DialogControls& dialog, int control) {
    dialog.end(control == platform::kIdCancel || control == platform::kIdOk ? id::kBack : control);
}

}  // namespace wendra
