// Groups by folder, the selection state the group menu shows, selecting and toggling.

#include <gtest/gtest.h>

#include <cstring>

#include "maps/CatalogueSupport.h"

namespace wendra::test {
namespace {

using maps::kSelectAll;
using maps::kSelectMixed;
using maps::kSelectNone;

struct GroupCase {
    const char* legend;
    std::vector<bool> alps;  // active flags of the maps in /alps
    std::vector<bool> jura;
    bool tileActive;
    int state;
    const char* menu;
};

const GroupCase kCases[] = {
    {"every map active",
     {true, true},
     {true},
     false,
     kSelectAll,
     "Grp of maps: All (except Internet)"},
    {"nothing active", {false, false}, {false}, false, kSelectNone, "Grp of maps: None"},
    {"one whole group", {true, true}, {false}, false, 0, "Grp of maps: alps"},
    {"the other group", {false, false}, {true}, true, 1, "Grp of maps: jura"},
    {"some maps of a group", {true, false}, {false}, false, kSelectMixed, "Select a group of maps"},
    {"active internet tiles do not make the selection mixed",
     {true, true},
     {true},
     true,
     kSelectAll,
     "Grp of maps: All (except Internet)"},
};

void PrintTo(const GroupCase& c, std::ostream* os) {
    *os << c.legend;
}

class MapGroups : public ::testing::TestWithParam<GroupCase> {};

maps::MapDefinition at(const char* path, bool active, bool tile = false) {
    auto d = squareMap(path, 0, 0, 1, 100);
    d.userFlags = (active ? maps::kMapActive : 0) | (tile ? maps::kMapInternetTile : 0);
    return d;
}

TEST_P(MapGroups, StateAndMenuLine) {
    const GroupCase& c = GetParam();
    RecordingShell shell;
    maps::MapCatalogue catalogue(shell);
    for (bool a : c.alps) catalogue.newMap()->setDefinition(at("/m/alps/a.bmp", a));
    for (bool a : c.jura) catalogue.newMap()->setDefinition(at("/m/jura/j.bmp", a));
    catalogue.newMap()->setDefinition(at("/cache/osm/t.png", c.tileActive, true));
    catalogue.regroup();
    ASSERT_EQ(catalogue.groups().size(), 3u);
    const int state = catalogue.groupSelectionState();
    EXPECT_EQ(state, c.state) << c.legend;
    const std::u16string menu = maps::mapGroupMenuLine(state, catalogue.groups(), true, nullptr);
    EXPECT_EQ(menu, std::u16string(c.menu, c.menu + std::strlen(c.menu))) << c.legend;
}

INSTANTIATE_TEST_SUITE_P(Cases, MapGroups, ::testing::ValuesIn(kCases));

TEST(MapGroupSelection, SelectAndToggleChangeTheActiveFlags) {
    RecordingShell shell;
    maps::MapCatalogue catalogue(shell);
    const auto alps = catalogue.newMap();
    alps->setDefinition(at("/m/alps/a.bmp", false));
    const auto jura = catalogue.newMap();
    jura->setDefinition(at("/m/jura/j.bmp", true));
    const auto tile = catalogue.newMap();
    tile->setDefinition(at("/cache/osm/t.png", true, true));
    catalogue.regroup();

    catalogue.selectGroup(kSelectAll);
    EXPECT_TRUE(alps->active() && jura->active());
    EXPECT_FALSE(tile->active()) << "All (except Internet) leaves internet tiles inactive";
    catalogue.selectGroup(kSelectMixed);
    EXPECT_TRUE(alps->active() && jura->active()) << "a mixed selection changes nothing";
    catalogue.selectGroup(1);
    EXPECT_FALSE(alps->active());
    EXPECT_TRUE(jura->active());
    catalogue.toggleGroup(0);
    EXPECT_TRUE(alps->active()) << "an inactive group is activated";
    catalogue.toggleGroup(1);
    EXPECT_FALSE(jura->active()) << "any other group is deactivated";

    const std::u16string source = u"OpenStreetMap";
    EXPECT_EQ(maps::mapGroupMenuLine(kSelectAll, catalogue.groups(), false, nullptr),
              u"Grp of maps: All");
    EXPECT_EQ(maps::mapGroupMenuLine(0, catalogue.groups(), true, &source),
              u"Internet maps: OpenStreetMap");
}

}  // namespace
}  // namespace wendra::test
