// The folder import over real calibration files written by other programs, into real
// maps that read their image headers: what a user's folder of maps becomes.

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <vector>

#include "app/MapFolderImport.h"
#include "app/MapListDialog.h"
#include "app/MapSetupDialog.h"
#include "maps/MapShell.h"
#include "platform/WidePath.h"
#include "support/ScriptedDialogHost.h"
#include "support/ScriptedMessageBoxes.h"
#include "support/TestPaths.h"

namespace wendra::test {
namespace {

TEST(MapFolderRealFiles, ImportsTheUsableFilesOfATreeWithTheirImageSizes) {
    ScriptedMessageBoxes boxes;
    std::vector<std::unique_ptr<maps::CalibratedMap>> catalogue;
    MapFolderImportHooks hooks;
    hooks.addMap = [&](const maps::MapDefinition& d) {
        catalogue.push_back(std::make_unique<maps::CalibratedMap>());
        return catalogue.back()->setDefinition(d);
    };
    hooks.imageInUse = [](std::u16string_view) { return false; };
    int zonesAsked = 0;
    hooks.askZone = [&] {
        ++zonesAsked;
        return std::optional<int>(11);
    };
    const int count = importMapFolder(sharedData() / "ozi", true, hooks);
    std::map<std::u16string, std::pair<int, int>> sizes;
    for (const auto& map : catalogue)
        sizes[map->definition().title] = {map->definition().width, map->definition().height};
    // Every file of the "bad" folder fails or names no image, and is dropped.
    const std::map<std::u16string, std::pair<int, int>> expected = {
        {u"gk5-pul42", {120, 120}},
        {u"latlon-nad27", {145, 121}},
        {u"latlon-wgs84", {720, 360}},
        {u"utm11-nad27", {120, 120}},
    };
    EXPECT_EQ(sizes, expected);
    EXPECT_EQ(count, 4);
    EXPECT_EQ(zonesAsked, 0) << "the UTM file names its zone";
    EXPECT_TRUE(boxes.shown().empty()) << "failing files are dropped without a word";
}

}  // namespace
}  // namespace wendra::test

namespace wendra::test {
namespace {

namespace list = MapListControl;

// A folder "Holiday" holding two of the shared calibration files beside their images.
std::filesystem::path holidayFolder(const TempDir& dir) {
    const std::filesystem::path folder = dir / "Holiday";
    std::filesystem::create_directories(folder);
    for (const char* name : {"01-latlon/latlon-wgs84", "03-tmerc/gk5-pul42"})
        for (const char* extension : {".map", ".jpg"}) {
            const std::filesystem::path from =
                sharedData() / "ozi" / (std::string(name) + extension);
            std::filesystem::copy_file(from, folder / from.filename());
        }
    return folder;
}

std::vector<std::u16string> userMaps(const maps::MapCatalogue& catalogue) {
    std::vector<std::u16string> titles;
    for (const auto& m : catalogue.maps())
        if (!m->has(maps::mapflag::kRemoved)) titles.push_back(m->title() + u"/" + m->groupName());
    return titles;
}

// Legend: the command pressed in "List of maps" over the Holiday folder (the subfolder
// question answered No), then the maps the catalogue holds and the boxes' texts (the
// subfolder question as an empty text).
struct ListFileCase {
    const char* legend;
    int presses;           // of "Import a dir.", or 0 for "New"
    std::u16string image;  // the file typed in "Map" for "New"
    std::vector<std::u16string> maps;
    std::vector<std::u16string> boxes;
};

TEST(MapListRealFiles, ImportsAndCreatesMapsFromTheFolder) {
    const ListFileCase cases[] = {
        {"import the folder",
         1,
         u"",
         {u"gk5-pul42/Holiday", u"latlon-wgs84/Holiday"},
         {u"", u" 2 files imported"}},
        {"a second import finds the images in use",
         2,
         u"",
         {u"gk5-pul42/Holiday", u"latlon-wgs84/Holiday"},
         {u"", u" 2 files imported", u"", u" 0 files imported"}},
        {"a new map over a real image", 0, u"latlon-wgs84.jpg", {u"World/Holiday"}, {}},
        {"a new map whose image is missing stays out",
         0,
         u"missing.jpg",
         {},
         {u"Unable to open file <folder>/missing.jpg"}},
    };
    for (const ListFileCase& c : cases) {
        SCOPED_TRACE(c.legend);
        TempDir dir;
        const std::filesystem::path folder = holidayFolder(dir);
        const std::u16string wideFolder = *platform::wideFromPath(folder);
        maps::MapShell shell;
        maps::MapCatalogue catalogue{shell};
        ScriptedDialogHost host;
        ScriptedMessageBoxes boxes;
        std::u16string bmpPath = u"/start";
        MapListContext context;
        context.bmpPath = &bmpPath;
        context.chooseFolder = [&](std::u16string_view) { return std::optional(wideFolder); };
        std::vector<std::u16string> tree;
        host.expect([&](ScriptedDialog& d) {
            for (int i = 0; i < c.presses; ++i) EXPECT_TRUE(d.press(list::kImport));
            if (c.presses == 0) {
                EXPECT_TRUE(d.press(list::kNew));
            }
            for (auto item : d.treeChildren(list::kTree, platform::kNoTreeItem))
                tree.push_back(d.treeItemText(list::kTree, item));
            d.press(list::kBack);
        });
        if (c.presses == 0)
            host.expect([&](ScriptedDialog& d) {
                d.type(MapSetupControl::kName, u"World");
                d.type(MapSetupControl::kFile, wideFolder + u"/" + c.image);
                const int radios[] = {MapSetupControl::kUpLeft, MapSetupControl::kUpRight,
                                      MapSetupControl::kDownLeft, MapSetupControl::kDownRight};
                const char16_t* lats[] = {u"90", u"90", u"-90", u"-90"};
                const char16_t* lons[] = {u"-180", u"180", u"-180", u"180"};
                for (int i = 0; i < 4; ++i) {
                    d.press(radios[i]);
                    d.type(MapSetupControl::kLatitude, lats[i]);
                    d.type(MapSetupControl::kLongitude, lons[i]);
                }
                d.press(platform::kIdOk);
                if (!d.ended()) d.press(platform::kIdCancel);
            });
        runMapList(catalogue, context);
        std::vector<std::u16string> titles = userMaps(catalogue);
        std::sort(titles.begin(), titles.end());
        EXPECT_EQ(titles, c.maps);
        std::vector<std::u16string> texts;
        for (auto box : boxes.shown()) {
            if (const auto at = box.text.find(wideFolder); at != std::u16string::npos)
                box.text.replace(at, wideFolder.size(), u"<folder>");
            texts.push_back(box.text.starts_with(u"Do you also want") ? u"" : box.text);
        }
        EXPECT_EQ(texts, c.boxes);
        EXPECT_EQ(catalogue.takeChanged(), !c.maps.empty());
        if (!c.maps.empty()) {
            ASSERT_EQ(tree.size(), 1u);
            EXPECT_TRUE(tree[0].starts_with(u"Holiday  [")) << "the tree shows the new group";
            const auto made = catalogue.maps();
            const auto world = std::find_if(made.begin(), made.end(), [](const auto& m) {
                return m->title() == u"World" || m->title() == u"latlon-wgs84";
            });
            ASSERT_NE(world, made.end());
            EXPECT_EQ((*world)->definition().width, 720) << "the size comes from the image";
        }
    }
}

}  // namespace
}  // namespace wendra::test
