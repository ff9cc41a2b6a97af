// wendra-tool nmea end to end: what a script reading its JSON lines can rely on.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "support/TestPaths.h"

namespace wendra::test {
namespace {

const std::string kGsv = "$GPGSV,1,1,02,05,40,083,38,07,17,308,40*74\r\n";
const std::string kGsa = "$GPGSA,A,3,05,,,,,,,,,,,,2.5,1.3,2.1*31\r\n";
const std::string kGga = "$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47\r\n";
const std::string kRmc = "$GPRMC,123520,A,4807.040,N,01131.010,E,022.4,084.4,230394,,*15\r\n";

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(text.substr(start, end - start));
    return lines;
}

TEST(NmeaVerb, PrintsEachNewFixThenTheSky) {
    const ToolResult result = runTool({"nmea", "-"}, kGga + kRmc + kGsa + kGsv);
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.err, "");
    const std::vector<std::string> expected = {
        R"({"time":"123519","lat":48.117300000,"lon":11.516666667,"alt":545.4,"speed":0,)"
        R"("course":0,"signal":0,"flags":413})",
        R"({"time":"123520","lat":48.117333333,"lon":11.516833333,"alt":545.4,)"
        R"("speed":41.483788,"course":84,"signal":0,"flags":157})",
        R"({"sentences":4,"inView":2,"dop":2.5,"satellites":[{"prn":5,"signal":38,)"
        R"("elevation":40,"azimuth":83},{"prn":7,"signal":-40,"elevation":17,"azimuth":308}]})",
    };
    EXPECT_EQ(linesOf(result.out), expected);
}

TEST(NmeaVerb, FlagsAndCorrectionOptionsSetTheParser) {
    struct Case {
        const char* legend;
        std::vector<std::string> options;
        std::string altitude;
        std::string flags;
    };
    const Case cases[] = {
        {"default: geoid and automatic correction", {}, "\"alt\":545.4,", "\"flags\":413}"},
        {"no correction at all", {"--flags", "0"}, "\"alt\":545.4,", "\"flags\":401}"},
        {"fixed correction of 40 m",
         {"--flags", "0x004", "--correction", "40"},
         "\"alt\":552.30005,",
         "\"flags\":405}"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.legend);
        std::vector<std::string> args = {"nmea"};
        args.insert(args.end(), c.options.begin(), c.options.end());
        args.push_back("-");
        const ToolResult result = runTool(args, kGga);
        ASSERT_EQ(result.status, 0) << result.err;
        const std::string first = linesOf(result.out).at(0);
        EXPECT_NE(first.find(c.altitude), std::string::npos) << first;
        EXPECT_NE(first.find(c.flags), std::string::npos) << first;
    }
}

TEST(NmeaVerb, ChunkSizeChangesOnlyHowOftenFixesArePrinted) {
    const std::string log = (sharedData() / "nmea" / "garmin48.log").string();
    const std::vector<std::string> byLine = linesOf(runTool({"nmea", log}).out);
    ASSERT_GT(byLine.size(), 10u);
    const std::vector<std::string> byByte = linesOf(runTool({"nmea", "--chunk", "1", log}).out);
    EXPECT_EQ(byByte, byLine) << "one byte per call completes at most one sentence";
    for (const char* size : {"7", "100", "4096", "1000000"}) {
        const std::vector<std::string> lines = linesOf(runTool({"nmea", "--chunk", size, log}).out);
        ASSERT_FALSE(lines.empty()) << size;
        EXPECT_EQ(lines.back(), byLine.back()) << "chunks of " << size;
        EXPECT_LE(lines.size(), byLine.size()) << "chunks of " << size;
    }
}

TEST(NmeaVerb, EmptyInputGivesOnlyTheSummary) {
    const ToolResult result = runTool({"nmea", "-"});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out, "{\"sentences\":0,\"inView\":0,\"dop\":0,\"satellites\":[]}\n");
}

TEST(NmeaVerb, BadInputExitsWithOneLine) {
    TempDir dir;
    struct Case {
        const char* legend;
        std::vector<std::string> args;
    };
    const Case cases[] = {
        {"missing file", {"nmea", (dir / "absent.log").string()}},
        {"a folder", {"nmea", dir.path().string()}},
        {"no input named", {"nmea"}},
        {"two inputs", {"nmea", "-", "-"}},
        {"unknown option", {"nmea", "--fast", "-"}},
        {"chunk of zero bytes", {"nmea", "--chunk", "0", "-"}},
        {"chunk not a number", {"nmea", "--chunk", "12x", "-"}},
        {"chunk without value", {"nmea", "--chunk"}},
        {"flags not hexadecimal", {"nmea", "--flags", "0x1G", "-"}},
        {"flags beyond 32 bits", {"nmea", "--flags", "0x100000000", "-"}},
        {"correction not a number", {"nmea", "--correction", "4o", "-"}},
        {"correction beyond a float", {"nmea", "--correction", "1e99", "-"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.legend);
        const ToolResult result = runTool(c.args, kGga);
        EXPECT_EQ(result.status, 1);
        EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << result.err;
        EXPECT_EQ(result.err.rfind("wendra-tool: ", 0), 0u) << result.err;
        EXPECT_EQ(result.out, "");
    }
}

}  // namespace
}  // namespace wendra::test
