// "Maps group" and "List of maps" driven through the scripted host over a catalogue
// of maps whose sizes are stored, so that no image file is touched.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/CorrectMapDialog.h"
#include "app/MapGroupDialog.h"
#include "app/MapListDialog.h"
#include "maps/MapShell.h"
#include "support/ScriptedDialogHost.h"
#include "support/ScriptedMessageBoxes.h"

namespace wendra::test {
namespace {

namespace list = MapListControl;
using platform::Answer;
using platform::TreeItem;

maps::MapDefinition mapAt(std::u16string title, std::u16string path, bool active,
                          bool tile = false) {
    maps::MapDefinition d;
    d.title = std::move(title);
    d.imagePath = std::move(path);
    d.cornerLatitudes = {46.5, 46.5, 46.0, 46.0};
    d.cornerLongitudes = {6.5, 7.0, 6.5, 7.0};
    d.width = 500;
    d.height = 500;
    d.bytesPerPixel = 3;
    d.userFlags = (active ? maps::kMapActive : 0) | (tile ? maps::kMapInternetTile : 0);
    return d;
}

// Two maps in "alps", one in "jura" and an internet tile of "osm".
struct Catalogue {
    Catalogue(bool alps = true, bool jura = false, bool tile = false) {
        for (auto d :
             {mapAt(u"A1", u"/m/alps/a1.bmp", alps), mapAt(u"A2", u"/m/alps/a2.bmp", alps),
              mapAt(u"J", u"/m/jura/j.bmp", jura), mapAt(u"T", u"/cache/osm/t.png", tile, true)})
            maps.newMap()->setDefinition(d);
        maps.regroup();
    }
    std::vector<bool> active() const {
        std::vector<bool> flags;
        for (const auto& m : maps.maps()) flags.push_back(m->active());
        return flags;
    }
    std::u16string menuLine() {
        return maps::mapGroupMenuLine(maps.groupSelectionState(), maps.groups(), true, nullptr);
    }
    maps::MapShell shell;
    maps::MapCatalogue maps{shell};
};

struct GroupCase {
    const char* legend;
    std::u16string button;     // the caption pressed
    std::vector<bool> active;  // A1, A2, J, T afterwards
    std::u16string menu;
};

// Legend: the button pressed in "Maps group" over a catalogue with "alps" active
// and an internet tile;
// then the active flags and the main menu line. A click also asks for saving.
TEST(MapGroupDialog, SelectsTheGroupPressed) {
    const GroupCase cases[] = {
        {"none", u"None", {false, false, false, false}, u"Grp of maps: None"},
        {"all but the internet tile",
         u"All (except Internet)",
         {true, true, true, false},
         u"Grp of maps: All (except Internet)"},
        {"another group", u"jura", {false, false, true, false}, u"Grp of maps: jura"},
    };
    for (const GroupCase& c : cases) {
        SCOPED_TRACE(c.legend);
        Catalogue cat;
        ScriptedDialogHost host;
        std::vector<std::u16string> captions;
        host.expect([&](ScriptedDialog& d) {
            EXPECT_EQ(d.title(), u"Maps group");
            for (int id = MapGroupControl::kFirstGroup; id < MapGroupControl::kFirstGroup + 4; ++id)
                captions.push_back(d.text(id));
            int id = MapGroupControl::kNone;
            if (c.button == u"All (except Internet)") id = MapGroupControl::kAll;
            for (std::size_t i = 0; i < captions.size(); ++i)
                if (captions[i] == c.button)
                    id = MapGroupControl::kFirstGroup + static_cast<int>(i);
            EXPECT_TRUE(d.press(id));
            EXPECT_TRUE(d.ended());
        });
        int saves = 0;
        EXPECT_TRUE(runMapGroupDialog(cat.maps, [&] { ++saves; }));
        EXPECT_EQ(captions, (std::vector<std::u16string>{u"alps", u"jura", u"", u""}))
            << "internet tiles are shown by their own setting, not as a group";
        EXPECT_EQ(cat.active(), c.active);
        EXPECT_EQ(cat.menuLine(), c.menu);
        EXPECT_EQ(saves, 1);
        EXPECT_FALSE(cat.maps.paused()) << "drawing resumes after the selection";
    }
}

// The item whose line starts with the name (the status follows it), under `parent`.
TreeItem itemNamed(const ScriptedDialog& d, std::u16string_view name,
                   TreeItem parent = platform::kNoTreeItem) {
    const std::u16string prefix = std::u16string(name) + u"  [";
    for (TreeItem item : d.treeChildren(list::kTree, parent))
        if (d.treeItemText(list::kTree, item).starts_with(prefix)) return item;
    return platform::kNoTreeItem;
}

std::vector<std::u16string> treeLines(const ScriptedDialog& d) {
    std::vector<std::u16string> lines;
    for (TreeItem group : d.treeChildren(list::kTree, platform::kNoTreeItem)) {
        lines.push_back(d.treeItemText(list::kTree, group));
        for (TreeItem map : d.treeChildren(list::kTree, group))
            lines.push_back(u"  " + d.treeItemText(list::kTree, map));
    }
    return lines;
}

struct ListCase {
    const char* legend;
    std::u16string group, map;  // the item selected: a group, or a map of it
    int button;
    std::vector<Answer> answers;
    std::u16string caption;  // of the load button once the item is selected
    std::u16string question;
    std::vector<bool> active;   // A1, A2, J, T afterwards
    std::vector<bool> removed;  // A1, A2, J, T
    bool changed;
};

// Legend: the item selected and the button pressed, over "alps" active and "jura"
// inactive; then the load button's caption, the question asked, the flags of the
// maps and whether the maps file is to be saved.
TEST(MapListDialog, ActsOnTheSelectedMapOrGroup) {
    const std::vector<bool> none = {false, false, false, false};
    const ListCase cases[] = {
        {"unload an active map",
         u"alps",
         u"A1",
         list::kLoad,
         {},
         u"Unload",
         u"",
         {false, true, false, false},
         none,
         true},
        {"load an inactive map",
         u"jura",
         u"J",
         list::kLoad,
         {},
         u"Load",
         u"",
         {true, true, true, false},
         none,
         true},
        {"unload a whole group",
         u"alps",
         u"",
         list::kLoad,
         {},
         u"Unload",
         u"",
         {false, false, false, false},
         none,
         true},
        {"load an inactive group",
         u"jura",
         u"",
         list::kLoad,
         {},
         u"Load",
         u"",
         {true, true, true, false},
         none,
         true},
        {"delete a map",
         u"alps",
         u"A2",
         list::kDelete,
         {Answer::Yes},
         u"Unload",
         u"Do you want to remove this map?",
         {true, false, false, false},
         {false, true, false, false},
         true},
        {"keep the map",
         u"alps",
         u"A2",
         list::kDelete,
         {Answer::No},
         u"Unload",
         u"Do you want to remove this map?",
         {true, true, false, false},
         none,
         false},
        {"delete a group",
         u"alps",
         u"",
         list::kDelete,
         {Answer::Yes},
         u"Unload",
         u"Do you want to delete the maps of this group",
         {false, false, false, false},
         {true, true, false, false},
         true},
    };
    for (const ListCase& c : cases) {
        SCOPED_TRACE(c.legend);
        Catalogue cat;
        ScriptedDialogHost host;
        ScriptedMessageBoxes boxes;
        for (Answer a : c.answers) boxes.answer(a);
        std::vector<std::u16string> after;
        host.expect([&](ScriptedDialog& d) {
            EXPECT_EQ(d.title(), u"List of maps");
            EXPECT_TRUE(d.timerRunning(MapListDialog::kRefreshTimer));
            TreeItem item = itemNamed(d, c.group);
            if (!c.map.empty()) item = itemNamed(d, c.map, item);
            ASSERT_TRUE(d.select(list::kTree, item));
            EXPECT_EQ(d.text(list::kLoad), c.caption);
            EXPECT_TRUE(d.press(c.button));
            after = treeLines(d);
            EXPECT_TRUE(d.press(list::kBack));
        });
        runMapList(cat.maps, {});
        const auto shown = boxes.shown();
        ASSERT_EQ(shown.size(), c.question.empty() ? 0u : 1u);
        if (!c.question.empty()) {
            EXPECT_EQ(shown[0].text, c.question);
            EXPECT_EQ(shown[0].title, u"Confirmation");
            EXPECT_EQ(shown[0].buttons, platform::Buttons::YesNo);
        }
        std::vector<bool> removed;
        for (const auto& m : cat.maps.maps()) removed.push_back(m->has(maps::mapflag::kRemoved));
        EXPECT_EQ(cat.active(), c.active);
        EXPECT_EQ(removed, c.removed) << "removed maps are kept while the list is open";
        EXPECT_EQ(cat.maps.takeChanged(), c.changed);
        for (std::size_t i = 0; i < removed.size(); ++i) {
            const std::u16string title = cat.maps.at(i)->title();
            const bool listed = std::any_of(after.begin(), after.end(), [&](const auto& line) {
                return line.starts_with(u"  " + title + u"  [");
            });
            EXPECT_EQ(listed, !removed[i]) << "map " << i << " in the tree after the change";
        }
    }
}

// Legend: the item corrected one step north and the button that applies; then which
// maps moved and whether the list closed to show the first of them.
TEST(MapListDialog, CorrectsTheSelectedMapOrGroup) {
    struct Case {
        const char* legend;
        std::u16string map;  // in "alps"; empty for the whole group
        int apply;
        std::vector<bool> moved;  // A1, A2, J
        bool shown;
    };
    const Case cases[] = {
        {"one map", u"A2", CorrectMapControl::kApply, {false, true, false}, false},
        {"the group, then shown", u"", CorrectMapControl::kApplyAndTest, {true, true, false}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.legend);
        Catalogue cat;
        ScriptedDialogHost host;
        host.expect([&](ScriptedDialog& d) {
            TreeItem item = itemNamed(d, u"alps");
            if (!c.map.empty()) item = itemNamed(d, c.map, item);
            ASSERT_TRUE(d.select(list::kTree, item));
            EXPECT_TRUE(d.press(list::kCorrect));
            if (!d.ended()) d.press(list::kBack);
        });
        host.expect([&](ScriptedDialog& d) {
            EXPECT_TRUE(d.press(CorrectMapControl::kNorth));
            EXPECT_TRUE(d.press(c.apply));
        });
        std::vector<std::u16string> shown;
        MapListContext context;
        context.showMap = [&](const maps::MapDefinition& d) { shown.push_back(d.title); };
        const int result = runMapList(cat.maps, context);
        std::vector<bool> moved;
        for (std::size_t i = 0; i < 3; ++i)
            moved.push_back(cat.maps.at(i)->definition().cornerLatitudes[0] > 46.5);
        EXPECT_EQ(moved, c.moved);
        EXPECT_TRUE(cat.maps.takeChanged());
        EXPECT_EQ(result == MapListDialog::kShowMap, c.shown);
        EXPECT_EQ(shown,
                  c.shown ? std::vector<std::u16string>{u"A1"} : std::vector<std::u16string>{});
    }
}

TEST(MapListDialog, ShowsStatusChangesAtTheNextTick) {
    Catalogue cat;
    ScriptedDialogHost host;
    std::vector<std::u16string> before, after;
    host.expect([&](ScriptedDialog& d) {
        d.select(list::kTree, itemNamed(d, u"A1", itemNamed(d, u"alps")));
        before = treeLines(d);
        cat.maps.at(0)->setActive(false);
        cat.maps.at(1)->setActive(false);
        d.fireTimer(MapListDialog::kRefreshTimer);
        after = treeLines(d);
        EXPECT_EQ(d.text(list::kLoad), u"Load") << "the selection survives the refresh";
        d.press(list::kBack);
    });
    runMapList(cat.maps, {});
    const std::vector<std::u16string> expectedBefore = {
        u"alps  [active]",  u"  A1  [not loaded]", u"  A2  [not loaded]", u"jura  [inactive]",
        u"  J  [inactive]", u"  [inactive]",       u"  T  [inactive]"};
    EXPECT_EQ(before, expectedBefore);
    ASSERT_EQ(after.size(), before.size());
    EXPECT_EQ(after[0], u"alps  [inactive]");
    EXPECT_EQ(after[1], u"  A1  [inactive]");
}

}  // namespace
}  // namespace wendra::test
