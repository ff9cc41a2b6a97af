// The receiver simulator as later tests, the replay and the demo rely on it: sentences
// a strict reader accepts, a sky that behaves like the real one, and a walk with the
// stop, the climb and the gap it promises. The log is decoded here by a small reader
// of our own, independent of the program's parser.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <numbers>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "gps/NmeaParser.h"
#include "gps/ParserFlags.h"
#include "simulator/NmeaSimulator.h"
#include "support/FakeClock.h"
#include "support/TestPaths.h"

namespace wendra::test {
namespace {

using sim::NmeaSimulator;
using sim::ReceiverCycle;
using sim::SimulationOptions;

// ---- an independent reader of the simulator's output ----------------------------

struct Sentence {
    std::string address;              // "$GPGGA"
    std::vector<std::string> fields;  // after the address, up to the '*'
};

// Checks what every strict reader demands of a line and splits it; the failure
// text says what is wrong.
std::optional<Sentence> readSentence(const std::string& line, std::string& problem) {
    const size_t star = line.find('*');
    if (line.empty() || line[0] != '$') return problem = "no leading $", std::nullopt;
    if (line.size() + 2 > 82) return problem = "longer than 82 characters", std::nullopt;
    if (star == std::string::npos || star + 3 != line.size())
        return problem = "no '*' followed by two characters", std::nullopt;
    unsigned sum = 0;
    for (size_t i = 1; i < star; ++i) sum ^= static_cast<unsigned char>(line[i]);
    char expected[3];
    std::snprintf(expected, sizeof expected, "%02X", sum);
    if (line.substr(star + 1) != expected)
        return problem = "checksum is not " + std::string(expected), std::nullopt;
    Sentence sentence;
    size_t start = 0;
    for (;;) {
        const size_t comma = line.find(',', start);
        const std::string field = line.substr(start, std::min(comma, star) - start);
        if (start == 0)
            sentence.address = field;
        else
            sentence.fields.push_back(field);
        if (comma == std::string::npos || comma > star) break;
        start = comma + 1;
    }
    return sentence;
}

// Splits at CRLF; a line without its CRLF at the end is reported as problem.
std::vector<std::string> crlfLines(const std::string& text, std::string& problem) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = text.find("\r\n", start);
        if (end == std::string::npos) {
            problem = "text does not end with CRLF";
            break;
        }
        const std::string line = text.substr(start, end - start);
        if (line.find_first_of("\r\n") != std::string::npos) problem = "bare CR or LF in " + line;
        lines.push_back(line);
        start = end + 2;
    }
    return lines;
}

double degreesFrom(const std::string& value, const std::string& hemisphere) {
    const double raw = std::stod(value);
    const double degrees = std::floor(raw / 100.0) + std::fmod(raw, 100.0) / 60.0;
    return hemisphere == "S" || hemisphere == "W" ? -degrees : degrees;
}

struct SkyEntry {
    int elevation = 0;
    int azimuth = 0;
    int snr = 0;  // 0: field empty
};

struct Decoded {
    std::string time, date, rmcStatus, rmcCourse, rmcKnots;
    int quality = -1, ggaUsed = -1;
    bool hasPosition = false;
    double latitude = 0, longitude = 0, altitude = 0, geoid = 0, speedKmh = 0;
    std::optional<double> course;
    std::vector<int> used;
    std::map<int, SkyEntry> sky;
    int skyCount = -1;
    std::vector<std::string> problems;
};

void decodeGga(const Sentence& s, Decoded& d) {
    d.time = s.fields[0];
    d.quality = std::stoi(s.fields[5]);
    d.ggaUsed = std::stoi(s.fields[6]);
    d.hasPosition = !s.fields[1].empty() && !s.fields[3].empty();
    if (!d.hasPosition) return;
    d.latitude = degreesFrom(s.fields[1], s.fields[2]);
    d.longitude = degreesFrom(s.fields[3], s.fields[4]);
    d.altitude = std::stod(s.fields[8]);
    d.geoid = std::stod(s.fields[10]);
}

void decodeRmc(const Sentence& s, Decoded& d) {
    if (s.fields[0] != d.time) d.problems.push_back("RMC time differs from GGA time");
    d.rmcStatus = s.fields[1];
    d.date = s.fields[8];
    d.rmcKnots = s.fields[6];
    d.rmcCourse = s.fields[7];
    if (!s.fields[6].empty()) d.speedKmh = std::stod(s.fields[6]) * 1.852;
    if (!s.fields[7].empty()) d.course = std::stod(s.fields[7]);
    if (d.rmcStatus == "A" && s.fields[2].empty())
        d.problems.push_back("status A without position");
    if (d.rmcStatus == "V" && !s.fields[2].empty()) d.problems.push_back("status V with position");
}

void decodeGsv(const Sentence& s, Decoded& d, int expectedMessage, int& totalMessages) {
    const int total = std::stoi(s.fields[0]), number = std::stoi(s.fields[1]);
    const int count = std::stoi(s.fields[2]);
    if (number == 1) totalMessages = total;
    if (number != expectedMessage || total != totalMessages)
        d.problems.push_back("GSV message " + s.fields[1] + " of " + s.fields[0] + " out of order");
    if (d.skyCount >= 0 && count != d.skyCount) d.problems.push_back("GSV counts differ");
    d.skyCount = count;
    // Four satellites a message, the last one taking the rest.
    const int listed = static_cast<int>(s.fields.size() - 3) / 4;
    if (total != std::max(1, (count + 3) / 4) || listed != std::min(4, count - 4 * (number - 1)))
        d.problems.push_back("GSV message " + s.fields[1] + " lists " + std::to_string(listed));
    for (size_t i = 3; i + 3 < s.fields.size(); i += 4) {
        const int prn = std::stoi(s.fields[i]);
        if (d.sky.count(prn)) d.problems.push_back("PRN listed twice");
        d.sky[prn] = {std::stoi(s.fields[i + 1]), std::stoi(s.fields[i + 2]),
                      s.fields[i + 3].empty() ? 0 : std::stoi(s.fields[i + 3])};
    }
}

// VTG repeats RMC's course and speed, adding the speed in km/h.
void checkVtg(const Sentence& s, Decoded& d) {
    bool agrees = s.fields[0] == d.rmcCourse && s.fields[4] == d.rmcKnots;
    if (agrees && !s.fields[4].empty())
        agrees = std::abs(std::stod(s.fields[6]) - std::stod(s.fields[4]) * 1.852) <= 0.06;
    if (!agrees) d.problems.push_back("VTG disagrees with RMC");
}

// The comma counts the program's reader dispatches on; a GSV message carries
// three fields and four per satellite.
bool commaCountFits(const Sentence& s) {
    const size_t commas = s.fields.size();
    if (s.address == "$GPGGA") return commas == 14;
    if (s.address == "$GPRMC") return commas == 11 || commas == 12;
    if (s.address == "$GPVTG") return commas == 8 || commas == 9;
    if (s.address == "$GPGSA") return commas == 17;
    if (s.address == "$GPGSV") return commas >= 7 && (commas - 3) % 4 == 0 && commas <= 19;
    return false;
}

// One cycle, in the order GGA, GSA, GSV..., RMC, VTG.
Decoded decodeCycle(const std::string& text) {
    Decoded d;
    std::string problem;
    const std::vector<std::string> lines = crlfLines(text, problem);
    if (!problem.empty()) d.problems.push_back(problem);
    std::string order;
    int gsvMessage = 0, gsvTotal = 0;
    for (const std::string& line : lines) {
        const std::optional<Sentence> s = readSentence(line, problem);
        if (!s) {
            d.problems.push_back(problem + ": " + line);
            continue;
        }
        if (!commaCountFits(*s)) {
            d.problems.push_back("comma count: " + line);
            continue;
        }
        order += s->address.substr(3) + " ";
        if (s->address == "$GPGGA") decodeGga(*s, d);
        if (s->address == "$GPRMC") decodeRmc(*s, d);
        if (s->address == "$GPVTG") checkVtg(*s, d);
        if (s->address == "$GPGSV") decodeGsv(*s, d, ++gsvMessage, gsvTotal);
        if (s->address == "$GPGSA")
            for (size_t i = 2; i < 14; ++i)
                if (!s->fields[i].empty()) d.used.push_back(std::stoi(s->fields[i]));
    }
    std::string expectedOrder = "GGA GSA ";
    for (int k = 0; k < gsvTotal; ++k) expectedOrder += "GSV ";
    expectedOrder += "RMC VTG ";
    if (order != expectedOrder) d.problems.push_back("sentence order " + order);
    if (gsvMessage != gsvTotal) d.problems.push_back("GSV group incomplete");
    return d;
}

std::vector<ReceiverCycle> run(const SimulationOptions& options) {
    std::vector<ReceiverCycle> cycles;
    NmeaSimulator simulator(options);
    while (auto cycle = simulator.next()) cycles.push_back(std::move(*cycle));
    return cycles;
}

std::vector<Decoded> decodeAll(const std::vector<ReceiverCycle>& cycles) {
    std::vector<Decoded> decoded;
    for (const ReceiverCycle& cycle : cycles) decoded.push_back(decodeCycle(cycle.sentences));
    return decoded;
}

// The demo walk, decoded once for the tests that look at its shape.
const std::vector<Decoded>& demo() {
    static const std::vector<Decoded> decoded = decodeAll(run(SimulationOptions{}));
    return decoded;
}

double metresBetween(const Decoded& a, const Decoded& b) {
    constexpr double kMetresPerDegree = 6371000.0 * std::numbers::pi / 180.0;
    const double north = (b.latitude - a.latitude) * kMetresPerDegree;
    const double east = (b.longitude - a.longitude) * kMetresPerDegree *
                        std::cos(a.latitude * std::numbers::pi / 180.0);
    return std::hypot(north, east);
}

// The longest run of cycles meeting `test`: first index and length.
template <typename Test>
std::pair<size_t, size_t> longestRun(const std::vector<Decoded>& cycles, Test test) {
    std::pair<size_t, size_t> best{0, 0};
    size_t start = 0;
    for (size_t i = 0; i <= cycles.size(); ++i) {
        if (i < cycles.size() && test(cycles[i])) continue;
        if (i - start > best.second) best = {start, i - start};
        start = i + 1;
    }
    return best;
}

double meanAltitude(const std::vector<Decoded>& cycles, size_t from, size_t count) {
    double sum = 0;
    for (size_t i = from; i < from + count; ++i) sum += cycles[i].altitude;
    return sum / static_cast<double>(count);
}

// ---- the sentences ---------------------------------------------------------------

TEST(NmeaSimulator, EverySentenceIsFramedCheckedAndCountedAsTheReaderExpects) {
    SimulationOptions otherSeed;
    otherSeed.seed = 77;
    otherSeed.seconds = 900;
    for (const auto& cycles : {demo(), decodeAll(run(otherSeed))}) {
        size_t faulty = 0;
        for (size_t i = 0; i < cycles.size() && faulty < 5; ++i) {
            if (cycles[i].problems.empty()) continue;
            ++faulty;
            ADD_FAILURE() << "cycle " << i << ": " << cycles[i].problems.front();
        }
    }
}

TEST(NmeaSimulator, SkySentencesAgreeWithEachOther) {
    for (size_t i = 0; i < demo().size(); ++i) {
        const Decoded& d = demo()[i];
        SCOPED_TRACE("cycle " + std::to_string(i));
        ASSERT_EQ(static_cast<size_t>(d.skyCount), d.sky.size());
        ASSERT_GE(d.sky.size(), 8u);
        ASSERT_LE(d.sky.size(), 12u);
        for (const auto& [prn, entry] : d.sky) {
            ASSERT_TRUE(prn >= 1 && prn <= 32) << prn;
            ASSERT_TRUE(entry.elevation >= 0 && entry.elevation <= 90) << prn;
            ASSERT_TRUE(entry.azimuth >= 0 && entry.azimuth < 360) << prn;
            ASSERT_TRUE(entry.snr == 0 || (entry.snr >= 20 && entry.snr <= 50)) << prn;
        }
        ASSERT_EQ(static_cast<size_t>(d.ggaUsed), d.used.size());
        ASSERT_LE(d.used.size(), 12u);
        for (int prn : d.used) {
            ASSERT_TRUE(d.sky.count(prn)) << "used PRN " << prn << " not in view";
            ASSERT_GT(d.sky.at(prn).snr, 0) << "used PRN " << prn << " not tracked";
        }
        ASSERT_TRUE(d.quality == 0 ? d.used.empty() : d.used.size() >= 4) << d.used.size();
    }
}

TEST(NmeaSimulator, TimeAndDateAdvanceOneSecondPerCycleAcrossMidnight) {
    SimulationOptions options;
    options.start = std::chrono::sys_days{std::chrono::year{2024} / 12 / 31} +
                    std::chrono::hours{23} + std::chrono::minutes{59} + std::chrono::seconds{58};
    options.seconds = 4;
    const std::vector<ReceiverCycle> cycles = run(options);
    const char* times[] = {"235958.000", "235959.000", "000000.000", "000001.000"};
    const char* dates[] = {"311224", "311224", "010125", "010125"};
    ASSERT_EQ(cycles.size(), 4u);
    for (size_t i = 0; i < cycles.size(); ++i) {
        const Decoded d = decodeCycle(cycles[i].sentences);
        EXPECT_EQ(d.time, times[i]);
        EXPECT_EQ(d.date, dates[i]);
        EXPECT_EQ(cycles[i].utc, options.start + std::chrono::seconds(static_cast<int>(i)));
    }
}

TEST(NmeaSimulator, WritesSouthAndWestAndCrossesTheDateLine) {
    SimulationOptions options;
    options.latitude = -33.68;
    options.longitude = 179.995;
    options.altitude = 20.0;
    options.seconds = 240;
    options.profile.legs = {{240, 25.0, 90.0, 0.0, true}};  // east by bike
    const std::vector<Decoded> cycles = decodeAll(run(options));
    ASSERT_EQ(cycles.size(), 240u);
    bool east = false, west = false;
    for (const Decoded& d : cycles) {
        ASSERT_TRUE(d.problems.empty()) << d.problems.front();
        ASSERT_NEAR(d.latitude, -33.68, 0.01);
        ASSERT_GT(std::abs(d.longitude), 179.9);
        ASSERT_LE(std::abs(d.longitude), 180.0);
        east |= d.longitude > 0;
        west |= d.longitude < 0;
    }
    EXPECT_TRUE(east && west);
    EXPECT_GT(cycles.back().speedKmh, 20.0);
}

// ---- determinism -----------------------------------------------------------------

TEST(NmeaSimulator, OneSeedGivesOneLogAndShortRunsArePrefixes) {
    SimulationOptions options;
    options.seconds = 600;
    const std::string log = sim::simulateLog(options);
    EXPECT_EQ(sim::simulateLog(options), log);
    EXPECT_EQ(sim::simulateLog(SimulationOptions{}).substr(0, log.size()), log);
    options.seed = 2;
    EXPECT_NE(sim::simulateLog(options), log);
}

TEST(NmeaSimulator, UnusableOptionsGiveNoCycles) {
    struct Case {
        const char* legend;
        void (*spoil)(SimulationOptions&);
    };
    const Case cases[] = {
        {"no seconds", [](SimulationOptions& o) { o.seconds = 0; }},
        {"more than a day", [](SimulationOptions& o) { o.seconds = sim::kMaxSeconds + 1; }},
        {"before 2000", [](SimulationOptions& o) { o.start = sim::UtcSeconds{}; }},
        {"runs into 2100",
         [](SimulationOptions& o) {
             o.start = std::chrono::sys_days{std::chrono::year{2099} / 12 / 31} +
                       std::chrono::hours{23} + std::chrono::minutes{30};
         }},
        {"near the pole", [](SimulationOptions& o) { o.latitude = 85.0; }},
        {"latitude not a number", [](SimulationOptions& o) { o.latitude = std::nan(""); }},
        {"geoid not a number", [](SimulationOptions& o) { o.geoidSeparation = std::nan(""); }},
        {"no legs", [](SimulationOptions& o) { o.profile.legs.clear(); }},
        {"empty leg", [](SimulationOptions& o) { o.profile.legs[1].seconds = 0; }},
        {"backwards pace", [](SimulationOptions& o) { o.profile.legs[0].speedKmh = -1.0; }},
        {"cliff for a path", [](SimulationOptions& o) { o.profile.legs[0].grade = 3.0; }},
    };
    for (const Case& c : cases) {
        SimulationOptions options;
        c.spoil(options);
        EXPECT_FALSE(sim::checkOptions(options).empty()) << c.legend;
        EXPECT_FALSE(NmeaSimulator(options).next().has_value()) << c.legend;
    }
    EXPECT_EQ(sim::checkOptions(SimulationOptions{}), "");
}

// ---- the demo walk ---------------------------------------------------------------

TEST(NmeaSimulator, DemoStartsAboveLakeThunAndLastsAnHour) {
    ASSERT_EQ(demo().size(), 3600u);
    EXPECT_EQ(demo().front().time, "080000.000");
    EXPECT_EQ(demo().front().date, "150624");
    EXPECT_EQ(demo().back().time, "085959.000");
    for (const Decoded& d : demo()) {
        if (!d.hasPosition) continue;
        // Well inside the area the Swiss grid covers.
        ASSERT_NEAR(d.latitude, 46.70, 0.1);
        ASSERT_NEAR(d.longitude, 7.78, 0.15);
        ASSERT_NEAR(d.altitude, 1300.0, 300.0);
        ASSERT_EQ(d.geoid, 48.7);
    }
}

TEST(NmeaSimulator, DemoWalksAtWalkingPaceInTheDirectionItReports) {
    std::vector<double> speeds;
    size_t windows = 0, agreeing = 0;
    constexpr size_t kWindow = 20;
    for (size_t i = 0; i + kWindow < demo().size(); i += kWindow) {
        const Decoded &a = demo()[i], &b = demo()[i + kWindow];
        double pathSpeed = 0, east = 0, north = 0;
        bool moving = a.hasPosition && b.hasPosition;
        for (size_t j = i + 1; j <= i + kWindow && moving; ++j) {
            const Decoded& d = demo()[j];
            moving = d.hasPosition && d.speedKmh > 3.0 && d.course.has_value();
            if (!moving) break;
            pathSpeed += d.speedKmh / kWindow;
            east += std::sin(*d.course * std::numbers::pi / 180.0);
            north += std::cos(*d.course * std::numbers::pi / 180.0);
        }
        if (!moving) continue;
        speeds.push_back(pathSpeed);
        // Over 20 s the straight line is a little shorter than the path walked.
        const double lineSpeed = metresBetween(a, b) / kWindow * 3.6;
        EXPECT_LT(lineSpeed, pathSpeed * 1.25) << "at cycle " << i;
        EXPECT_GT(lineSpeed, pathSpeed * 0.5) << "at cycle " << i;
        const double course = std::atan2(east, north) * 180.0 / std::numbers::pi;
        const double bearing = std::atan2((b.longitude - a.longitude) *
                                              std::cos(a.latitude * std::numbers::pi / 180.0),
                                          b.latitude - a.latitude) *
                               180.0 / std::numbers::pi;
        ++windows;
        if (std::abs(std::remainder(course - bearing, 360.0)) < 30.0) ++agreeing;
    }
    ASSERT_GT(speeds.size(), 100u);
    std::sort(speeds.begin(), speeds.end());
    const double median = speeds[speeds.size() / 2];
    EXPECT_GE(median, 4.5);
    EXPECT_LE(median, 5.5);
    EXPECT_GT(agreeing, windows * 9 / 10) << agreeing << " of " << windows;
}

TEST(NmeaSimulator, DemoStopsForAFewMinutesOnTheSpot) {
    const auto [start, length] =
        longestRun(demo(), [](const Decoded& d) { return d.hasPosition && d.speedKmh < 1.0; });
    EXPECT_GE(length, 180u);
    EXPECT_LE(length, 420u);
    double latitude = 0, longitude = 0;
    for (size_t i = start; i < start + length; ++i) {
        latitude += demo()[i].latitude / static_cast<double>(length);
        longitude += demo()[i].longitude / static_cast<double>(length);
    }
    Decoded spot;
    spot.latitude = latitude;
    spot.longitude = longitude;
    for (size_t i = start; i < start + length; ++i) {
        EXPECT_LT(metresBetween(spot, demo()[i]), 10.0) << "cycle " << i << " wanders off";
        EXPECT_FALSE(demo()[i].course.has_value())
            << "cycle " << i << " has a course standing still";
    }
    // The receiver still jitters: a stop is not one position repeated.
    std::set<std::pair<double, double>> positions;
    for (size_t i = start; i < start + length; ++i)
        positions.insert({demo()[i].latitude, demo()[i].longitude});
    EXPECT_GT(positions.size(), length / 4);
}

TEST(NmeaSimulator, DemoClimbsAFewHundredMetres) {
    // Minute means, so that the receiver's altitude noise does not count as climbing.
    std::vector<double> minutes;
    for (size_t i = 0; i + 60 <= demo().size(); i += 60) {
        const bool fixed = std::all_of(demo().begin() + static_cast<long>(i),
                                       demo().begin() + static_cast<long>(i + 60),
                                       [](const Decoded& d) { return d.hasPosition; });
        if (fixed) minutes.push_back(meanAltitude(demo(), i, 60));
    }
    ASSERT_GT(minutes.size(), 50u);
    double lowest = minutes.front(), bestClimb = 0;
    for (double altitude : minutes) {
        lowest = std::min(lowest, altitude);
        bestClimb = std::max(bestClimb, altitude - lowest);
    }
    EXPECT_GE(bestClimb, 250.0);
    EXPECT_LE(bestClimb, 600.0);
}

TEST(NmeaSimulator, DemoLosesTheFixOnceForOneToTwoMinutesButKeepsTalking) {
    const auto [start, length] =
        longestRun(demo(), [](const Decoded& d) { return d.quality == 0; });
    EXPECT_GE(length, 60u);
    EXPECT_LE(length, 150u);
    for (size_t i = 0; i < demo().size(); ++i) {
        const Decoded& d = demo()[i];
        const bool inGap = i >= start && i < start + length;
        SCOPED_TRACE("cycle " + std::to_string(i));
        ASSERT_EQ(d.quality, inGap ? 0 : 1);
        ASSERT_EQ(d.rmcStatus, inGap ? "V" : "A");
        ASSERT_EQ(d.hasPosition, !inGap);
        if (inGap) {
            ASSERT_TRUE(d.used.empty());
            ASSERT_FALSE(d.sky.empty()) << "the sky is still reported";
        }
    }
    // After the gap the walker is elsewhere: the receiver was carried on.
    EXPECT_GT(metresBetween(demo()[start - 1], demo()[start + length]), 0.5 * length);
}

// ---- the sky ---------------------------------------------------------------------

TEST(NmeaSimulator, SatellitesRiseAndSetSlowlyOverTheHour) {
    const auto& first = demo().front().sky;
    const auto& last = demo().back().sky;
    int rose = 0, set = 0;
    for (const auto& [prn, entry] : last) rose += first.count(prn) == 0;
    for (const auto& [prn, entry] : first) set += last.count(prn) == 0;
    EXPECT_GE(rose, 1);
    EXPECT_GE(set, 1);
    for (size_t i = 1; i < demo().size(); ++i) {
        for (const auto& [prn, now] : demo()[i].sky) {
            const auto before = demo()[i - 1].sky.find(prn);
            if (before == demo()[i - 1].sky.end()) {
                ASSERT_LE(now.elevation, 6) << "PRN " << prn << " appears high in the sky";
                continue;
            }
            ASSERT_LE(std::abs(now.elevation - before->second.elevation), 1) << "PRN " << prn;
            // Near the zenith the azimuth may swing fast; elsewhere it creeps.
            const double turn = std::remainder(now.azimuth - before->second.azimuth, 360.0);
            ASSERT_TRUE(now.elevation >= 80 || std::abs(turn) <= 2.0) << "PRN " << prn;
        }
    }
}

TEST(NmeaSimulator, SignalGrowsWithElevation) {
    double lowSum = 0, highSum = 0;
    int low = 0, high = 0;
    for (const Decoded& d : demo()) {
        if (d.quality == 0) continue;
        for (const auto& [prn, entry] : d.sky) {
            if (entry.snr == 0) continue;
            if (entry.elevation < 20) lowSum += entry.snr, ++low;
            if (entry.elevation >= 50) highSum += entry.snr, ++high;
        }
    }
    ASSERT_GT(low, 0);
    ASSERT_GT(high, 0);
    EXPECT_GT(highSum / high - lowSum / low, 6.0);
}

// ---- the program's own reader ---------------------------------------------------

// Fed one cycle per chunk, as the reader thread would, the program's parser must take
// every sentence and come to the values our own reader found.
TEST(NmeaSimulator, ProgramsParserTakesEveryCycleOfTheDemo) {
    FakeClock clock;
    platform::ScopedClock useClock{clock};
    NmeaParser parser;
    const std::vector<ReceiverCycle> cycles = run(SimulationOptions{});
    for (size_t i = 0; i < cycles.size(); ++i) {
        SCOPED_TRACE("cycle " + std::to_string(i));
        const Decoded& d = demo()[i];
        const int counted = parser.sentenceCount();
        clock.advanceMilliseconds(1000);
        parser.parse(cycles[i].sentences);
        const auto lines = std::count(cycles[i].sentences.begin(), cycles[i].sentences.end(), '\n');
        ASSERT_EQ(parser.sentenceCount() - counted, lines);
        ASSERT_EQ(parser.receiverTime(), d.time);
        ASSERT_EQ(parser.receiverDate(), d.date);
        ASSERT_TRUE(parser.flags() & ParserFlags::kSkyComplete);
        ASSERT_EQ(parser.satellitesInView(), d.skyCount);
        ASSERT_EQ((parser.flags() & ParserFlags::kFixValid) != 0, d.hasPosition);
        if (!d.hasPosition) continue;
        ASSERT_NEAR(parser.fix().latitude, d.latitude, 1e-9);
        ASSERT_NEAR(parser.fix().longitude, d.longitude, 1e-9);
        ASSERT_NEAR(parser.fix().altitude, d.altitude, 0.01);  // the geoid correction follows GGA
        ASSERT_NEAR(parser.fix().speed, d.speedKmh, 0.01);
        if (d.course) {
            ASSERT_EQ(parser.fix().course, std::lround(*d.course));  // 359.6 gives 360
        }
    }
    EXPECT_FLOAT_EQ(parser.correction(), 48.7f);
}

// ---- the shipped demo log and the command line -----------------------------------

TEST(NmeaSimulator, ShippedDemoLogIsTheDefaultRun) {
    const std::string shipped =
        readFile(std::filesystem::path(WENDRA_SOURCE_DIR) / "data" / "demo.nmea");
    const std::string fresh = sim::simulateLog(SimulationOptions{});
    if (shipped == fresh) return;
    const auto [at, ignored] =
        std::mismatch(shipped.begin(), shipped.end(), fresh.begin(), fresh.end());
    const auto line = std::count(shipped.begin(), at, '\n') + 1;
    FAIL() << "data/demo.nmea differs from `wendra-tool simulate` from line " << line
           << "; regenerate it as data/README.md says";
}

TEST(SimulateVerb, WritesTheSimulatorsLogToStdoutOrAFile) {
    SimulationOptions options;
    options.seconds = 30;
    options.seed = 9;
    options.start = std::chrono::sys_days{std::chrono::year{2031} / 2 / 28} +
                    std::chrono::hours{23} + std::chrono::minutes{59} + std::chrono::seconds{50};
    const std::vector<std::string> args{"simulate", "--seconds",           "30", "--seed", "9",
                                        "--start",  "2031-02-28T23:59:50Z"};
    const ToolResult out = runTool(args);
    EXPECT_EQ(out.status, 0) << out.err;
    EXPECT_EQ(out.out, sim::simulateLog(options));

    TempDir dir;
    std::vector<std::string> toFile = args;
    toFile.insert(toFile.end(), {"--out", (dir / "walk.nmea").string()});
    const ToolResult written = runTool(toFile);
    EXPECT_EQ(written.status, 0) << written.err;
    EXPECT_EQ(written.out, "");
    EXPECT_EQ(readFile(dir / "walk.nmea"), out.out);
}

TEST(SimulateVerb, BadOptionsFailWithOneLineAndWriteNothing) {
    TempDir dir;
    const std::string kept = (dir / "kept.nmea").string();
    writeFile(kept, "previous log\n");
    struct Case {
        const char* legend;
        std::vector<std::string> args;
    };
    const Case cases[] = {
        {"no seconds", {"--seconds", "0"}},
        {"over a day", {"--seconds", "86401"}},
        {"seconds not a number", {"--seconds", "1h"}},
        {"negative seed", {"--seed", "-3"}},
        {"no such day", {"--start", "2023-02-29T10:00:00Z"}},
        {"no time zone", {"--start", "2024-06-15T08:00:00"}},
        {"before 2000", {"--start", "1999-12-31T23:59:59Z"}},
        {"runs into 2100", {"--start", "2099-12-31T23:59:00Z", "--seconds", "120"}},
        {"unknown option", {"--speed", "5"}},
        {"option without value", {"--out"}},
        {"folder missing", {"--out", (dir / "missing" / "x.nmea").string()}},
        {"bad option after a good --out", {"--out", kept, "--seconds", "-1"}},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args{"simulate"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const ToolResult result = runTool(args);
        EXPECT_EQ(result.status, 1) << c.legend;
        EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1)
            << c.legend << ": " << result.err;
        EXPECT_EQ(result.out, "") << c.legend;
    }
    EXPECT_EQ(readFile(kept), "previous log\n");
}

}  // namespace
}  // namespace wendra::test
