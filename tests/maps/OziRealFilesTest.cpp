// The real calibration files of the shared data against an independent reader's
// corners, before and after the shift to WGS 84, and every broken file with its
// outcome. The shift is checked against a geocentric translation computed here, not
// by PROJ, and that computation against the reference reader's NAD27 corners.

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <map>
#include <numbers>
#include <sstream>
#include <string>
#include <vector>

#include "maps/OziMapImport.h"
#include "platform/Utf8.h"
#include "records/ClassicNumbers.h"
#include "support/DecimalComma.h"
#include "support/TestPaths.h"

namespace wendra::test {
namespace {

namespace fs = std::filesystem;
using maps::DatumShift;
using maps::OziResult;

// MMPLL values carry six decimals.
constexpr double kTolerance = 1e-6;

struct LonLat {
    double lon = 0, lat = 0;
};

// The reference corners of a map in our order (top-left, top-right, bottom-left,
// bottom-right), in the map's datum and in WGS 84.
struct ReferenceCorners {
    std::array<LonLat, 4> mapDatum;
    std::array<LonLat, 4> wgs84;
};

// The reference files hold '.' decimals, whatever the locale of the test.
double number(const std::string& text) {
    return readReal(text).value_or(NAN);
}

fs::path oziData() {
    return sharedData() / "ozi";
}

// corners.tsv rows "image-corner-XX" of one method; UL, UR, LR, LL map to 0, 1, 3, 2.
ReferenceCorners referenceCorners(const std::string& file, const std::string& method) {
    const std::map<std::string, int> order = {{"image-corner-UL", 0},
                                              {"image-corner-UR", 1},
                                              {"image-corner-LR", 3},
                                              {"image-corner-LL", 2}};
    std::ifstream in(oziData() / "corners.tsv");
    ReferenceCorners corners;
    int found = 0;
    for (std::string line; std::getline(in, line);) {
        std::vector<std::string> f;
        std::stringstream s(line);
        for (std::string field; std::getline(s, field, '\t');) f.push_back(field);
        if (f.size() < 9 || f[0] != file || f[4] != method || !order.contains(f[1])) continue;
        const int k = order.at(f[1]);
        corners.mapDatum[k] = {number(f[5]), number(f[6])};
        corners.wgs84[k] = {number(f[7]), number(f[8])};
        ++found;
    }
    EXPECT_EQ(found, 4) << file << " " << method;
    return corners;
}

// Geodetic to geocentric, translate, back (Bowring's iteration): the three-parameter
// shift as the datum list means it.
LonLat translate(LonLat p, double a, double rf, std::array<double, 3> d) {
    const double rad = std::numbers::pi / 180;
    const double e2 = (2 - 1 / rf) / rf;
    const double phi = p.lat * rad, lam = p.lon * rad;
    const double n = a / std::sqrt(1 - e2 * std::sin(phi) * std::sin(phi));
    const double x = n * std::cos(phi) * std::cos(lam) + d[0];
    const double y = n * std::cos(phi) * std::sin(lam) + d[1];
    const double z = n * (1 - e2) * std::sin(phi) + d[2];
    const double wa = 6378137.0, wrf = 298.257223563, we2 = (2 - 1 / wrf) / wrf;
    const double r = std::hypot(x, y);
    double lat = std::atan2(z, r * (1 - we2));
    for (int i = 0; i < 10; ++i) {
        const double wn = wa / std::sqrt(1 - we2 * std::sin(lat) * std::sin(lat));
        const double h = r / std::cos(lat) - wn;
        lat = std::atan2(z, r * (1 - we2 * wn / (wn + h)));
    }
    return {std::atan2(y, x) / rad, lat / rad};
}

void expectCorners(const maps::MapDefinition& d, const std::array<LonLat, 4>& expected,
                   double tolerance, const std::string& what) {
    for (int k = 0; k < 4; ++k) {
        EXPECT_NEAR(d.cornerLongitudes[k], expected[k].lon, tolerance) << what << " corner " << k;
        EXPECT_NEAR(d.cornerLatitudes[k], expected[k].lat, tolerance) << what << " corner " << k;
    }
}

TEST(OziRealFiles, OwnShiftMatchesReferenceForNad27) {
    const ReferenceCorners ref = referenceCorners("04-utm/utm11-nad27.map", "geotransform");
    for (int k = 0; k < 4; ++k) {
        const LonLat shifted = translate(ref.mapDatum[k], 6378206.4, 294.9786982, {0, 125, 194});
        EXPECT_NEAR(shifted.lon, ref.wgs84[k].lon, 1e-8);
        EXPECT_NEAR(shifted.lat, ref.wgs84[k].lat, 1e-8);
    }
}

struct GoodCase {
    const char* file;
    const char* method;  // the reference rows to compare with
    int width, height;   // from the image header
    DatumShift shift;
    double a, rf;  // the datum's ellipsoid and shift, for our own expectation
    std::array<double, 3> towgs84;
};

TEST(OziRealFiles, GoodMapsGiveTheReferenceCornersBeforeAndAfterTheShift) {
    const GoodCase cases[] = {
        {"01-latlon/latlon-nad27.map",
         "tps",
         145,
         121,
         DatumShift::Applied,
         6378206.4,
         294.9786982,
         {0, 125, 194}},
        {"01-latlon/latlon-wgs84.map",
         "geotransform",
         720,
         360,
         DatumShift::NotNeeded,
         6378137.0,
         298.257223563,
         {0, 0, 0}},
        // The reference applied no shift here: the expectation is the list's own.
        {"03-tmerc/gk5-pul42.map",
         "geotransform",
         120,
         120,
         DatumShift::Applied,
         6378245.0,
         298.3,
         {28, -130, -95}},
        // A grid turned against lat/lon: the corners are no lat/lon rectangle.
        {"04-utm/utm11-nad27.map",
         "geotransform",
         120,
         120,
         DatumShift::Applied,
         6378206.4,
         294.9786982,
         {0, 125, 194}},
    };
    for (const GoodCase& c : cases) {
        SCOPED_TRACE(c.file);
        const fs::path file = oziData() / c.file;
        const ReferenceCorners ref = referenceCorners(c.file, c.method);

        const maps::OziImport unshifted =
            maps::importOziMap(file, std::nullopt, maps::OziDatumList());
        ASSERT_EQ(unshifted.result, OziResult::Imported);
        expectCorners(unshifted.definition, ref.mapDatum, kTolerance, "map datum");

        const maps::OziImport imported = maps::importOziMap(file, std::nullopt);
        ASSERT_EQ(imported.result, OziResult::Imported);
        EXPECT_EQ(imported.shift, c.shift);
        EXPECT_EQ(imported.towgs84, c.towgs84);
        std::array<LonLat, 4> expected;
        for (int k = 0; k < 4; ++k)
            expected[k] = c.shift == DatumShift::Applied
                              ? translate(ref.mapDatum[k], c.a, c.rf, c.towgs84)
                              : ref.wgs84[k];
        expectCorners(imported.definition, expected, kTolerance, "WGS 84");

        maps::CalibratedMap map;
        ASSERT_TRUE(map.setDefinition(imported.definition));
        EXPECT_EQ(map.definition().imagePath,
                  fromUtf8(fs::path(file).replace_extension(".jpg").string()));
        EXPECT_EQ(map.definition().width, c.width);
        EXPECT_EQ(map.definition().height, c.height);
    }
}

struct BrokenCase {
    const char* file;
    OziResult result;
    DatumShift shift;  // when imported
    const char* why;
};

TEST(OziRealFiles, BrokenMapsEndWithTheirOutcome) {
    // The importer reads the MMP lines only: broken Point lines or projection lines do
    // not stop it, but none of these maps has its image, so none becomes a map.
    const BrokenCase cases[] = {
        {"bad/badgcps1.map", OziResult::UnusableCorners, {}, "two points at the pole: no top side"},
        {"bad/badgcps3.map", OziResult::UnusableCorners, {}, "the same MMP lines"},
        {"bad/nodatum1.map", OziResult::Imported, DatumShift::UnknownDatum, "empty datum line"},
        {"bad/nogcps.map", OziResult::Imported, DatumShift::Applied, "Point lines unused"},
        {"bad/noheader.map", OziResult::NotMapFile, {}, "signature cut short"},
        {"bad/noimagefile1.map", OziResult::Imported, DatumShift::Applied, "empty image line"},
        {"bad/nolines.map", OziResult::NotMapFile, {}, "empty file"},
        {"bad/noprojection.map", OziResult::Imported, DatumShift::Applied, "projection unused"},
        {"bad/noutmzone1.map", OziResult::Imported, DatumShift::Applied, "MMPLL are lat/lon"},
        {"bad/unknowndatum.map", OziResult::Imported, DatumShift::UnknownDatum, "YAD2018"},
        {"no-such-file.map", OziResult::CannotOpen, {}, "missing"},
    };
    for (const BrokenCase& c : cases) {
        SCOPED_TRACE(std::string(c.file) + ": " + c.why);
        const maps::OziImport imported = maps::importOziMap(oziData() / c.file, std::nullopt);
        EXPECT_EQ(imported.result, c.result);
        EXPECT_TRUE(imported.definition.imagePath.empty());
        if (c.result == OziResult::Imported) {
            EXPECT_EQ(imported.shift, c.shift);
        }
        maps::CalibratedMap map;
        maps::importOziMap(map, oziData() / c.file, std::nullopt);
        EXPECT_TRUE(map.definition().imagePath.empty());
    }
}

using OziRealFilesDecimalComma = DecimalCommaTest;

TEST_F(OziRealFilesDecimalComma, ImportAndShiftIgnoreTheLocale) {
    const fs::path file = oziData() / "04-utm/utm11-nad27.map";
    const maps::OziImport imported = maps::importOziMap(file, std::nullopt);
    ASSERT_EQ(imported.result, OziResult::Imported);
    const ReferenceCorners ref = referenceCorners("04-utm/utm11-nad27.map", "geotransform");
    std::array<LonLat, 4> expected;
    for (int k = 0; k < 4; ++k)
        expected[k] = translate(ref.mapDatum[k], 6378206.4, 294.9786982, {0, 125, 194});
    expectCorners(imported.definition, expected, kTolerance, "under a decimal comma");
}

}  // namespace
}  // namespace wendra::test
