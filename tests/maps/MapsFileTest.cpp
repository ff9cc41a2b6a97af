// The maps file: the exact line of a map, a save and load that keep every field (under
// a decimal comma too), the older record without size, and what is never saved.

#include <gtest/gtest.h>

#include "maps/CatalogueSupport.h"
#include "maps/MapsFile.h"
#include "support/DecimalComma.h"
#include "support/TestPaths.h"

namespace wendra::test {
namespace {

maps::MapDefinition sample() {
    maps::MapDefinition d;
    d.title = u"Alpe";
    d.imagePath = u"/maps/alps/alpe.jpg";
    d.userFlags = maps::kMapActive;
    d.cornerLatitudes = {46.5, 46.5, 46.25, 46.25};
    d.cornerLongitudes = {7.125, 7.5, 7.125, 7.5};
    d.width = 3000;
    d.height = 2000;
    d.bytesPerPixel = 2;
    d.memoryInUse = 12345678;
    return d;
}

class MapsFile : public DecimalCommaTest {};

TEST_F(MapsFile, WritesTheRecordLineExactlyWhateverTheLocale) {
    EXPECT_EQ(maps::mapRecord(sample()),
              "RIRUvo|Bmp|GPSBmp4|4|Alpe|19|/maps/alps/alpe.jpg|1|46.50000000|7.12500000|"
              "46.50000000|7.50000000|46.25000000|7.12500000|46.25000000|7.50000000|3000|2000|"
              "2|12345678|\n");
}

TEST_F(MapsFile, SavesAndLoadsEveryMapOfTheUserInOrder) {
    TempDir folder;
    RecordingShell shell;
    maps::MapCatalogue saved(shell);
    maps::MapDefinition second = sample();
    second.title = u"Tile";
    second.imagePath = u"/maps/alps/other.png";
    second.userFlags = 0;
    second.bytesPerPixel = 1;
    maps::MapDefinition tile = sample();
    tile.userFlags |= maps::kMapInternetTile;
    for (const auto& d : {sample(), tile, second}) ASSERT_TRUE(saved.newMap()->setDefinition(d));
    saved.newMap()->setDefinition(sample());
    saved.at(3)->markRemoved();
    ASSERT_TRUE(maps::saveMapsFile(saved, folder.path()));

    maps::MapCatalogue loaded(shell);
    ASSERT_EQ(maps::loadMapsFile(loaded, folder.path()), 2);
    for (int i : {0, 1}) {
        const maps::MapDefinition want = i == 0 ? sample() : second;
        const maps::MapDefinition got = loaded.at(i)->definition();
        EXPECT_EQ(got.title, want.title);
        EXPECT_EQ(got.imagePath, want.imagePath);
        EXPECT_EQ(got.userFlags, want.userFlags);
        EXPECT_EQ(got.cornerLatitudes, want.cornerLatitudes);
        EXPECT_EQ(got.cornerLongitudes, want.cornerLongitudes);
        EXPECT_EQ(got.width, want.width);
        EXPECT_EQ(got.bytesPerPixel, want.bytesPerPixel);
        EXPECT_EQ(got.memoryInUse, want.memoryInUse);
    }
    // The stored size was trusted: the missing images were never opened.
    EXPECT_TRUE(shell.boxes().empty());
    EXPECT_FALSE(loaded.at(0)->has(maps::mapflag::kLoadFailed));
}

TEST(MapsFileRecords, AnOlderRecordReadsItsImageHeaderAtOnce) {
    TempDir folder;
    const auto image = folder / "old.bmp";
    writeBmp(image, 30, 20, 1, 2, 3);
    const std::string path = image.string();
    writeFile(folder / "Wendra.wdm", "RIRUvo|Bmp|GPSBmp3|3|Old|" + std::to_string(path.size()) +
                                         "|" + path +
                                         "|1|1.0|2.0|1.0|3.0|0.0|2.0|0.0|3.0|\n"
                                         "RIRUvo|Bmp|GPSBmp9|3|New|1|x|\n"
                                         "RIRUvo|Bmp|GPSBmp4|3|Cut|40|short|\n");
    RecordingShell shell;
    maps::MapCatalogue catalogue(shell);
    ASSERT_EQ(maps::loadMapsFile(catalogue, folder.path()), 1);
    const maps::MapDefinition d = catalogue.at(0)->definition();
    EXPECT_EQ(d.title, u"Old");
    EXPECT_EQ(d.width, 30);
    EXPECT_EQ(d.height, 20);
    EXPECT_EQ(d.bytesPerPixel, 2);
}

TEST(MapsFileRecords, AFailedSaveSaysSoAndKeepsTheOldFile) {
    TempDir folder;
    RecordingShell shell;
    maps::MapCatalogue catalogue(shell);
    ASSERT_TRUE(catalogue.newMap()->setDefinition(sample()));
    EXPECT_FALSE(maps::saveMapsFile(catalogue, folder / "missing"));
    ASSERT_EQ(shell.boxes().size(), 1u);
    EXPECT_EQ(shell.boxes()[0].text, u"Unable to save config!");
    EXPECT_EQ(shell.boxes()[0].title, u"Error!");
}

}  // namespace
}  // namespace wendra::test
