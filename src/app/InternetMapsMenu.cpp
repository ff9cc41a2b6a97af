#include "app/InternetMapsMenu.h"

#include "records/Text.h"

namespace wendra {

namespace {

namespace id = InternetMapsMenuButton;

constexpr int kWidth = 130;
constexpr int kRowHeight = 16;
constexpr int kMargin = 4;

void addButton(platform::DialogTemplate& dialog, int control, std::u16string caption, int& top) {
    dialog.controls.push_back({control,
                               platform::ControlKind::Button,
                               std::move(caption),
                               {kMargin, top, kWidth - kMargin, top + kRowHeight - 2},
                               0u});
    top += kRowHeight;
}

}  // namespace

platform::DialogTemplate InternetMapsMenu::dialogTemplate(const netmaps::SourceSettings& sources) {
    platform::DialogTemplate dialog;
    dialog.id = kTemplateId;
    dialog.title = u"Internet maps";
    int top = kMargin;
    addButton(dialog, id::kDisable, u"Disable", top);
    addButton(dialog, id::kDisableThisTime, u"Disable this time", top);
    for (int i = 0; i < netmaps::kTileSourceCount; ++i)
        if (sources.active(i))
            addButton(dialog, id::kFirstSource + i, widen(netmaps::tileSourceName(i)), top);
    addButton(dialog, id::kBack, u"Back", top);
    dialog.size = {kWidth, top + kMargin};
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
