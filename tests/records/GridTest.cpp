#include <gtest/gtest.h>

#include <cmath>

#include "records/SwissGrid.h"
#include "records/Utm.h"

namespace wendra {
namespace {

// Reference grid values from an independent, more precise transverse Mercator
// implementation on WGS 84, with the standard six-degree zones forced.
struct UtmCase {
    const char* legend;
    double latitude, longitude;
    double easting, northing;
    int zone;
};

constexpr UtmCase kUtmCases[] = {
    {"mid-latitude, east of Greenwich", 33.3, 44.4, 444140.545, 3684706.356, 38},
    {"equator on a central meridian", 0.0, 3.0, 500000.0, 0.0, 31},
    {"southern hemisphere: false northing, negative zone", -33.8688, 151.2093, 334368.634,
     6250948.345, -56},
    {"Bern", 46.95108, 7.43864, 381189.386, 5200910.980, 32},
    {"a zone's western edge belongs to it", 45.0, 6.0, 263553.974, 4987329.505, 32},
    {"just west of that edge", 45.0, 5.999999, 736445.947, 4987329.502, 31},
    {"a zone's eastern edge", 45.0, 11.9999999, 736446.018, 4987329.504, 32},
    {"last zone, south", -45.0, 179.99, 735657.872, 5012699.654, -60},
    {"first zone, far north", 71.0, -179.9, 394659.661, 7879918.055, 1},
    {"a hair south of the equator", -0.000001, -0.5, 778276.317, 9999999.889, -30},
    {"west of Greenwich, on a zone edge", 10.0, -84.0, 171071.264, 1106908.854, 17},
    {"deep south", -80.0, -3.0, 500000.0, 1118414.184, -30},
};

// The program's series stops at the sixth power of the distance from the central
// meridian and rounds the semi-minor axis to the millimetre; even at the zone edges it
// stays within a millimetre of the reference, which is itself rounded to the millimetre.
constexpr double kUtmToleranceMetres = 0.002;

TEST(Utm, MatchesReferenceGridValues) {
    for (const UtmCase& c : kUtmCases) {
        SCOPED_TRACE(c.legend);
        const UtmCoordinates utm = utmFromGeo(c.latitude, c.longitude);
        EXPECT_NEAR(utm.easting, c.easting, kUtmToleranceMetres);
        EXPECT_NEAR(utm.northing, c.northing, kUtmToleranceMetres);
        EXPECT_EQ(utm.zone, c.zone);
    }
}

// One micro-degree is 0.11 m: the series and its inverse together must do better.
constexpr double kRoundTripDegrees = 1e-7;

TEST(Utm, InverseReturnsToTheReferencePositions) {
    for (const UtmCase& c : kUtmCases) {
        SCOPED_TRACE(c.legend);
        const GeoPosition back = geoFromUtm(c.easting, c.northing, c.zone);
        EXPECT_NEAR(back.latitude, c.latitude, kRoundTripDegrees);
        EXPECT_NEAR(back.longitude, c.longitude, kRoundTripDegrees);
    }
}

TEST(Utm, RoundTripsAcrossZonesAndHemispheres) {
    for (double latitude = -80.0; latitude <= 84.0; latitude += 7.3) {
        for (double longitude = -179.95; longitude < 180.0; longitude += 2.9) {
            const UtmCoordinates utm = utmFromGeo(latitude, longitude);
            const GeoPosition back = geoFromUtm(utm.easting, utm.northing, utm.zone);
            ASSERT_NEAR(back.latitude, latitude, kRoundTripDegrees) << longitude;
            ASSERT_NEAR(back.longitude, longitude, kRoundTripDegrees) << latitude;
            ASSERT_EQ(utm.zone < 0, latitude < 0.0);
        }
    }
}

TEST(Utm, LongitudeOneEightyIsTheFirstZone) {
    EXPECT_EQ(utmFromGeo(10.0, 180.0).zone, 1);
    EXPECT_EQ(utmFromGeo(10.0, -180.0).zone, 1);
    EXPECT_EQ(utmFromGeo(10.0, 181.0).zone, 1);  // taken modulo 360
}

TEST(Utm, UnsetOrImpossibleInputGivesNoValue) {
    struct {
        const char* legend;
        double latitude, longitude;
    } const cases[] = {
        {"latitude not set", -999999.0, 7.0},   {"longitude not set", 46.0, -999999.0},
        {"beyond a pole", 91.0, 7.0},           {"not a number", std::nan(""), 7.0},
        {"infinite longitude", 46.0, INFINITY},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.legend);
        const UtmCoordinates utm = utmFromGeo(c.latitude, c.longitude);
        EXPECT_EQ(utm.easting, -999999.0);
        EXPECT_EQ(utm.northing, -999999.0);
        EXPECT_EQ(utm.zone, -999999);
        EXPECT_FALSE(utm.valid());
    }
}

TEST(Utm, InverseRefusesZonesThatDoNotExist) {
    for (int zone : {0, 61, -61, 1000}) {
        const GeoPosition position = geoFromUtm(500000.0, 5000000.0, zone);
        EXPECT_FALSE(hasCoordinate(position.latitude)) << zone;
        EXPECT_FALSE(hasCoordinate(position.longitude)) << zone;
    }
    EXPECT_FALSE(hasCoordinate(geoFromUtm(NAN, 5000000.0, 32).latitude));
}

TEST(Utm, InverseRefusesNorthingsOutsideTheZone) {
    struct Case {
        const char* legend;
        double northing;
        int zone;
        bool place;  // a position comes back
    };
    const Case cases[] = {
        {"north: the equator", 0.0, 32, true},
        {"north: below the equator is the south's zone", -1.0, 32, false},
        {"north: short of the pole", 9997000.0, 32, true},
        {"north: beyond the pole", 9999000.0, 32, false},
        {"north: far beyond", 30000000.0, 32, false},
        {"south: the equator", 10000000.0, -32, true},
        {"south: above the equator is the north's zone", 10000001.0, -32, false},
        {"south: short of the pole", 3000.0, -32, true},
        {"south: beyond the pole", 1000.0, -32, false},
        {"south: far beyond", -20000000.0, -32, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.legend);
        const GeoPosition position = geoFromUtm(500000.0, c.northing, c.zone);
        EXPECT_EQ(hasCoordinate(position.latitude), c.place);
        if (c.place) {
            EXPECT_LE(std::fabs(position.latitude), 90.0);
        }
    }
}

// The survey office's published example for its approximate formulas: the rigorous
// grid point 700000 / 100000 and its WGS 84 position rounded to 0.01".
double dms(int degrees, int minutes, double seconds) {
    return degrees + minutes / 60.0 + seconds / 3600.0;
}

TEST(SwissGrid, MatchesThePublishedExample) {
    const SwissCoordinates grid = swissFromGeo(dms(46, 2, 38.87), dms(8, 43, 49.79));
    EXPECT_NEAR(grid.east, 699999.76, 0.005);
    EXPECT_NEAR(grid.north, 99999.97, 0.005);

    const GeoPosition back = geoFromSwiss(700000.0, 100000.0);
    const double hundredthSecond = 0.01 / 3600.0;
    EXPECT_NEAR(back.latitude, dms(46, 2, 38.86), hundredthSecond);
    EXPECT_NEAR(back.longitude, dms(8, 43, 49.80), hundredthSecond);
}

TEST(SwissGrid, OldObservatoryOfBernIsTheOriginShiftedByTheDatum) {
    // The formulas are centred on the observatory: only their constant terms remain.
    const double latitude = 169028.66 / 3600.0, longitude = 26782.5 / 3600.0;
    const SwissCoordinates grid = swissFromGeo(latitude, longitude);
    EXPECT_NEAR(grid.east, 600072.37, 1e-6);
    EXPECT_NEAR(grid.north, 200147.07, 1e-6);
    const GeoPosition origin = geoFromSwiss(600000.0, 200000.0);
    EXPECT_NEAR(origin.latitude, 16.9023892 * 100.0 / 36.0, 1e-12);
    EXPECT_NEAR(origin.longitude, 2.6779094 * 100.0 / 36.0, 1e-12);
}

// Each set of approximate formulas is good to about a metre inside the country and
// worse towards the corners of its bounding rectangle (in France and Italy), where
// going there and back drifts by up to 4.6 m; 5 m bounds the whole rectangle.
TEST(SwissGrid, RoundTripsAcrossTheCountryWithinFiveMetres) {
    for (double latitude = 45.8; latitude <= 47.85; latitude += 0.05) {
        for (double longitude = 5.95; longitude <= 10.5; longitude += 0.05) {
            const SwissCoordinates grid = swissFromGeo(latitude, longitude);
            const GeoPosition back = geoFromSwiss(grid.east, grid.north);
            const double northError = (back.latitude - latitude) * 111200.0;
            const double eastError =
                (back.longitude - longitude) * 111200.0 * std::cos(latitude * M_PI / 180.0);
            ASSERT_LT(std::hypot(northError, eastError), 5.0) << latitude << " " << longitude;
        }
    }
    // Near the observatory the drift stays under half a metre (5e-6 degrees).
    const SwissCoordinates bern = swissFromGeo(46.95, 7.44);
    const GeoPosition back = geoFromSwiss(bern.east, bern.north);
    EXPECT_NEAR(back.latitude, 46.95, 5e-6);
    EXPECT_NEAR(back.longitude, 7.44, 5e-6);
}

TEST(SwissGrid, UnsetInputGivesNoValue) {
    const SwissCoordinates grid = swissFromGeo(-999999.0, 7.0);
    EXPECT_EQ(grid.east, -999999.0);
    EXPECT_EQ(grid.north, -999999.0);
    EXPECT_FALSE(hasCoordinate(geoFromSwiss(INFINITY, 200000.0).latitude));
}

}  // namespace
}  // namespace wendra
