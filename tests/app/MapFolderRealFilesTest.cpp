// The folder import over real calibration files written by other programs, into real
// maps that read their image headers: what a user's folder of maps becomes.

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <vector>

#include "app/MapFolderImport.h"
#include "platform/WidePath.h"
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
