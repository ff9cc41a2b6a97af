#include "app/MapGroupDialog.h"

#include "platform/DialogHost.h"

#include "app/ButtonMenu.h"

namespace wendra {

namespace {

constexpr int kWidth = 130;

}  // namespace

platform::DialogTemplate MapGroupDialog::dialogTemplate(const std::vector<maps::MapGroup>& groups) {
    platform::DialogTemplate dialog;
    dialog.id = kTemplateId;
    dialog.title = u"Maps group";
    ButtonColumn column(dialog, kWidth);
    column.add(MapGroupControl::kNone, u"None");
    column.add(MapGroupControl::kAll, u"All (except Internet)");
    int shown = 0;
    for (std::size_t i = 0; i < groups.size() && shown < kMaxGroupButtons; ++i) {
        if (groups[i].members == 0 || groups[i].internet) continue;
        column.add(MapGroupControl::kFirstGroup + static_cast<int>(i), groups[i].name);
        ++shown;
    }
    column.finish();
    return dialog;
}

void MapGroupDialog::command(platform::DialogControls& dialog, int id) {
    int group = maps::kSelectMixed;
    if (id == MapGroupControl::kNone)
        group = maps::kSelectNone;
    else if (id == MapGroupControl::kAll)
        group = maps::kSelectAll;
    else if (id >= MapGroupControl::kFirstGroup &&
             id - MapGroupControl::kFirstGroup < static_cast<int>(catalogue_.groups().size()) &&
             !catalogue_.groups()[id - MapGroupControl::kFirstGroup].internet)
        group = id - MapGroupControl::kFirstGroup;
    if (group == maps::kSelectMixed) {
        if (id == platform::kIdCancel || id == platform::kIdOk) dialog.end(platform::kIdCancel);
        return;
    }
    catalogue_.pause(true);
    catalogue_.selectGroup(group);
    catalogue_.regroup();
    catalogue_.pause(false);
    if (chosen_) chosen_();
    dialog.end(platform::kIdOk);
}

bool runMapGroupDialog(maps::MapCatalogue& catalogue, std::function<void()> chosen) {
    catalogue.regroup();
    MapGroupDialog procedure(catalogue, std::move(chosen));
    return platform::runDialog(MapGroupDialog::dialogTemplate(catalogue.groups()), procedure) ==
           platform::kIdOk;
}

}  // namespace wendra
