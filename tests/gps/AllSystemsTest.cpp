// "All satellite systems": the GN, GL, GA, GB and GQ talkers decoded like GP when the
// bit is on; counted, undecoded and noticed when it is off.

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <sstream>
#include <string>

#include "gps/NmeaParser.h"
#include "gps/NmeaTestSentences.h"
#include "support/FakeClock.h"
#include "support/TestPaths.h"

namespace wendra::test {
namespace {

constexpr int32_t kAllOn = ParserFlags::kInitial | ParserFlags::kAllSystems;

class AllSystemsTest : public ::testing::Test {
protected:
    AllSystemsTest() : useClock_(clock) {}
    FakeClock clock;

private:
    platform::ScopedClock useClock_;
};

std::string rmc(const std::string& talker) {
    return nmea(talker + "RMC,120000,A,4807.038,N,01131.000,E,022.4,084.4,230394,,");
}

TEST_F(AllSystemsTest, DecodesTheOtherTalkersOnlyWithTheBit) {
    struct Case {
        const char* legend;
        std::string talker;
        bool decodedWithBit;
    };
    const Case cases[] = {
        {"GPS", "GP", true},
        {"several systems", "GN", true},
        {"GLONASS", "GL", true},
        {"Galileo", "GA", true},
        {"BeiDou", "GB", true},
        {"QZSS", "GQ", true},
        {"BeiDou's old talker", "BD", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.legend);
        NmeaParser off;
        off.parse(rmc(c.talker));
        const bool gps = c.talker == "GP";
        EXPECT_EQ((off.flags() & ParserFlags::kFixValid) != 0, gps);
        EXPECT_EQ(off.positionCount(), gps ? 1 : 0);
        EXPECT_EQ(off.otherSystemPositionCount(), c.decodedWithBit && !gps ? 1 : 0);
        EXPECT_EQ(off.sentenceCount(), c.talker == "BD" ? 0 : 1);

        NmeaParser on;
        on.setFlags(kAllOn);
        on.parse(rmc(c.talker));
        EXPECT_EQ((on.flags() & ParserFlags::kFixValid) != 0, c.decodedWithBit);
        if (c.decodedWithBit) {
            EXPECT_NEAR(on.fix().speed, 41.484f, 0.001f);
            EXPECT_EQ(on.fix().course, 84);
            EXPECT_EQ(on.positionCount(), 1);
        }
    }
}

TEST_F(AllSystemsTest, CountsOnlyUsablePositionsOfTheOtherSystems) {
    NmeaParser parser;
    parser.parse(nmea("GNRMC,120000,V,,,,,,,230394,,"));
    parser.parse(nmea("GNGGA,120000,4807,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,"));
    parser.parse(nmea("GNGGA,120000,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,"));
    EXPECT_EQ(parser.otherSystemPositionCount(), 0);
    parser.parse(nmea("GNGGA,120000,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,"));
    EXPECT_EQ(parser.otherSystemPositionCount(), 1);
}

std::string gsv(const std::string& talker, int prnA, int prnB) {
    char body[96];
    std::snprintf(body, sizeof body, "%sGSV,1,1,02,%02d,40,100,38,%02d,30,200,35", talker.c_str(),
                  prnA, prnB);
    return nmea(body);
}

std::set<int32_t> prns(const NmeaParser& parser) {
    std::set<int32_t> seen;
    for (const SatelliteInView& s : parser.satellites())
        if (s.prn != 0) seen.insert(s.prn);
    return seen;
}

TEST_F(AllSystemsTest, EachSystemsSkyJoinsTheTableUntilATalkerComesAgain) {
    NmeaParser off;
    off.parse(gsv("GP", 1, 2) + gsv("GL", 65, 66));
    EXPECT_EQ(prns(off), (std::set<int32_t>{1, 2}));

    NmeaParser on;
    on.setFlags(kAllOn);
    on.parse(gsv("GP", 1, 2) + gsv("GL", 65, 66) + gsv("GA", 3, 4));
    EXPECT_EQ(prns(on), (std::set<int32_t>{1, 2, 3, 4, 65, 66}));
    EXPECT_TRUE(on.flags() & ParserFlags::kSkyComplete);
    on.parse(gsv("GP", 5, 6));  // the next cycle
    EXPECT_EQ(prns(on), (std::set<int32_t>{5, 6}));
}

TEST_F(AllSystemsTest, BackToBackSelectionListsAddUp) {
    const std::string gps = nmea("GNGSA,A,3,01,02,,,,,,,,,,,1.6,1.0,1.3");
    const std::string glonass = nmea("GNGSA,A,3,65,66,67,,,,,,,,,,1.6,1.0,1.3");
    NmeaParser on;
    on.setFlags(kAllOn);
    on.parse(gps + glonass);
    EXPECT_EQ(on.usedSatellites(), (NmeaParser::UsedSatellites{1, 2, 65, 66, 67}));
    on.parse(gsv("GP", 1, 9) + gps);  // not right after a GSA: a new list
    EXPECT_EQ(on.usedSatellites(), (NmeaParser::UsedSatellites{1, 2}));

    NmeaParser gpsOnly;  // without the bit, a GPS receiver's lists replace each other
    gpsOnly.parse(nmea("GPGSA,A,3,01,02,,,,,,,,,,,1.6,1.0,1.3") +
                  nmea("GPGSA,A,3,03,,,,,,,,,,,,1.6,1.0,1.3"));
    EXPECT_EQ(gpsOnly.usedSatellites(), (NmeaParser::UsedSatellites{3}));
}

TEST_F(AllSystemsTest, TheBitIsSavedWithTheSettings) {
    NmeaParser parser;
    parser.setFlags(kAllOn);
    EXPECT_EQ(parser.settingsRecord(), "NMEA2|1036|48.0|\n");
    NmeaParser loaded;
    ASSERT_TRUE(loaded.loadSettings(parser.settingsRecord()));
    EXPECT_EQ(loaded.flags(), kAllOn);
}

// ddmm.mmmm and a hemisphere, worked out apart from the parser.
double degrees(const std::string& value, const std::string& hemisphere) {
    const double v = std::stod(value);
    const double whole = std::floor(v / 100.0);
    const double d = whole + (v - whole * 100.0) / 60.0;
    return hemisphere == "S" || hemisphere == "W" ? -d : d;
}

std::vector<std::string> fieldsOf(const std::string& sentence) {
    std::vector<std::string> out;
    std::stringstream in(sentence.substr(0, sentence.find('*')));
    std::string f;
    while (std::getline(in, f, ',')) out.push_back(f);
    return out;
}

// Receivers that send their positions only as GN/GL sentences: no fix at all without
// the bit; with it, each position sentence gives the position it carries.
TEST_F(AllSystemsTest, ReceiversWithoutGpsTalkerGiveFixesWithTheBit) {
    std::stringstream index(readFile(sharedData() / "nmea" / "INDEX.tsv"));
    std::string row;
    int logs = 0;
    while (std::getline(index, row)) {
        if (row.substr(row.rfind('\t') + 1) != "gn-only") continue;
        const std::string log = row.substr(0, row.find('\t'));
        SCOPED_TRACE(log);
        ++logs;
        NmeaParser off;
        NmeaParser on;
        on.setFlags(kAllOn);
        int fixes = 0;
        std::stringstream lines(readFile(sharedData() / "nmea" / log));
        std::string line;
        while (std::getline(lines, line)) {
            if (line.empty() || line[0] == '#') continue;
            off.parse(line + "\n");
            on.parse(line + "\n");
            EXPECT_FALSE(off.flags() & ParserFlags::kNewFix);
            if (!(on.flags() & ParserFlags::kNewFix)) continue;
            on.setFlags(on.flags() & ~ParserFlags::kNewFix);
            ++fixes;
            const std::string sentence = line.substr(line.rfind('$'));
            const std::vector<std::string> f = fieldsOf(sentence);
            const size_t at = sentence.substr(3, 3) == "GGA" ? 2 : 3;
            ASSERT_GT(f.size(), at + 3) << sentence;
            EXPECT_NEAR(on.fix().latitude, degrees(f[at], f[at + 1]), 1e-9) << sentence;
            EXPECT_NEAR(on.fix().longitude, degrees(f[at + 2], f[at + 3]), 1e-9) << sentence;
        }
        EXPECT_GT(fixes, 0);
        EXPECT_EQ(off.positionCount(), 0);
        EXPECT_GT(off.otherSystemPositionCount(), 0);
    }
    EXPECT_GE(logs, 10);
}

}  // namespace
}  // namespace wendra::test
