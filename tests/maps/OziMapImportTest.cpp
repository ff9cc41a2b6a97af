// Importing calibration files written here: every result code from one table, the
// corner construction (extrapolation, order of the points, UTM values), files from
// Windows (CRLF, backslash paths, other letter case, cp1252 and cp1251 names), the
// image extension preference, and the datum list read as hostile outside data.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "maps/OziMapImport.h"
#include "platform/TraceLog.h"
#include "platform/Utf8.h"
#include "records/Utm.h"
#include "support/TestPaths.h"

namespace wendra::test {
namespace {

namespace fs = std::filesystem;
using maps::OziResult;

struct Point {
    double x, y, lon, lat;
};

// An upright 1000x800 calibration with points on the image corners.
const std::vector<Point> kCornerPoints = {
    {0, 0, 10.0, 50.0}, {1000, 0, 11.0, 50.0}, {1000, 800, 11.0, 49.0}, {0, 800, 10.0, 49.0}};

struct MapText {
    std::string title = "Test map";
    std::string image = "test.jpg";
    std::string datum = "WGS 84";
    std::string count = "MMPNUM,4";
    std::vector<Point> points = kCornerPoints;
    std::string size = "IWH,Map Image Width/Height,1000,800";
    std::string extra;  // lines after the points
    std::string eol = "\n";

    std::string text() const {
        std::string t = "OziExplorer Map Data File Version 2.2" + eol + title + eol + image + eol +
                        "1 ,Map Code," + eol + datum + ",WGS 84,   0.0000,   0.0000,WGS 84" + eol +
                        "Map Projection,Latitude/Longitude,PolyCal,No" + eol + count + eol;
        char line[160];
        for (std::size_t i = 0; i < points.size(); ++i) {
            std::snprintf(line, sizeof line, "MMPXY,%zu,%g,%g", i + 1, points[i].x, points[i].y);
            t += line + eol;
        }
        for (std::size_t i = 0; i < points.size(); ++i) {
            std::snprintf(line, sizeof line, "MMPLL,%zu,%.6f,%.6f", i + 1, points[i].lon,
                          points[i].lat);
            t += line + eol;
        }
        return t + extra + (size.empty() ? "" : size + eol);
    }
};

class OziImportTest : public ::testing::Test {
protected:
    fs::path write(const MapText& map, const std::string& name = "test.map") {
        writeFile(dir / name, map.text());
        return dir / name;
    }
    maps::OziImport import(const MapText& map, std::optional<int> zone = std::nullopt) {
        return maps::importOziMap(write(map), zone, maps::OziDatumList());
    }
    TempDir dir;
};

TEST_F(OziImportTest, ResultCodes) {
    struct Case {
        const char* legend;
        OziResult result;
        void (*change)(MapText&);
    };
    const Case cases[] = {
        {"a good file", OziResult::Imported, [](MapText&) {}},
        {"values beyond lat/lon and no zone", OziResult::NeedsZone,
         [](MapText& m) { m.points[0].lon = 500123, m.points[0].lat = 5400000; }},
        {"no MMPNUM line", OziResult::NoPointCount, [](MapText& m) { m.count = "MM1B,4"; }},
        {"MMPNUM without its number", OziResult::BadPointCount,
         [](MapText& m) { m.count = "MMPNUM"; }},
        {"three points, all valid", OziResult::NotFourPoints,
         [](MapText& m) { m.count = "MMPNUM,3", m.points.pop_back(); }},
        {"an MMP line cut short", OziResult::BadPointLine,
         [](MapText& m) { m.extra = "MMPXY,2,5\n"; }},
        {"point number 5", OziResult::BadPointNumber,
         [](MapText& m) { m.extra = "MMPXY,5,1,1\n"; }},
        {"point number 0", OziResult::BadPointNumber,
         [](MapText& m) { m.extra = "MMPXY,0,1,1\n"; }},
        {"an unknown MMP key", OziResult::UnknownPointKey,
         [](MapText& m) { m.extra = "MMPZZ,1,1,1\n"; }},
        {"a point without MMPLL", OziResult::IncompletePoint,
         [](MapText& m) { m.points.pop_back(); }},
        {"two points in one quadrant", OziResult::NotOnePerQuadrant,
         [](MapText& m) {
             m.points[1] = {100, 100, 10.1, 49.9};
         }},
        {"a point on the middle line", OziResult::NotOnePerQuadrant,
         [](MapText& m) { m.points[1].x = 500; }},
        {"IWH without the height", OziResult::BadSizeLine,
         [](MapText& m) { m.size = "IWH,Map Image Width/Height,1000"; }},
        {"IWH with a negative width", OziResult::BadSizeLine,
         [](MapText& m) { m.size = "IWH,Map Image Width/Height,-5,800"; }},
        {"no IWH, points on the corners", OziResult::Imported, [](MapText& m) { m.size.clear(); }},
        {"no IWH, a point off its corner", OziResult::NotOnImageCorners,
         [](MapText& m) { m.size.clear(), m.points[0].x = 5; }},
        {"the top side without a longitude span", OziResult::UnusableCorners,
         [](MapText& m) { m.points[1].lon = 10.0; }},
    };
    for (const Case& c : cases) {
        MapText map;
        c.change(map);
        EXPECT_EQ(import(map).result, c.result) << c.legend;
    }
    writeFile(dir / "bad.map", "OziExplorer Map Data Fil\n");
    EXPECT_EQ(maps::importOziMap(dir / "bad.map", std::nullopt).result, OziResult::NotMapFile);
}

TEST_F(OziImportTest, PointsInsideTheImageExtrapolateToItsCorners) {
    MapText map;
    map.points = {{100, 100, 10.0, 50.0},
                  {900, 100, 11.0, 50.0},
                  {100, 700, 10.0, 49.0},
                  {900, 700, 11.0, 49.0}};
    map.size = "IWH,Map Image Width/Height,1000,800";
    const maps::OziImport first = import(map);
    ASSERT_EQ(first.result, OziResult::Imported);
    const auto& d = first.definition;
    // 100 of the points' 800 pixels across, 100 of their 600 down.
    EXPECT_NEAR(d.cornerLongitudes[0], 10.0 - 1.0 / 8, 1e-9);
    EXPECT_NEAR(d.cornerLatitudes[0], 50.0 + 1.0 / 6, 1e-9);
    EXPECT_NEAR(d.cornerLongitudes[3], 11.0 + 1.0 / 8, 1e-9);
    EXPECT_NEAR(d.cornerLatitudes[3], 49.0 - 1.0 / 6, 1e-9);

    // The same points listed bottom-right first give the same corners.
    std::swap(map.points[0], map.points[3]);
    std::swap(map.points[1], map.points[2]);
    const maps::OziImport reordered = import(map);
    EXPECT_EQ(reordered.definition.cornerLatitudes, d.cornerLatitudes);
    EXPECT_EQ(reordered.definition.cornerLongitudes, d.cornerLongitudes);
}

TEST_F(OziImportTest, RotatedCalibrationKeepsItsShape) {
    // A grid turned by a small angle: each image corner is a calibration point.
    MapText map;
    map.points = {{0, 0, 10.00, 50.02},
                  {1000, 0, 11.00, 50.05},
                  {1000, 800, 11.03, 49.05},
                  {0, 800, 10.03, 49.02}};
    const maps::OziImport imported = import(map);
    ASSERT_EQ(imported.result, OziResult::Imported);
    const double lat[] = {50.02, 50.05, 49.02, 49.05}, lon[] = {10.00, 11.00, 10.03, 11.03};
    for (int k = 0; k < 4; ++k) {
        EXPECT_NEAR(imported.definition.cornerLatitudes[k], lat[k], 1e-9) << k;
        EXPECT_NEAR(imported.definition.cornerLongitudes[k], lon[k], 1e-9) << k;
    }
}

TEST_F(OziImportTest, UtmValuesNeedTheZone) {
    MapText map;
    map.points = {{0, 0, 500000, 5400000},
                  {1000, 0, 510000, 5400000},
                  {1000, 800, 510000, 5392000},
                  {0, 800, 500000, 5392000}};
    EXPECT_EQ(import(map).result, OziResult::NeedsZone);
    const maps::OziImport imported = import(map, 31);
    ASSERT_EQ(imported.result, OziResult::Imported);
    // Easting 500000 is the zone's central meridian, 3 degrees east.
    EXPECT_NEAR(imported.definition.cornerLongitudes[0], 3.0, 1e-9);
    const UtmCoordinates back = utmFromGeo(imported.definition.cornerLatitudes[0], 3.0);
    EXPECT_NEAR(back.northing, 5400000, 1e-3);
    EXPECT_EQ(import(map, 61).result, OziResult::IncompletePoint) << "no such zone";
}

TEST_F(OziImportTest, FindsTheImageOfAWindowsFile) {
    struct Case {
        const char* legend;
        std::string imageLine;  // as the .map holds it
        std::string title;
        std::string onDisk;  // UTF-8 file name
        std::u16string titleWide;
    };
    const Case cases[] = {
        {"Windows path, other letter case", "D:\\OziMaps\\TOPO 25.JPG", "Topo 25", "topo 25.jpg",
         u"Topo 25"},
        {"cp1252 name",
         "D:\\OziMaps\\M\xFCritz Stra\xDF"
         "e.jpg",
         "M\xFCritz",
         "M\xC3\xBCritz Stra\xC3\x9F"
         "e.jpg",
         u"M\u00FCritz"},
        {"cp1252 name, letter case", "C:\\Karten\\\xC4LV.JPG", "\xC4lv", "\xC3\xA4lv.jpg",
         u"\u00C4lv"},
        {"cp1251 name", "D:\\OziMaps\\\xCA\xE0\xF0\xF2\xE0.jpg",
         "\xCA\xE0\xF0\xF2\xE0 \xCC\xEE\xF1\xEA\xE2\xFB",
         "\xD0\x9A\xD0\xB0\xD1\x80\xD1\x82\xD0\xB0.jpg",
         u"\u041A\u0430\u0440\u0442\u0430 \u041C\u043E\u0441\u043A\u0432\u044B"},
        {"cp1251 name, letter case", "\\\\server\\maps\\\xEA\xE0\xF0\xF2\xE0.JPG", "k",
         "\xD0\x9A\xD0\xB0\xD1\x80\xD1\x82\xD0\xB0.jpg", u"k"},
        {"UTF-8 name, forward slashes", "/elsewhere/\xC3\x89tang.jpg", "\xC3\x89tang",
         "\xC3\xA9tang.jpg", u"\u00C9tang"},
        {"relative path beside the file", "./x.jpg", "x", "x.jpg", u"x"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.legend);
        TempDir folder;
        writeFile(folder / c.onDisk, "not read");
        MapText map;
        map.eol = "\r\n";
        map.image = c.imageLine + "  ";
        map.title = c.title;
        writeFile(folder / "m.map", map.text());
        const maps::OziImport imported = maps::importOziMap(folder / "m.map", std::nullopt);
        ASSERT_EQ(imported.result, OziResult::Imported);
        EXPECT_EQ(toUtf8(imported.definition.imagePath), (folder / c.onDisk).string());
        EXPECT_EQ(imported.definition.title, c.titleWide);
    }
}

TEST_F(OziImportTest, ImageExtensionsArePreferredInOrder) {
    MapText map;
    map.image = "D:\\maps\\scan.tif";
    write(map);
    EXPECT_TRUE(import(map).definition.imagePath.empty()) << "no image of that name";
    writeFile(dir / "scan.tif", "x");
    EXPECT_TRUE(import(map).definition.imagePath.empty()) << "a TIFF is not read";
    writeFile(dir / "scan.png", "x");
    EXPECT_EQ(toUtf8(import(map).definition.imagePath), (dir / "scan.png").string());
    writeFile(dir / "scan.jpg", "x");
    EXPECT_EQ(toUtf8(import(map).definition.imagePath), (dir / "scan.jpg").string());
    writeFile(dir / "SCAN.GIF", "x");
    EXPECT_EQ(toUtf8(import(map).definition.imagePath), (dir / "SCAN.GIF").string());
    map.image = "";
    EXPECT_TRUE(import(map).definition.imagePath.empty()) << "an empty line names no file";
}

TEST_F(OziImportTest, TitleLosesAThreeLetterExtension) {
    MapText map;
    map.title = "Harbour.map";
    EXPECT_EQ(import(map).definition.title, u"Harbour");
    map.title = "v1.2";
    EXPECT_EQ(import(map).definition.title, u"v1.2");
}

TEST_F(OziImportTest, UnknownDatumKeepsTheCornersAndSaysSoInTheTraceLog) {
    TempDir logFolder;
    ASSERT_TRUE(platform::traceLog().start(logFolder.path()));
    MapText map;
    map.datum = "YAD2018";
    const maps::OziImport imported = maps::importOziMap(write(map), std::nullopt);
    platform::traceLog().stop();
    ASSERT_EQ(imported.result, OziResult::Imported);
    EXPECT_EQ(imported.shift, maps::DatumShift::UnknownDatum);
    EXPECT_EQ(imported.definition.cornerLatitudes[0], 50.0);
    EXPECT_NE(readFile(logFolder / "TraceLog.txt").find("\"YAD2018\" is not in the datum list"),
              std::string::npos);
}

TEST(OziDatumList, SkipsRowsItCannotTrust) {
    const std::string ellipsoids =
        "ELLIPSOID_CODE,NAME,A,INVF\n#\n4,Clarke 1866,6378206.4,294.9786982\n"
        "5,Tiny,1000,300\n6,Flat,6378137,0\n7,Nan,nan,298\n8,Short,6378137\n";
    const std::string datums =
        "NAME,EPSG_DATUM_CODE,ELLIPSOID_CODE,DELTAX,DELTAY,DELTAZ\n"
        "Good,,4,0,125,194\t\t# comment\n"
        "Tiny ellipsoid,,5,0,0,0\nFlat ellipsoid,,6,0,0,0\nNo ellipsoid,,99,0,0,0\n"
        "Huge shift,,4,1e9,0,0\nWord shift,,4,x,0,0\nShort row,,4,0,0\n,,4,0,0,0\n";
    const maps::OziDatumList list = maps::OziDatumList::parse(datums, ellipsoids);
    EXPECT_EQ(list.size(), 1u);
    const auto good = list.find("  good ");
    ASSERT_TRUE(good.has_value());
    EXPECT_EQ(good->semiMajorAxis, 6378206.4);
    EXPECT_EQ(good->towgs84, (std::array<double, 3>{0, 125, 194}));
    EXPECT_EQ(maps::OziDatumList::load("/no/such/folder").size(), 0u);
    EXPECT_EQ(maps::OziDatumList::parse("", "").size(), 0u);
}

}  // namespace
}  // namespace wendra::test
