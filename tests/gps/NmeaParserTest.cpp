// What each sentence does to the parser's state, case by case.

#include "gps/NmeaParser.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "gps/NmeaTestSentences.h"
#include "records/DayNumber.h"
#include "support/FakeClock.h"

namespace wendra::test {
namespace {

const std::string kGga = "$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47\r\n";
const std::string kGgaNoGeoid = nmea("GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,,M,,");

std::string rmc(const std::string& speed, const std::string& course, int extraFields = 0) {
    std::string body =
        "GPRMC,123519,A,4807.038,N,01131.000,E," + speed + "," + course + ",230394,003.1,W";
    for (int i = 0; i < extraFields; ++i) body += ",A";
    return nmea(body);
}

class NmeaParserTest : public ::testing::Test {
protected:
    FakeClock clock;
    platform::ScopedClock useClock{clock};
    NmeaParser parser;

    void feed(const std::vector<std::string>& sentences) {
        for (const std::string& s : sentences) parser.parse(s);
    }
};

TEST_F(NmeaParserTest, GgaGivesPositionAndCorrectedAltitude) {
    struct Case {
        const char* legend;
        int32_t flags;
        std::string sentence;
        float altitude;
        float correction;
        int32_t settingsAfter;
    };
    const Case cases[] = {
        {"automatic: the correction follows the separation", 0x00C, kGga, 545.4f, 46.9f, 0x00C},
        {"manual correction of 48 m", 0x004, kGga, 544.3f, 48.0f, 0x004},
        {"no separation sent: automatic switches off", 0x00C, kGgaNoGeoid, 497.4f, 48.0f, 0x004},
        {"correction off: the altitude as sent", 0x000, kGga, 545.4f, 48.0f, 0x000},
        {"correction off, automatic still tracks", 0x008, kGga, 545.4f, 46.9f, 0x008},
        {"no separation, automatic alone stays on", 0x008, kGgaNoGeoid, 545.4f, 48.0f, 0x008},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.legend);
        NmeaParser p;
        p.setFlags(c.flags);
        p.parse(c.sentence);
        EXPECT_NEAR(p.fix().latitude, 48.1173, 1e-9);
        EXPECT_NEAR(p.fix().longitude, 11.516666667, 1e-9);
        EXPECT_NEAR(p.fix().altitude, c.altitude, 1e-4);
        EXPECT_FLOAT_EQ(p.correction(), c.correction);
        EXPECT_EQ(p.flags() & 0x00C, c.settingsAfter);
        EXPECT_EQ(p.flags() & 0x011, 0x011) << "fix valid and new fix";
        EXPECT_EQ(p.receiverTime(), "123519");
    }
}

TEST_F(NmeaParserTest, SpeedAndCourseFromRmcAndVtg) {
    struct Case {
        const char* legend;
        std::string sentence;
        float speed;
        int32_t course;
    };
    const Case cases[] = {
        {"knots to km/h, course rounded down", rmc("022.4", "084.4"), 41.4838f, 84},
        {"negative half rounds away from zero", rmc("0", "-0.5"), 0.0f, -1},
        {"positive half rounds away from zero", rmc("1", "359.5"), 1.85196f, 360},
        {"empty fields keep the values", rmc("", ""), 1.85196f, 360},
        {"non-numeric fields keep the values", rmc("1e3", "N/A"), 1.85196f, 360},
        {"VTG: true course and knots", nmea("GPVTG,054.7,T,034.4,M,005.5,N,010.2,K"), 10.1858f, 55},
        {"VTG of NMEA 2.3 with the mode field", nmea("GPVTG,10.0,T,,M,2.0,N,3.7,K,A"), 3.70391f,
         10},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.legend);
        parser.parse(c.sentence);
        EXPECT_NEAR(parser.fix().speed, c.speed, 1e-3);
        EXPECT_EQ(parser.fix().course, c.course);
    }
}

TEST_F(NmeaParserTest, RmcOfEveryNmeaVersionIsDecoded) {
    struct Case {
        const char* legend;
        int extraFields;
        bool decoded;
    };
    const Case cases[] = {
        {"NMEA 2.0, 11 commas", 0, true},
        {"NMEA 2.3 mode indicator, 12 commas", 1, true},
        {"NMEA 4.10 navigational status, 13 commas", 2, true},
        {"14 commas: not an RMC of any version", 3, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.legend);
        NmeaParser p;
        p.parse(rmc("022.4", "084.4", c.extraFields));
        EXPECT_EQ((p.flags() & ParserFlags::kFixValid) != 0, c.decoded);
        EXPECT_EQ(p.fix().speed > 41.0f, c.decoded);
        EXPECT_EQ(p.receiverDate(), c.decoded ? "230394" : "");
        EXPECT_EQ(p.sentenceCount(), 1);
    }
}

// Every sentence of the parser's table is read at each comma count it accepts and only
// counted one comma short of or past them; so is the position of another system's talker
// that is not decoded. A table entry without a sample here fails, so that a new
// sentence comes with its case.
TEST(NmeaSentenceTable, SentencesAreReadOnlyWithTheCommaCountsTheyAccept) {
    struct Sample {
        std::string_view type;
        const char* fieldsAtFewestCommas;  // after "$GP" and the type
        bool (*decoded)(const NmeaParser&);
        bool holdsPosition;
    };
    const auto fixValid = [](const NmeaParser& p) {
        return (p.flags() & ParserFlags::kFixValid) != 0;
    };
    static const Sample samples[] = {
        {"GGA", ",123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,", fixValid, true},
        {"RMC", ",123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W", fixValid, true},
        {"VTG", ",054.7,T,034.4,M,005.5,N,010.2,K",
         [](const NmeaParser& p) { return p.fix().speed > 10.0f; }, false},
        {"GSA", ",A,3,04,05,,09,12,,,24,,,,,2.5,1.3,2.1",
         [](const NmeaParser& p) { return p.usedSatellites()[0] == 4 && p.dilution() > 0.0f; },
         false},
    };
    for (const NmeaParser::Sentence& sentence : NmeaParser::kSentences) {
        if (sentence.maxCommas == NmeaParser::Sentence::kAnyCommas) continue;
        const Sample* sample = nullptr;
        for (const Sample& s : samples)
            if (s.type == sentence.type) sample = &s;
        ASSERT_NE(sample, nullptr) << "no sample for " << sentence.type;
        const std::string fewest = sample->fieldsAtFewestCommas;
        ASSERT_EQ(std::count(fewest.begin(), fewest.end(), ','), sentence.minCommas)
            << sentence.type;
        for (int commas = sentence.minCommas - 1; commas <= sentence.maxCommas + 1; ++commas) {
            const std::string fields = commas < sentence.minCommas
                                           ? fewest.substr(0, fewest.rfind(','))
                                           : fewest + std::string(commas - sentence.minCommas, ',');
            const bool accepted = commas >= sentence.minCommas && commas <= sentence.maxCommas;
            SCOPED_TRACE(std::string(sentence.type) + " with " + std::to_string(commas) +
                         " commas");
            NmeaParser gps;
            gps.parse(nmea("GP" + std::string(sentence.type) + fields));
            EXPECT_EQ(sample->decoded(gps), accepted);
            EXPECT_EQ(gps.sentenceCount(), 1);

            NmeaParser other;  // all systems off: GLONASS is counted, not decoded
            other.parse(nmea("GL" + std::string(sentence.type) + fields));
            EXPECT_FALSE(sample->decoded(other));
            EXPECT_EQ(other.otherSystemPositionCount(), accepted && sample->holdsPosition ? 1 : 0);
        }
    }
}

TEST_F(NmeaParserTest, CountsSentencesFromReceiversOnly) {
    struct Case {
        const char* legend;
        std::string sentence;
        int counted;
        bool fix;
    };
    const Case cases[] = {
        {"GGA decoded and counted", kGga, 1, true},
        {"GGA with 15 commas: counted only", nmea("GPGGA,1,4807.038,N,01131.000,E,1,,,1,M,1,M,,,"),
         1, false},
        {"other talker: counted only", nmea("GNRMC,1,A,4807.038,N,01131.000,E,1,1,230394,,"), 1,
         false},
        {"another GPS sentence", nmea("GPZDA,201530.00,04,07,2002,00,00"), 1, false},
        {"SiRF proprietary", nmea("PSRFEPE,074157.799,A,1.1,24.65"), 1, false},
        {"Garmin proprietary is not a receiver sentence", nmea("PGRME,9.1,M,15.0,M,12.0,M"), 0,
         false},
        {"instrument talker", nmea("IIDBT,7.8,f,2.4,M,1.3,F"), 0, false},
        {"bad checksum", "$GPZDA,201530.00,04,07,2002,00,00*00\r\n", 0, false},
        {"lowercase checksum, newline only", "$GPZDA,201508.00,04,07,2002,00,00*6b\n", 1, false},
        {"no checksum", "$GPZDA,201530.00,04,07,2002,00,00\r\n", 0, false},
        {"star without digits", "$GPZDA,201530.00,04,07,2002,00,00*\r\n", 0, false},
        {"no-port marker", "$NOPORT*18\r\n", 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.legend);
        NmeaParser p;
        p.parse(c.sentence);
        EXPECT_EQ(p.sentenceCount(), c.counted);
        EXPECT_EQ((p.flags() & ParserFlags::kFixValid) != 0, c.fix);
    }
}

TEST_F(NmeaParserTest, UnusableCoordinateClearsFixValidButNotNewFix) {
    feed({kGga, nmea("GPGGA,123520,4807,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,")});
    EXPECT_EQ(parser.flags() & (ParserFlags::kFixValid | ParserFlags::kNewFix),
              ParserFlags::kNewFix);
    EXPECT_NEAR(parser.fix().latitude, 48.1173, 1e-9);
    EXPECT_EQ(parser.receiverTime(), "123520");
}

TEST_F(NmeaParserTest, SouthAndWestAreNegative) {
    parser.parse(nmea("GPRMC,225308,A,4527.458,S,16709.165,W,000.0,094.5,060601,024.1,E"));
    EXPECT_NEAR(parser.fix().latitude, -45.457633333, 1e-9);
    EXPECT_NEAR(parser.fix().longitude, -167.15275, 1e-9);
}

TEST_F(NmeaParserTest, NoPortClearsTheTransientBits) {
    parser.setFlags(0x3FF);
    feed({kGga, "$NOPORT*18\r\n"});
    EXPECT_EQ(parser.flags(), 0x3FF & ~0x353 & ~ParserFlags::kChanged);
    EXPECT_EQ(parser.sentenceCount(), 1);
}

TEST_F(NmeaParserTest, FixTimeIsTheDeviceClockNotTheReceivers) {
    clock.local = {2024, 5, 17, 21, 30, 15, 0};
    parser.parse(kGga);
    EXPECT_DOUBLE_EQ(parser.fix().time, dayNumberFromCivil(clock.local));
}

TEST_F(NmeaParserTest, ChangedAndGapFlagsDescribeEachCall) {
    parser.parse(kGga);
    EXPECT_TRUE(parser.flags() & ParserFlags::kGap) << "nothing was parsed before";
    EXPECT_TRUE(parser.flags() & ParserFlags::kChanged);
    clock.advanceMilliseconds(30'000);
    parser.parse(kGga);
    EXPECT_FALSE(parser.flags() & ParserFlags::kGap);
    EXPECT_FALSE(parser.flags() & ParserFlags::kChanged) << "the same sentence again";
    clock.advanceMilliseconds(61'000);
    parser.parse(rmc("1", "2"));
    EXPECT_TRUE(parser.flags() & ParserFlags::kGap);
    EXPECT_TRUE(parser.flags() & ParserFlags::kChanged);
}

// What the parser changes of its own saved settings is counted, so that it is saved.
TEST_F(NmeaParserTest, OwnSettingChangesAreCounted) {
    const auto gga = [](const std::string& geoid) {
        return nmea("GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M," + geoid + ",M,,");
    };
    struct Step {
        const char* legend;
        std::string sentence;
        uint32_t revision;
        float correction;
        bool automatic;
    };
    const Step steps[] = {
        {"the separation is learnt", gga("46.9"), 1, 46.9f, true},
        {"the same separation again", gga("46.9"), 1, 46.9f, true},
        {"a separation no geoid has", gga("99999.0"), 1, 46.9f, true},
        {"no separation: automatic switches off", gga(""), 2, 46.9f, false},
        {"then nothing more changes", gga("40.0"), 2, 46.9f, false},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.legend);
        parser.parse(step.sentence);
        EXPECT_EQ(parser.settingsRevision(), step.revision);
        EXPECT_FLOAT_EQ(parser.correction(), step.correction);
        EXPECT_EQ((parser.flags() & ParserFlags::kAutoCorrection) != 0, step.automatic);
    }
}

TEST_F(NmeaParserTest, SettingsRecordRoundTrip) {
    EXPECT_EQ(parser.settingsRecord(), "NMEA2|12|48.0|\n");
    EXPECT_TRUE(parser.loadSettings("NMEA2|1023|46.9|\r\n"));
    EXPECT_EQ(parser.flags(), 1023 & ~0x353) << "transient bits never load";
    EXPECT_FLOAT_EQ(parser.correction(), 46.9f);
    EXPECT_EQ(parser.settingsRecord(), "NMEA2|172|46.9|\n");
    EXPECT_FALSE(parser.loadSettings("Serial6|1|4800|\n"));
    EXPECT_FALSE(parser.loadSettings("NMEA2x|1|2|\n"));
    EXPECT_TRUE(parser.loadSettings("NMEA2|"));
    EXPECT_EQ(parser.flags(), 0) << "missing fields take the codec's defaults";
    EXPECT_EQ(parser.correction(), 0.0f);
}

// A GSA naming the used PRNs, then `tail` (the DOP fields with their commas).
std::string gsa(const std::vector<std::string>& prns, const std::string& tail) {
    std::string body = "GPGSA,A,3";
    for (size_t i = 0; i < NmeaParser::kUsedSlots; ++i)
        body += "," + (i < prns.size() ? prns[i] : std::string());
    return nmea(body + tail);
}

std::string gsv(const std::string& header, const std::string& satellites) {
    return nmea("GPGSV," + header + satellites);
}

float powerSum(std::initializer_list<double> signals) {
    double sum = 1.0;  // the 0 dB term each group starts from
    for (double s : signals) sum += std::pow(10.0, s / 10.0);
    return static_cast<float>(10.0 * std::log10(sum));
}

TEST_F(NmeaParserTest, CompleteGsvGroupPublishesTheSky) {
    feed({gsa({"05", "07"}, ",2.5,1.3,2.1"),
          gsv("2,1,5", ",05,40,083,38,07,17,308,40,09,07,344,30,12,,,"),
          gsv("2,2,5", ",20,03,120,50,,,,,,,,")});
    const SatelliteInView expected[] = {
        {5, 38, 40, 83}, {7, 40, 17, 308}, {9, -30, 7, 344}, {12, 0, 0, 0}, {20, -45, 3, 120}};
    for (size_t i = 0; i < std::size(expected); ++i) EXPECT_EQ(parser.satellites()[i], expected[i]);
    EXPECT_EQ(parser.satellites()[5], SatelliteInView{});
    EXPECT_EQ(parser.satellitesInView(), 5);
    EXPECT_TRUE(parser.flags() & ParserFlags::kSkyComplete);
    EXPECT_FLOAT_EQ(parser.fix().signal, powerSum({38, 40}));
    EXPECT_EQ(parser.usedSatellites()[1], 7);
    EXPECT_FLOAT_EQ(parser.dilution(), 2.5f);
}

TEST_F(NmeaParserTest, BrokenGsvGroupClearsTheSky) {
    const std::string one = gsv("3,1,9", ",05,40,083,38");
    const std::string two = gsv("3,2,9", ",07,17,308,40");
    const std::string three = gsv("3,3,9", ",09,07,344,30");
    struct Case {
        const char* legend;
        std::vector<std::string> sentences;
        bool complete;
        int32_t firstPrn;
    };
    const Case cases[] = {
        {"whole group", {one, two, three}, true, 5},
        {"message 2 of 3 missing", {one, three}, false, 0},
        {"message 1 missing", {two, three}, false, 0},
        {"message number above the total", {one, gsv("1,2,9", ",07,17,308,40")}, false, 0},
        {"total not a number", {one, gsv("x,2,9", ",07,17,308,40")}, false, 0},
        {"in-view count not a number", {one, gsv("3,2,", ",07,17,308,40")}, false, 0},
        {"a new group starts over", {one, two, gsv("1,1,1", ",11,01,002,20")}, true, 11},
        {"a DOP that is no number", {one, two, three, gsa({}, ",x,1,1")}, false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.legend);
        NmeaParser p;
        for (const std::string& s : c.sentences) p.parse(s);
        EXPECT_EQ((p.flags() & ParserFlags::kSkyComplete) != 0, c.complete);
        EXPECT_EQ(p.satellites()[0].prn, c.firstPrn);
    }
}

TEST_F(NmeaParserTest, GsvBeyondSixtyFourSatellitesOverwritesTheLastSlot) {
    const int kMessages = 17;  // 68 satellites
    for (int k = 1, prn = 1; k <= kMessages; ++k) {
        std::string satellites;
        for (int i = 0; i < 4; ++i, ++prn) satellites += "," + std::to_string(prn) + ",10,20,30";
        parser.parse(gsv(std::to_string(kMessages) + "," + std::to_string(k) + ",68", satellites));
    }
    EXPECT_TRUE(parser.flags() & ParserFlags::kSkyComplete);
    EXPECT_EQ(parser.satellites()[62].prn, 63);
    EXPECT_EQ(parser.satellites()[63].prn, 68);
}

TEST_F(NmeaParserTest, PrnZeroIsNotAUsedSatellite) {
    feed({gsa({"05"}, ",2.5,1.3,2.1"), gsv("1,1,2", ",00,10,20,30,05,10,20,30")});
    EXPECT_EQ(parser.satellites()[0].signal, -30) << "empty used slots hold 0, no PRN";
    EXPECT_FLOAT_EQ(parser.fix().signal, powerSum({30}));
}

TEST_F(NmeaParserTest, GsaUsedListAndDilution) {
    struct Case {
        const char* legend;
        std::string sentence;
        float dilution;
        int32_t secondUsed;
    };
    const Case cases[] = {
        {"NMEA 2: position DOP", gsa({"05", "07"}, ",2.5,1.3,2.1"), 2.5f, 7},
        {"NMEA 4.10 system id: horizontal DOP", gsa({"05", "09"}, ",2.6,1.4,2.1,1"), 1.4f, 9},
        {"empty DOP keeps the value, list rewritten", gsa({"05"}, ",,,"), 1.4f, 0},
        {"a PRN that is no number empties its slot", gsa({"05", "x"}, ",3.0,1,1"), 3.0f, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.legend);
        parser.parse(c.sentence);
        EXPECT_FLOAT_EQ(parser.dilution(), c.dilution);
        EXPECT_EQ(parser.usedSatellites()[0], 5);
        EXPECT_EQ(parser.usedSatellites()[1], c.secondUsed);
    }
}

TEST_F(NmeaParserTest, ReceiverTextReportsTheBaudRate) {
    const std::string sky = gsv("1,1,1", ",05,40,083,38");
    struct Case {
        const char* legend;
        std::string sentence;
        int32_t baud;
        bool skyKept;
        int counted;
    };
    const Case cases[] = {
        {"label in its own field", nmea("PSRFTXT,Baud rate,4800"), 4800, true, 2},
        {"label glued to the address", nmea("PSRFTXTBaud rate,9600"), 9600, true, 2},
        {"rate with a space clears the sky", nmea("PSRFTXT,Baud rate, 4800"), 0, false, 2},
        {"other texts are ignored", nmea("PSRFTXT,Version,GSW3"), 0, true, 2},
        {"no comma at all: dropped unread", nmea("PSRFTXTBaud rate: 57600 "), 0, true, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.legend);
        NmeaParser p;
        p.parse(sky);
        p.parse(c.sentence);
        EXPECT_EQ(p.reportedBaudRate(), c.baud);
        EXPECT_EQ(p.satellites()[0].prn == 5, c.skyKept);
        EXPECT_EQ(p.sentenceCount(), c.counted);
    }
}

// The window reading a real receiver allows the parser to set the clock.
class NmeaParserClockTest : public NmeaParserTest {
protected:
    NmeaParserClockTest() { parser.allowClockSetting(true); }

    std::string gga(const std::string& time) {
        return nmea("GPGGA," + time + ",4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,");
    }
    std::string rmcOn(const std::string& time, const std::string& date) {
        return nmea("GPRMC," + time + ",A,4807.038,N,01131.000,E,0.0,0.0," + date + ",,");
    }
};

TEST_F(NmeaParserClockTest, TimeIsSetOnceFromTheSecondValidPosition) {
    parser.setFlags(ParserFlags::kInitial | ParserFlags::kSetClock);
    parser.parse(gga("123519.25"));
    EXPECT_TRUE(clock.settings.empty()) << "the fix was not valid before this sentence";
    parser.parse(gga("123520.9996"));
    ASSERT_EQ(clock.settings.size(), 1u);
    EXPECT_EQ(clock.settings[0], (platform::CivilTime{2024, 5, 17, 12, 35, 20, 999}));
    EXPECT_DOUBLE_EQ(parser.fix().time, dayNumberFromCivil(clock.local)) << "stamped after";
    parser.parse(gga("123521"));
    EXPECT_EQ(clock.settings.size(), 1u);
    parser.parse("$NOPORT*18\r\n");
    feed({gga("123522"), gga("123523.5")});
    ASSERT_EQ(clock.settings.size(), 2u);
    EXPECT_EQ(clock.settings[1], (platform::CivilTime{2024, 5, 17, 12, 35, 23, 500}));
}

TEST_F(NmeaParserClockTest, DateIsSetFromTheRmcThatBringsTheFix) {
    parser.setFlags(ParserFlags::kInitial | ParserFlags::kSetClock);
    parser.parse(rmcOn("081500", "180699"));
    ASSERT_EQ(clock.settings.size(), 1u) << "the date comes after the coordinates";
    EXPECT_EQ(clock.settings[0], (platform::CivilTime{2099, 6, 18, 12, 0, 0, 0}))
        << "the century is the clock's";
    parser.parse(rmcOn("081501", "190699"));
    ASSERT_EQ(clock.settings.size(), 2u);
    EXPECT_EQ(clock.settings[1].hour, 8) << "then the time";
    EXPECT_EQ(clock.settings[1].day, 18) << "the date only once";
}

TEST_F(NmeaParserClockTest, ImpossibleStringsLeaveTheClockAlone) {
    parser.setFlags(ParserFlags::kInitial | ParserFlags::kSetClock);
    feed({rmcOn("246000", "310299"), rmcOn("12a519", "0102"), rmcOn("1235", "010299x")});
    EXPECT_TRUE(clock.settings.empty());
    EXPECT_FALSE(parser.flags() & (ParserFlags::kClockTimeSet | ParserFlags::kClockDateSet))
        << "still waiting for a usable string";
}

TEST_F(NmeaParserClockTest, ClockIsLeftAloneUnlessAskedAndAllowed) {
    struct Case {
        const char* legend;
        const char* settings;  // the NMEA2 record loaded
        bool allowed;          // a real receiver, not a replay or a tool
    };
    const Case cases[] = {
        {"\"Update time\" off", "NMEA2|12|48.0|", true},
        {"a replayed log, a simulation or a tool", "NMEA2|44|48.0|", false},
        {"a damaged word with every bit", "NMEA2|-1|48.0|", true},
        {"a word with an unknown bit", "NMEA2|2092|48.0|", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.legend);
        NmeaParser p;
        ASSERT_TRUE(p.loadSettings(c.settings));
        p.allowClockSetting(c.allowed);
        for (const std::string& s : {gga("123519"), gga("123520"), rmcOn("123521", "010124")})
            p.parse(s);
        EXPECT_TRUE(clock.settings.empty());
        if (!c.allowed) {
            EXPECT_TRUE(p.flags() & ParserFlags::kSetClock) << "the user's setting stays";
        }
    }
}

TEST_F(NmeaParserClockTest, RefusedSettingIsNotRetried) {
    clock.allowSetting = false;
    parser.setFlags(ParserFlags::kInitial | ParserFlags::kSetClock);
    feed({gga("123519"), gga("123520"), gga("123521")});
    EXPECT_EQ(clock.settings.size(), 1u);
}

}  // namespace
}  // namespace wendra::test
