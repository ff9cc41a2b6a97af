// The coordinate and grid verbs end to end, as a script would call them.

#include <gtest/gtest.h>

#include <algorithm>

#include "support/TestPaths.h"

namespace wendra::test {
namespace {

struct VerbRun {
    const char* legend;
    std::vector<std::string> args;
    int status;
    const char* out;
};

const VerbRun kRuns[] = {
    {"decimal", {"coord", "0", "46.95108", "7.43864"}, 0, "46.951080N,7.438640E\n"},
    {"seconds, UTF-8 degree sign",
     {"coord", "2", "-33.8688", "151.2093"},
     0,
     "33°52'07.68S,151°12'33.48E\n"},
    {"UTM", {"coord", "3", "46.95108", "7.43864"}, 0, "381189 5200911 32N\n"},
    {"Swiss grid outside its box", {"coord", "4", "44.9", "7"}, 0, "---\n"},
    {"a position not set shows nothing", {"coord", "1", "-999999", "7"}, 0, "\n"},
    {"parse minutes", {"coord", "--parse", "1", "0", "45°30.5N"}, 0, "45.508333333\n"},
    {"parse a southern zone", {"coord", "--parse", "3", "2", "56S"}, 0, "-56.000000000\n"},
    {"refused: the span on stdout", {"coord", "--parse", "1", "0", "45°30.5Q"}, 1, "7\t8\tQ\n"},
    {"grid utm", {"grid", "utm", "-33.8688", "151.2093"}, 0, "334368.63\t6250948.35\t-56\n"},
    {"grid swiss", {"grid", "swiss", "46.044130556", "8.730497222"}, 0, "699999.76\t99999.97\n"},
    {"utm inverse on a central meridian",
     {"grid", "utm", "--inverse", "500000", "0", "31"},
     0,
     "0.000000000\t3.000000000\n"},
    {"swiss inverse of the origin",
     {"grid", "swiss", "--inverse", "600000", "200000"},
     0,
     "46.951081111\t7.438637222\n"},
};

TEST(CoordVerbs, PrintWhatTheProgramShows) {
    for (const VerbRun& run : kRuns) {
        SCOPED_TRACE(run.legend);
        const ToolResult result = runTool(run.args);
        EXPECT_EQ(result.status, run.status) << result.err;
        EXPECT_EQ(result.out, run.out);
    }
}

TEST(CoordVerbs, RefusedTextNamesItOnStderr) {
    const ToolResult result = runTool({"coord", "--parse", "1", "0", "45°30.5Q"});
    EXPECT_EQ(result.err,
              "wendra-tool: [Q] not valid in the string 45°30.5Q at format "
              "DD°MM.MMMM\n");
}

TEST(CoordVerbs, BadInputFailsWithOneLine) {
    const std::vector<std::string> cases[] = {
        {"coord", "5", "46", "7"},                         // unknown format
        {"coord", "0", "46x", "7"},                        // malformed latitude
        {"coord", "0", "nan", "7"},                        // not a number
        {"coord", "0", "46"},                              // missing longitude
        {"coord", "--parse", "0", "3", "45"},              // unknown role
        {"grid"},                                          // no grid
        {"grid", "lambert", "46", "7"},                    // unknown grid
        {"grid", "utm", "91", "7"},                        // beyond the pole
        {"grid", "utm", "--inverse", "500000", "0", "0"},  // zone 0
        {"grid", "swiss", "--inverse", "600000"},          // missing north
        {"grid", "swiss", "46", "7e"},                     // malformed longitude
    };
    for (const auto& args : cases) {
        const ToolResult result = runTool(args);
        EXPECT_EQ(result.status, 1) << args[1];
        EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << result.err;
        EXPECT_TRUE(result.out.empty()) << result.out;
    }
}

}  // namespace
}  // namespace wendra::test
