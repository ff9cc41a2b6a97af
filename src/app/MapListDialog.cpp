#include "app/MapListDialog.h"

#include <algorithm>

#include "platform/DialogHost.h"
#include "platform/MessageBox.h"

namespace wendra {

namespace ctl = MapListControl;
using maps::MapPtr;
using maps::MapStatus;
using platform::ControlKind;
using platform::TreeItem;

namespace {

constexpr std::u16string_view kConfirmation = u"Confirmation";

std::u16string line(const std::u16string& name, const std::u16string& status) {
    return name + u"  [" + status + u"]";
}

}  // namespace

std::u16string mapStatusText(const maps::MapEntry& map) {
    const MapStatus status = map.status();
    if (status == MapStatus::ActiveNotLoaded && map.has(maps::mapflag::kLoadFailed))
        return u"failed";
    switch (status) {
        case MapStatus::ActiveNotLoaded:
            return u"not loaded";
        case MapStatus::ActiveLoaded:
            return u"loaded";
        case MapStatus::Inactive:
            return u"inactive";
        case MapStatus::Loading:
            return u"loading";
        case MapStatus::WaitingToLoad:
            return u"waiting";
        case MapStatus::NotEnoughMemory:
            return u"not enough memory";
        case MapStatus::Removed:
            return u"removed";
    }
    return {};
}

std::u16string groupIconText(int icon) {
    switch (icon) {
        case maps::kIconFailed:
            return u"failed";
        case maps::kIconLoading:
            return u"loading";
        case maps::kIconInactive:
            return u"inactive";
        default:
            return u"active";
    }
}

MapListDialog::MapListDialog(maps::MapCatalogue& catalogue, MapListContext context)
    : catalogue_(catalogue), context_(std::move(context)) {}

platform::DialogTemplate MapListDialog::dialogTemplate() {
    platform::DialogTemplate dialog;
    dialog.id = kTemplateId;
    dialog.title = u"List of maps";
    dialog.size = {160, 200};
    dialog.controls.push_back({ctl::kTree, ControlKind::Tree, {}, {4, 4, 156, 150}, 0});
    struct Button {
        int id;
        std::u16string_view caption;
    };
    static constexpr Button kButtons[] = {
        {ctl::kLoad, u"Unload"}, {ctl::kDelete, u"Delete"}, {ctl::kImport, u"Import a dir."},
        {ctl::kNew, u"New"},     {ctl::kModify, u"Modify"}, {ctl::kCorrect, u"Correct"},
        {ctl::kBack, u"Back"},
    };
    constexpr int kPerRow = 4, kWidth = 38, kHeight = 14;
    for (int i = 0; i < static_cast<int>(std::size(kButtons)); ++i) {
        const int left = 4 + (i % kPerRow) * kWidth, top = 154 + (i / kPerRow) * (kHeight + 4);
        dialog.controls.push_back({kButtons[i].id,
                                   ControlKind::Button,
                                   std::u16string(kButtons[i].caption),
                                   {left, top, left + kWidth - 2, top + kHeight},
                                   0});
    }
    return dialog;
}

std::vector<std::u16string> MapListDialog::lines() const {
    std::vector<std::u16string> out;
    const auto& groups = catalogue_.groups();
    const std::vector<MapPtr> all = catalogue_.maps();
    for (std::size_t g = 0; g < groups.size(); ++g) {
        if (groups[g].members == 0) continue;
        out.push_back(line(groups[g].name, groupIconText(groups[g].icon)));
        for (const MapPtr& m : all)
            if (m->groupIndex == static_cast<int>(g) && !m->has(maps::mapflag::kRemoved))
                out.push_back(line(m->title(), mapStatusText(*m)));
    }
    return out;
}

void MapListDialog::rebuild(platform::DialogControls& dialog) {
    const Row* was = selected(dialog);
    const Row keep = was ? *was : Row{};
    dialog.clearItems(ctl::kTree);
    rows_.clear();
    const auto& groups = catalogue_.groups();
    const std::vector<MapPtr> all = catalogue_.maps();
    TreeItem reselect = platform::kNoTreeItem;
    for (std::size_t g = 0; g < groups.size(); ++g) {
        if (groups[g].members == 0) continue;
        const TreeItem top = dialog.addTreeItem(ctl::kTree, platform::kNoTreeItem,
                                                line(groups[g].name, groupIconText(groups[g].icon)),
                                                platform::TreeIcon::Folder, true);
        rows_[top] = Row{static_cast<int>(g), nullptr};
        if (!keep.map && keep.group == static_cast<int>(g)) reselect = top;
        for (const MapPtr& m : all) {
            if (m->groupIndex != static_cast<int>(g) || m->has(maps::mapflag::kRemoved)) continue;
            const TreeItem item =
                dialog.addTreeItem(ctl::kTree, top, line(m->title(), mapStatusText(*m)),
                                   platform::TreeIcon::File, false);
            rows_[item] = Row{static_cast<int>(g), m};
            if (keep.map == m) reselect = item;
        }
        dialog.expandTreeItem(ctl::kTree, top);
    }
    if (reselect != platform::kNoTreeItem) dialog.selectTreeItem(ctl::kTree, reselect);
    shown_ = lines();
    updateButtons(dialog);
}

void MapListDialog::refresh(platform::DialogControls& dialog) {
    catalogue_.regroup();
    if (lines() != shown_) rebuild(dialog);
}

const MapListDialog::Row* MapListDialog::selected(const platform::DialogControls& dialog) const {
    const auto found = rows_.find(dialog.selectedTreeItem(ctl::kTree));
    return found == rows_.end() ? nullptr : &found->second;
}

void MapListDialog::updateButtons(platform::DialogControls& dialog) {
    const Row* row = selected(dialog);
    bool loaded = false;
    if (row && row->map)
        loaded = row->map->active();
    else if (row && row->group >= 0 && row->group < static_cast<int>(catalogue_.groups().size()))
        loaded = catalogue_.groups()[row->group].icon != maps::kIconInactive;
    dialog.setText(ctl::kLoad, loaded ? u"Unload" : u"Load");
    for (int id : {ctl::kLoad, ctl::kDelete, ctl::kCorrect}) dialog.setEnabled(id, row != nullptr);
    dialog.setEnabled(ctl::kModify, row && row->map);
    dialog.setEnabled(ctl::kImport, context_.chooseFolder && context_.bmpPath);
}

void MapListDialog::init(platform::DialogControls& dialog) {
    catalogue_.regroup();
    rebuild(dialog);
    dialog.setTimer(kRefreshTimer, kRefreshMs);
}

void MapListDialog::timer(platform::DialogControls& dialog, int timerId) {
    if (timerId == kRefreshTimer) refresh(dialog);
}

void MapListDialog::notify(platform::DialogControls& dialog, int id,
                           const platform::Notification& what) {
    if (id == ctl::kTree && what.code == platform::NotifyCode::SelectionChanged)
        updateButtons(dialog);
}

void MapListDialog::change(const std::function<void()>& edit) {
    catalogue_.pause(true);
    edit();
    catalogue_.regroup();
    catalogue_.pause(false);
    catalogue_.markChanged();
}

void MapListDialog::command(platform::DialogControls& dialog, int id) {
    if (id == ctl::kBack || id == platform::kIdCancel || id == platform::kIdOk) {
        dialog.end(platform::kIdCancel);
        return;
    }
    const Row* picked = selected(dialog);
    const Row row = picked ? *picked : Row{};
    if (id == ctl::kLoad && picked) toggleLoad(row);
    if (id == ctl::kDelete && picked) remove(row);
    if (id == ctl::kImport) importFolder();
    if (id == ctl::kNew) setup(nullptr);
    if (id == ctl::kModify && row.map) setup(&row);
    if (id == ctl::kCorrect && picked) correct(row);
    if (toShow_) {
        if (context_.showMap) context_.showMap(*toShow_);
        dialog.end(kShowMap);
        return;
    }
    catalogue_.regroup();
    rebuild(dialog);
}

void MapListDialog::toggleLoad(const Row& row) {
    change([&] {
        if (row.map)
            row.map->setActive(!row.map->active());
        else
            catalogue_.toggleGroup(row.group);
    });
}

void MapListDialog::remove(const Row& row) {
    const std::u16string_view question = row.map ? u"Do you want to remove this map?"
                                                 : u"Do you want to delete the maps of this group";
    if (platform::showMessage(question, kConfirmation, platform::Buttons::YesNo,
                              platform::Icon::Question) != platform::Answer::Yes)
        return;
    change([&] {
        if (row.map)
            catalogue_.removeMap(*row.map);
        else
            catalogue_.removeGroup(row.group);
    });
}

int runMapList(maps::MapCatalogue& catalogue, MapListContext context) {
    catalogue.setListDialogOpen(true);
    MapListDialog procedure(catalogue, std::move(context));
    const int result = platform::runDialog(MapListDialog::dialogTemplate(), procedure);
    catalogue.setListDialogOpen(false);
    return result;
}

}  // namespace wendra
