// The receiver's bytes arrive in arbitrary pieces: framing must give the same result
// however the stream is cut, hold no more than its buffer, and resynchronise on noise.

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "gps/NmeaFramer.h"
#include "gps/NmeaParser.h"
#include "gps/NmeaTestSentences.h"
#include "support/FakeClock.h"
#include "support/TestPaths.h"

namespace wendra::test {
namespace {

const std::string kGga = nmea("GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,");
const std::string kRmc = nmea("GPRMC,123520,A,4807.040,N,01131.010,E,022.4,084.4,230394,,");

// Everything the parser can see, except the bits that describe one call.
struct Snapshot {
    Fix fix;
    int32_t flags = 0;
    float correction = 0.0f;
    NmeaParser::Satellites satellites{};
    NmeaParser::UsedSatellites used{};
    int32_t inView = 0;
    float dilution = 0.0f;
    int32_t sentences = 0;
    int32_t baud = 0;
    std::string time;
    std::string date;

    bool operator==(const Snapshot&) const = default;
};

Snapshot snapshot(const NmeaParser& p) {
    return {p.fix(),
            p.flags() & ~(ParserFlags::kChanged | ParserFlags::kGap),
            p.correction(),
            p.satellites(),
            p.usedSatellites(),
            p.satellitesInView(),
            p.dilution(),
            p.sentenceCount(),
            p.reportedBaudRate(),
            std::string(p.receiverTime()),
            std::string(p.receiverDate())};
}

struct Replay {
    Snapshot end;
    std::vector<Fix> handedOver;  // the fix after each call that brought a new one
};

// Feeds the pieces, taking each new fix the way the reader thread does.
Replay feed(const std::vector<std::string_view>& pieces) {
    FakeClock clock;
    platform::ScopedClock useClock(clock);
    NmeaParser parser;
    Replay run;
    for (std::string_view piece : pieces) {
        parser.parse(piece);
        if (parser.flags() & ParserFlags::kNewFix) {
            run.handedOver.push_back(parser.fix());
            parser.setFlags(parser.flags() & ~ParserFlags::kNewFix);
        }
    }
    run.end = snapshot(parser);
    return run;
}

std::vector<std::string_view> lines(std::string_view bytes) {
    std::vector<std::string_view> out;
    while (!bytes.empty()) {
        const size_t end = std::min(bytes.find('\n'), bytes.size() - 1) + 1;
        out.push_back(bytes.substr(0, end));
        bytes.remove_prefix(end);
    }
    return out;
}

std::vector<std::string_view> chunks(std::string_view bytes, size_t size) {
    std::vector<std::string_view> out;
    for (size_t at = 0; at < bytes.size(); at += size) out.push_back(bytes.substr(at, size));
    return out;
}

std::vector<std::string_view> randomCuts(std::string_view bytes, unsigned seed) {
    std::mt19937 random(seed);
    std::vector<std::string_view> out;
    while (!bytes.empty()) {
        const size_t size = std::min<size_t>(bytes.size(), random() % 300 + 1);
        out.push_back(bytes.substr(0, size));
        bytes.remove_prefix(size);
    }
    return out;
}

// Whether the positions of `part` appear in `whole` in order. A call that holds
// several sentences hands over fewer fixes, each with the later sentences of the
// call already applied (speed, signal), but never a position the sentence-by-sentence
// run did not hand over.
bool positionsAreSubsequence(const std::vector<Fix>& part, const std::vector<Fix>& whole) {
    size_t i = 0;
    for (const Fix& fix : whole) {
        if (i < part.size() && part[i].latitude == fix.latitude &&
            part[i].longitude == fix.longitude)
            ++i;
    }
    return i == part.size();
}

void expectSameInEveryChunking(const std::string& bytes, const std::string& name) {
    const Replay byLine = feed(lines(bytes));
    ASSERT_FALSE(byLine.handedOver.empty()) << name;
    const Replay byByte = feed(chunks(bytes, 1));
    EXPECT_EQ(byByte.handedOver, byLine.handedOver) << name;
    EXPECT_TRUE(byByte.end == byLine.end) << name;
    std::vector<std::pair<std::string, std::vector<std::string_view>>> cuttings = {
        {"whole", {bytes}}, {"8 KiB", chunks(bytes, 8192)}, {"8193", chunks(bytes, 8193)}};
    for (size_t size : {2, 3, 7, 64, 99, 100, 255, 4096})
        cuttings.push_back({std::to_string(size), chunks(bytes, size)});
    for (unsigned seed = 1; seed <= 8; ++seed)
        cuttings.push_back({"random " + std::to_string(seed), randomCuts(bytes, seed)});
    for (const auto& [legend, pieces] : cuttings) {
        const Replay run = feed(pieces);
        EXPECT_TRUE(run.end == byLine.end) << name << ", pieces: " << legend;
        EXPECT_TRUE(positionsAreSubsequence(run.handedOver, byLine.handedOver))
            << name << ", " << legend;
    }
}

// A stream with every kind of sentence and the noise receivers and ports add; no
// line reaches the garbage length and every sentence has a field.
std::string mixedStream() {
    std::string s;
    s += "\x01\x02 noise before the first sentence\r\n";
    s += kGga;
    s += "xx" + kRmc;  // stray bytes glued to a sentence
    s += nmea("GPGSA,A,3,05,07,,,,,,,,,,,2.5,1.3,2.1");
    s += nmea("GPGSV,2,1,05,05,40,083,38,07,17,308,40,09,07,344,30,12,,,");
    s += nmea("GPGSV,2,2,05,20,03,120,50,,,,,,,,");
    s += "$GPGGA,123521,4807.050,N,01131.020,E,1,08,0.9,546.0,M,46.9,M,,*00\r\n";  // bad sum
    s += nmea("GPVTG,054.7,T,034.4,M,005.5,N,010.2,K");
    s += "$GPGGA,123522,4807.0$GPGGA,123523,4807.060,N,01131.030,E,1,08,0.9,547.1,M,46.9,M,,*";
    s += "4C\r\n";  // a sentence cut short and another written over it
    s += nmea("PSRFTXT,Baud rate,4800");
    s += nmea("GNRMC,123524,A,4807.070,N,01131.040,E,1,1,230394,,");
    s += std::string("\0\0$GPZDA,201508.00,04,07,2002,00,00*6b\n", 39);
    s += "\r\n\n$\n*\n$*\n";
    s += "$NOPORT*18\r\n";
    s += nmea("GPRMC,123525,A,4807.080,N,01131.050,W,1.0,359.5,240394,,,A,V");
    s += nmea("GPGSV,1,1,02,11,50,100,45,05,20,200,35");
    s += nmea("GPGGA,123526,4807.090,S,01131.060,W,1,08,0.9,12.5,M,,M,,");
    return s;
}

TEST(NmeaChunking, MixedStreamGivesTheSameStateInEveryChunking) {
    expectSameInEveryChunking(mixedStream(), "mixed stream");
}

TEST(NmeaChunking, EveryCutOfTheMixedStreamInTwo) {
    const std::string bytes = mixedStream();
    const Replay reference = feed({bytes});
    for (size_t cut = 1; cut < bytes.size(); ++cut) {
        const std::string_view all(bytes);
        const Replay run = feed({all.substr(0, cut), all.substr(cut)});
        EXPECT_TRUE(run.end == reference.end) << "cut at " << cut;
    }
}

TEST(NmeaChunking, RealLogsGiveTheSameStateInEveryChunking) {
    // blumax-gps009.log is left out: its comma-less "$PSRFTXT..." banners hold up the
    // rest of a chunk by design, so how far a run gets depends on the cutting.
    for (const char* log : {"telit-he910.log", "garmin48.log", "tn200-all.log", "sl869.log",
                            "geos-1m.log", "nmea-fuzzy-cases.log", "quectel-L70.log"}) {
        expectSameInEveryChunking(readFile(sharedData() / "nmea" / log), log);
    }
}

TEST(NmeaFramer, DropsBytesBeforeDollar) {
    NmeaFramer framer;
    framer.append("junk" + nmea("AB,1"));
    EXPECT_EQ(framer.next().outcome, NmeaFramer::Outcome::Skip);
    const NmeaFramer::Frame frame = framer.next();
    EXPECT_EQ(frame.outcome, NmeaFramer::Outcome::Sentence);
    EXPECT_EQ(frame.payload, "$AB,1");
    EXPECT_EQ(frame.commas, 1);
    EXPECT_EQ(framer.next().outcome, NmeaFramer::Outcome::Stop);
}

TEST(NmeaFramer, WaitsForTheNewline) {
    FakeClock clock;
    platform::ScopedClock useClock(clock);
    NmeaParser parser;
    const std::string half = kRmc.substr(0, kRmc.size() - 1);
    parser.parse(kGga + half);
    EXPECT_EQ(parser.sentenceCount(), 1);
    parser.parse("\n");
    EXPECT_EQ(parser.sentenceCount(), 2);
    EXPECT_EQ(parser.receiverDate(), "230394");
}

TEST(NmeaFramer, LongGarbageIsDiscardedWithEverythingHeld) {
    FakeClock clock;
    platform::ScopedClock useClock(clock);
    NmeaParser parser;
    parser.parse(std::string(NmeaFramer::kGarbageLength, 'x') + "\r\n" + kGga);
    EXPECT_EQ(parser.sentenceCount(), 0);
    parser.parse(std::string(NmeaFramer::kGarbageLength - 1, 'x') + "\n" + kGga);
    EXPECT_EQ(parser.sentenceCount(), 1) << "98 bytes are only a line of noise";
    parser.parse("$GPGGA," + std::string(200, '1') + "\n" + kGga);
    EXPECT_EQ(parser.sentenceCount(), 1) << "an over-long sentence is garbage too";
    parser.parse(kGga);
    EXPECT_EQ(parser.sentenceCount(), 2);
}

TEST(NmeaFramer, SentenceWithoutFieldsHoldsUpTheRestOfTheChunk) {
    FakeClock clock;
    platform::ScopedClock useClock(clock);
    NmeaParser parser;
    parser.parse(nmea("PSRFTXTVersion GSW3") + kGga);
    EXPECT_EQ(parser.sentenceCount(), 0);
    parser.parse(kRmc);
    EXPECT_EQ(parser.sentenceCount(), 2);
}

TEST(NmeaFramer, HoldsNoMoreThanItsBuffer) {
    struct Case {
        const char* legend;
        char fill;
        std::string_view left;
    };
    const Case cases[] = {
        {"a full buffer without a line is garbage", 'x', ""},
        {"only the last of many starts is kept", '$', "$"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.legend);
        NmeaFramer framer;
        const std::string big(3 * NmeaFramer::kCapacity, c.fill);
        EXPECT_EQ(framer.append(big), NmeaFramer::kCapacity);
        EXPECT_EQ(framer.append("x"), 0u);
        while (framer.next().outcome != NmeaFramer::Outcome::Stop) {
        }
        EXPECT_EQ(framer.pending(), c.left);
    }
}

TEST(NmeaFramer, ChunksLargerThanTheBufferLoseNothing) {
    FakeClock clock;
    platform::ScopedClock useClock(clock);
    std::string stream;
    int sentences = 0;
    while (stream.size() < 5 * NmeaFramer::kCapacity + 17) {
        stream += sentences % 2 ? kGga : kRmc;
        ++sentences;
    }
    for (size_t size : {stream.size(), NmeaFramer::kCapacity + 1, NmeaFramer::kCapacity - 1}) {
        NmeaParser parser;
        for (std::string_view piece : chunks(stream, size)) parser.parse(piece);
        EXPECT_EQ(parser.sentenceCount(), sentences) << "pieces of " << size;
    }
}

}  // namespace
}  // namespace wendra::test
