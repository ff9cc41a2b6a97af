#include "app/MapGroupDialog.h"

#include "platform/DialogHost.h"

namespace wendra {

namespace {

constexpr int kWidth = 130;
constexpr int kRowHeight = 16;
constexpr int kMargin = 4;

void addButton(platform::DialogTemplate& dialog, int id, std::u16string caption, int& top) {
    dialog.controls.push_back({id,
                               platform::ControlKind::Button,
                               std::move(caption),
                               {kMargin, top, kWidth - kMargin, top + kRowHeight - 2},
                               0u});
    top += kRowHeight;
}

}  // namespace

platform::DialogTemplate MapGroupDialog::dialogTemplate(const std::vector<maps::MapGroup>& groups) {
    platform::DialogTemplate dialog;
    dialog.id = kTemplateId;
    dialog.title = u"Maps group";
    int top = kMargin;
    addButton(dialog, MapGroupControl::kNone, u"None", top);
    addButton(dialog, MapGroupControl::kAll, u"All (except Internet)", top);
    int shown = 0;
    for (std::size_t i = 0; i < groups.size() && shown < kMaxGroupButtons; ++i) {
        if (groups[i].members == 0 || groups[i].internet) continue;
        addButton(dialog, MapGroupControl::kFirstGroup + static_cast<int>(i), groups[i].name, top);
        ++shown;
    }
    dialog.size = {kWidth, top + kMargin};
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
