// The command line as a script sees it: verbs, help, and the one-line failure.

#include <gtest/gtest.h>

#include <algorithm>

#include "support/TestPaths.h"
#include "version/Version.h"

namespace wendra::test {
namespace {

size_t lineCount(const std::string& text) {
    return static_cast<size_t>(std::count(text.begin(), text.end(), '\n'));
}

TEST(ToolCli, HelpListsEveryVerbAndSucceeds) {
    const ToolResult result = runTool({"--help"});
    EXPECT_EQ(result.status, 0);
    for (const char* verb : {"nmea", "coord", "grid", "simulate"})
        EXPECT_NE(result.out.find(std::string("  ") + verb + " "), std::string::npos) << verb;
}

TEST(ToolCli, VersionIsOneLineAndSucceeds) {
    const ToolResult result = runTool({"--version"});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out, "wendra-tool " + std::string(kVersionNumber) + "\n");
    EXPECT_EQ(result.err, "");
}

TEST(ToolCli, BadInvocationsFailWithOneLine) {
    struct Case {
        const char* legend;
        std::vector<std::string> args;
    };
    const Case cases[] = {
        {"no verb at all", {}},
        {"unknown verb", {"teleport"}},
        {"unreadable file", {"nmea", "/nonexistent/receiver.log"}},
        {"malformed number", {"nmea", "--chunk", "12x", "-"}},
    };
    for (const Case& c : cases) {
        const ToolResult result = runTool(c.args);
        EXPECT_EQ(result.status, 1) << c.legend;
        if (!c.args.empty()) {
            EXPECT_EQ(lineCount(result.err), 1u) << c.legend << ": " << result.err;
        }
    }
}

}  // namespace
}  // namespace wendra::test
