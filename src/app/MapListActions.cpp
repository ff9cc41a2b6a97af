// The commands of the map list that open other forms: the folder import, the map
// setup and the correction, each handing its result to the catalogue.

#include "app/CorrectMapDialog.h"
#include "app/MapFolderImport.h"
#include "app/MapListDialog.h"
#include "app/MapSetupDialog.h"
#include "app/SelectZoneDialog.h"

namespace wendra {

using maps::MapPtr;

namespace {

// Puts a definition into the catalogue: a new map, or the edited one replaced. A new
// map that cannot take it, or whose image cannot be read, goes again and the setup
// dialog stays open (setDefinition has told the user why).
class CatalogueTarget final : public MapSetupTarget {
public:
    CatalogueTarget(maps::MapCatalogue& catalogue, MapPtr edited)
        : catalogue_(catalogue), edited_(std::move(edited)) {}

    bool store(const maps::MapDefinition& definition) override {
        maps::MapDefinition active = definition;
        active.userFlags |= maps::kMapActive;
        catalogue_.pause(true);
        bool stored = false;
        if (edited_) {
            stored = edited_->setDefinition(active, true);
        } else if (MapPtr created = catalogue_.newMap()) {
            stored =
                created->setDefinition(active, true) && !created->has(maps::mapflag::kLoadFailed);
            if (!stored) catalogue_.removeMap(*created);
        }
        catalogue_.regroup();
        catalogue_.pause(false);
        if (stored) catalogue_.markChanged();
        return stored;
    }
    void test(const maps::MapDefinition& definition) override { tested = definition; }

    std::optional<maps::MapDefinition> tested;

private:
    maps::MapCatalogue& catalogue_;
    MapPtr edited_;
};

}  // namespace

void MapListDialog::importFolder() {
    if (!context_.chooseFolder || !context_.bmpPath) return;
    const std::size_t before = catalogue_.size();
    MapFolderImportHooks hooks;
    hooks.addMap = [this](const maps::MapDefinition& definition) {
        const MapPtr created = catalogue_.newMap();
        if (!created) return false;
        if (created->setDefinition(definition)) return true;
        catalogue_.removeMap(*created);
        return false;
    };
    hooks.imageInUse = [this, before](std::u16string_view path) {
        return catalogue_.isDuplicate(std::u16string(path), before);
    };
    hooks.askZone = [this]() -> std::optional<int> {
        int scratch = 0;
        return askUtmZone(context_.currentFix ? context_.currentFix() : std::nullopt,
                          context_.lastZone ? *context_.lastZone : scratch);
    };
    hooks.pause = [this](bool on) {
        if (on) {
            catalogue_.pause(true);
            return;
        }
        catalogue_.regroup();
        catalogue_.setNightMode(catalogue_.shell().nightMode());
        catalogue_.pause(false);
    };
    const std::optional<int> made =
        runMapFolderImport(context_.chooseFolder, *context_.bmpPath, hooks);
    if (made && *made > 0) catalogue_.markChanged();
}

void MapListDialog::setup(const Row* row) {
    MapSetupContext context;
    context.coordinateFormat = context_.coordinateFormat;
    std::u16string scratch;
    context.bmpPath = context_.bmpPath ? context_.bmpPath : &scratch;
    context.chooseImage = context_.chooseImage;
    context.chooseCalibration = context_.chooseCalibration;
    context.askZone = [this]() -> std::optional<int> {
        int last = 0;
        return askUtmZone(context_.currentFix ? context_.currentFix() : std::nullopt,
                          context_.lastZone ? *context_.lastZone : last);
    };
    CatalogueTarget target(catalogue_, row ? row->map : nullptr);
    runMapSetup(row ? std::optional(row->map->definition()) : std::nullopt, context, target);
    if (target.tested) toShow_ = target.tested;
}

void MapListDialog::correct(const Row& row) {
    std::vector<MapPtr> entries;
    if (row.map)
        entries.push_back(row.map);
    else
        for (const MapPtr& m : catalogue_.maps())
            if (m->groupIndex == row.group && !m->has(maps::mapflag::kRemoved))
                entries.push_back(m);
    // The dialog works on copies; "Apply" hands their new corners to the entries.
    std::vector<maps::CalibratedMap> copies(entries.size());
    std::vector<maps::CalibratedMap*> selection;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        copies[i].setDefinition(entries[i]->definition());
        selection.push_back(&copies[i]);
    }
    const std::u16string name = row.map ? row.map->title() : catalogue_.groups()[row.group].name;
    runCorrectMap(selection, name, context_.unitSystem, [&](bool test) {
        change([&] {
            for (std::size_t i = 0; i < entries.size(); ++i)
                entries[i]->setDefinition(copies[i].definition());
        });
        if (test && !copies.empty()) toShow_ = copies.front().definition();
    });
}

}  // namespace wendra
