// The parser against an independent decoder: real receiver logs, each with the
// position reports gpsd made from it. Every report that a $GPGGA or $GPRMC sentence
// triggered must be the position this parser holds after that same sentence.

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "gps/NmeaParser.h"
#include "support/FakeClock.h"
#include "support/TestPaths.h"

namespace wendra::test {
namespace {

constexpr double kDegreeTolerance = 1e-8;
constexpr double kMetreTolerance = 1e-3;
constexpr double kKmhTolerance = 0.01;
constexpr double kKmhPerMetrePerSecond = 3.6;

// Where gpsd reports no position although the sentence carries usable coordinates:
// the receiver marks them invalid (GGA quality 0, RMC status "V") and gpsd drops
// them, while this parser takes any usable latitude and longitude.
const std::set<std::string> kPositionsGpsdDrops = {
    "bn-9015.log",        // RMC "V" and GGA quality 0 with a stale position
    "blumax-gps009.log",  // GGA quality 0 while the fix is being lost
    "rgm3800.log",        // 0000.0000 / 00000.0000 before the first fix
    "sl869.log",          // RMC "V" with the last known position
    "tn200-all.log",      // RMC "V" with the placeholder 36000.0000 / 72000.0000
};

// Where the GGA carries no geoid separation: gpsd fills it from its own geoid
// model, while here the automatic correction switches itself off and the altitude
// becomes the field minus the correction in force.
const std::set<std::string> kGeoidFromGpsdModel = {
    "telit-he910.log",
};

// Not compared, all gpsd's own doing: reports triggered by other sentences, among
// them the Garmin $PGRMZ altitude (garmin48.log, foretrex-201.log: feet, not the GGA
// altitude), $GPGLL and $GPZDA cycle ends, and the merged GN/GL/GA/BD talkers.

struct Report {
    std::string trigger;
    std::string timeOfDay;  // hh:mm:ss, or empty
    bool hasPosition = false;
    double latitude = 0.0;
    double longitude = 0.0;
    std::string altMsl;
    std::string speed;  // m/s
    std::string track;
};

std::vector<std::string> split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::stringstream in(text);
    std::string part;
    while (std::getline(in, part, separator)) parts.push_back(part);
    if (!text.empty() && text.back() == separator) parts.emplace_back();
    return parts;
}

std::map<int, Report> readReports(const std::string& log) {
    std::map<int, Report> reports;
    const auto lines = split(readFile(sharedData() / "nmea" / (log + ".tpv.tsv")), '\n');
    for (size_t i = 1; i < lines.size(); ++i) {
        const auto f = split(lines[i], '\t');
        if (f.size() < 13) continue;
        Report r;
        r.trigger = f[1];
        if (f[4].size() >= 19) r.timeOfDay = f[4].substr(11, 8);
        r.hasPosition = !f[5].empty() && !f[6].empty();
        if (r.hasPosition) {
            r.latitude = std::stod(f[5]);
            r.longitude = std::stod(f[6]);
        }
        r.altMsl = f[7];
        r.speed = f[11];
        r.track = f[12];
        reports[std::stoi(f[0])] = r;
    }
    return reports;
}

bool goodChecksum(std::string_view sentence) {
    const size_t star = sentence.rfind('*');
    if (star == std::string_view::npos || star + 3 > sentence.size()) return false;
    unsigned sum = 0;
    for (size_t i = 1; i < star; ++i) sum ^= static_cast<unsigned char>(sentence[i]);
    unsigned sent = 0;
    std::istringstream hex(std::string(sentence.substr(star + 1, 2)));
    return static_cast<bool>(hex >> std::hex >> sent) && sent == sum;
}

// gpsd numbers the packets its lexer accepts. Worked out from the logs: a sentence
// starts at the last "$" of its line (so "$$GNGSA" and stray leading bytes count
// once) or, for AIS, at "!"; it must end in a good checksum (the checksum-less
// Telit banner "$GPTXT,TELIT SW ..." is not counted, nor a truncated "*7"); and the
// RoyalTek logger record "$LOG108,..." is no NMEA talker to it. Comment lines are the
// capture's notes, not input.
std::string_view gpsdSentence(std::string_view line) {
    size_t start = line.rfind('$');
    if (start == std::string_view::npos) start = line.find('!');
    if (start == std::string_view::npos) return {};
    std::string_view sentence = line.substr(start);
    while (!sentence.empty() && (sentence.back() == '\r' || sentence.back() == '\n'))
        sentence.remove_suffix(1);
    if (!goodChecksum(sentence) || sentence.substr(0, 4) == "$LOG") return {};
    return sentence;
}

struct Capture {
    std::vector<std::string> lines;  // without comments, each with its newline
    char delayCookie = 0;            // splits a line into separate writes
};

Capture readCapture(const std::string& log) {
    Capture capture;
    for (const std::string& line : split(readFile(sharedData() / "nmea" / log), '\n')) {
        const std::string cookie = "# Delay-Cookie: ";
        if (line.rfind(cookie, 0) == 0 && line.size() > cookie.size())
            capture.delayCookie = line[cookie.size()];
        if (line.empty() || line[0] == '#') continue;
        capture.lines.push_back(line + "\n");
    }
    return capture;
}

// The line as the receiver's writes delivered it: gpsd's test harness sends the
// pieces between delay cookies separately and drops the cookies.
void feedLine(NmeaParser& parser, const std::string& line, char cookie) {
    if (!cookie) return parser.parse(line);
    for (const std::string& piece : split(line, cookie)) parser.parse(piece);
}

std::string stripCookies(std::string line, char cookie) {
    if (cookie) std::erase(line, cookie);
    return line;
}

std::string receiverTimeOfDay(std::string_view hhmmss) {
    if (hhmmss.size() < 6) return {};
    return std::string(hhmmss.substr(0, 2)) + ":" + std::string(hhmmss.substr(2, 2)) + ":" +
           std::string(hhmmss.substr(4, 2));
}

std::vector<std::string> field(std::string_view sentence) {
    return split(std::string(sentence.substr(0, sentence.rfind('*'))), ',');
}

struct Tally {
    int positions = 0;
    int dropped = 0;
    int altitudes = 0;
    int modelGeoid = 0;
};

void checkReport(const std::string& log, int index, const Report& report, std::string_view sentence,
                 const NmeaParser& parser, Tally& tally) {
    SCOPED_TRACE(log + " sentence " + std::to_string(index) + ": " + std::string(sentence));
    const bool valid = parser.flags() & ParserFlags::kFixValid;
    if (!report.hasPosition) {
        if (valid) {
            EXPECT_TRUE(kPositionsGpsdDrops.count(log)) << "a position gpsd did not report";
            ++tally.dropped;
        }
        return;
    }
    ++tally.positions;
    ASSERT_TRUE(valid);
    EXPECT_NEAR(parser.fix().latitude, report.latitude, kDegreeTolerance);
    EXPECT_NEAR(parser.fix().longitude, report.longitude, kDegreeTolerance);
    // The same sentence alone: the position must come from it, not from one before.
    NmeaParser alone;
    alone.parse(std::string(sentence) + "\r\n");
    EXPECT_TRUE(alone.flags() & ParserFlags::kFixValid);
    EXPECT_NEAR(alone.fix().latitude, report.latitude, kDegreeTolerance);
    EXPECT_NEAR(alone.fix().longitude, report.longitude, kDegreeTolerance);
    if (!report.timeOfDay.empty()) {
        EXPECT_EQ(receiverTimeOfDay(parser.receiverTime()), report.timeOfDay);
    }

    const auto f = field(sentence);
    if (report.trigger == "$GPGGA" && !f[9].empty() && !report.altMsl.empty()) {
        ++tally.altitudes;
        if (!f[11].empty()) {
            EXPECT_NEAR(parser.fix().altitude, std::stod(report.altMsl), kMetreTolerance);
        } else {
            ++tally.modelGeoid;
            EXPECT_TRUE(kGeoidFromGpsdModel.count(log)) << "a GGA without geoid separation";
            EXPECT_NEAR(parser.fix().altitude, std::stod(f[9]) - parser.correction(),
                        kMetreTolerance);
        }
    }
    if (report.trigger == "$GPRMC" && !f[7].empty() && !report.speed.empty()) {
        EXPECT_NEAR(parser.fix().speed, std::stod(report.speed) * kKmhPerMetrePerSecond,
                    kKmhTolerance);
    }
    if (report.trigger == "$GPRMC" && !f[8].empty() && !report.track.empty()) {
        EXPECT_EQ(parser.fix().course, static_cast<int>(std::lround(std::stod(report.track))));
    }
}

Tally replay(const std::string& log) {
    const std::map<int, Report> reports = readReports(log);
    const Capture capture = readCapture(log);
    FakeClock clock;
    platform::ScopedClock useClock(clock);
    NmeaParser parser;
    Tally tally;
    int index = 0;
    for (const std::string& line : capture.lines) {
        feedLine(parser, line, capture.delayCookie);
        const std::string whole = stripCookies(line, capture.delayCookie);
        const std::string_view sentence = gpsdSentence(whole);
        if (sentence.empty()) continue;
        ++index;
        const auto report = reports.find(index);
        if (report == reports.end()) continue;
        const std::string& trigger = report->second.trigger;
        if (trigger != "$GPGGA" && trigger != "$GPRMC") continue;
        EXPECT_EQ(sentence.substr(0, trigger.size()), trigger)
            << log << " sentence " << index << " is not the one gpsd numbered";
        checkReport(log, index, report->second, sentence, parser, tally);
    }
    return tally;
}

struct IndexEntry {
    std::string file;
    std::string kind;
};

std::vector<IndexEntry> readIndex() {
    std::vector<IndexEntry> entries;
    const auto lines = split(readFile(sharedData() / "nmea" / "INDEX.tsv"), '\n');
    for (size_t i = 1; i < lines.size(); ++i) {
        const auto f = split(lines[i], '\t');
        if (f.size() >= 6) entries.push_back({f[0], f[5]});
    }
    return entries;
}

bool hasReports(const std::string& log) {
    return std::filesystem::exists(sharedData() / "nmea" / (log + ".tpv.tsv"));
}

TEST(ReceiverLogs, PositionsMatchGpsdSentenceBySentence) {
    Tally total;
    std::set<std::string> dropping, modelGeoid;
    for (const IndexEntry& entry : readIndex()) {
        if (entry.kind != "yes" || !hasReports(entry.file)) continue;
        const Tally tally = replay(entry.file);
        total.positions += tally.positions;
        total.altitudes += tally.altitudes;
        if (tally.dropped) dropping.insert(entry.file);
        if (tally.modelGeoid) modelGeoid.insert(entry.file);
    }
    // The named exceptions must each still be needed, or they hide nothing.
    EXPECT_EQ(dropping, kPositionsGpsdDrops);
    EXPECT_EQ(modelGeoid, kGeoidFromGpsdModel);
    EXPECT_GT(total.positions, 400);
    EXPECT_GT(total.altitudes, 100);
}

TEST(ReceiverLogs, LogsWithoutGpsTalkerGiveNoFix) {
    int logs = 0;
    for (const IndexEntry& entry : readIndex()) {
        if (entry.kind == "yes" || entry.kind == "mixed-yes") continue;
        SCOPED_TRACE(entry.file + " (" + entry.kind + ")");
        ++logs;
        const std::string bytes = readFile(sharedData() / "nmea" / entry.file);
        NmeaParser byLine, whole;
        int32_t seen = 0;
        for (const std::string& line : split(bytes, '\n')) {
            byLine.parse(line + "\n");
            seen |= byLine.flags();
        }
        whole.parse(bytes);
        seen |= whole.flags();
        EXPECT_EQ(seen & (ParserFlags::kFixValid | ParserFlags::kNewFix), 0);
        EXPECT_EQ(byLine.fix().latitude, 0.0);
        EXPECT_EQ(whole.fix().longitude, 0.0);
    }
    EXPECT_GE(logs, 12);
}

}  // namespace
}  // namespace wendra::test
