#include "app/CommandLine.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "platform/linux/LinuxSerialPorts.h"

using Args = std::vector<std::string>;

namespace wendra {
namespace {

// The program's main hands in the machine's port names.
ParsedCommandLine parseCommandLine(const std::vector<std::string>& arguments) {
    return wendra::parseCommandLine(arguments, platform::portIdOfName);
}

TEST(CommandLine, TakesEveryOption) {
    const ParsedCommandLine parsed =
        parseCommandLine({"--home", "/data", "--replay", "log.nmea", "--speed", "20", "--assume",
                          "no", "--snapshots", "0", "--size", "480x272", "--fullscreen"});
    ASSERT_EQ(parsed.error, "");
    const CommandLine& options = parsed.options;
    EXPECT_EQ(options.home, "/data");
    EXPECT_EQ(options.replay, "log.nmea");
    EXPECT_DOUBLE_EQ(options.speed, 20.0);
    EXPECT_EQ(options.assume, platform::Answer::No);
    EXPECT_EQ(options.snapshotSeconds, 0);
    EXPECT_EQ(options.width, 480);
    EXPECT_EQ(options.height, 272);
    EXPECT_TRUE(options.fullScreen);
}

TEST(CommandLine, SwitchesSetTheirFlagAlone) {
    struct Case {
        const char* argument;
        bool CommandLine::*flag;
    };
    const Case cases[] = {
        {"--help", &CommandLine::help},
        {"-h", &CommandLine::help},
        {"--version", &CommandLine::version},
        {"--fullscreen", &CommandLine::fullScreen},
    };
    for (const Case& c : cases) {
        const ParsedCommandLine parsed = parseCommandLine({c.argument});
        ASSERT_EQ(parsed.error, "") << c.argument;
        for (const Case& other : cases)
            EXPECT_EQ(parsed.options.*other.flag, other.flag == c.flag)
                << c.argument << " and " << other.argument;
    }
}

// The version is written once, in the build's project() line; what --version prints
// must follow it rather than a copy that a release forgets to bump.
TEST(CommandLine, VersionLineFollowsTheBuildsProjectVersion) {
    std::ifstream cmake(WENDRA_SOURCE_DIR "/CMakeLists.txt");
    std::stringstream text;
    text << cmake.rdbuf();
    const std::string content = text.str();
    const std::string marker = "project(Wendra VERSION ";
    const std::size_t start = content.find(marker);
    ASSERT_NE(start, std::string::npos);
    const std::size_t from = start + marker.size();
    const std::string number = content.substr(from, content.find(' ', from) - from);
    EXPECT_EQ(programVersion(), "wendra " + number);
}

TEST(CommandLine, DefaultsLeaveEverythingToTheEnvironment) {
    const ParsedCommandLine parsed = parseCommandLine({});
    ASSERT_EQ(parsed.error, "");
    EXPECT_EQ(parsed.options.home, "");
    EXPECT_FALSE(parsed.options.assume);
    EXPECT_FALSE(parsed.options.snapshotSeconds);
    EXPECT_EQ(parsed.options.width, CommandLine::kDefaultWidth);
}

TEST(CommandLine, RefusesBadInputWithOneLineNamingIt) {
    struct Case {
        const char* legend;
        Args args;
        const char* errorPart;
    };
    const Case cases[] = {
        {"unknown option", {"--colour"}, "unknown argument \"--colour\""},
        {"value missing", {"--home"}, "--home needs a value"},
        {"speed zero", {"--replay", "x", "--speed", "0"}, "--speed must be from 0.01 to 10000"},
        {"speed next to zero", {"--replay", "x", "--speed", "1e-300"}, "\"1e-300\""},
        {"speed not a number", {"--replay", "x", "--speed", "fast"}, "\"fast\""},
        {"speed too high", {"--replay", "x", "--speed", "20000"}, "from 0.01 to 10000"},
        {"speed endless", {"--replay", "x", "--speed", "inf"}, "from 0.01 to 10000"},
        {"speed without replay", {"--speed", "2"}, "--speed needs --replay"},
        {"assume maybe", {"--assume", "maybe"}, "yes or no"},
        {"negative snapshots", {"--snapshots", "-1"}, "--snapshots"},
        {"size without x", {"--size", "800"}, "WIDTHxHEIGHT"},
        {"size too small", {"--size", "10x10"}, "WIDTHxHEIGHT"},
        {"size with junk", {"--size", "800x480px"}, "WIDTHxHEIGHT"},
    };
    for (const Case& c : cases) {
        const ParsedCommandLine parsed = parseCommandLine(c.args);
        EXPECT_NE(parsed.error.find(c.errorPart), std::string::npos)
            << c.legend << ": " << parsed.error;
        EXPECT_EQ(parsed.error.find('\n'), std::string::npos) << c.legend;
    }
}

}  // namespace
}  // namespace wendra

namespace wendra {
namespace {

TEST(CommandLine, NamesTheReceiverPortAndTheGpsd) {
    const ParsedCommandLine parsed = parseCommandLine({"--port", "GPD0", "--gpsd", "::1:12000"});
    ASSERT_EQ(parsed.error, "");
    EXPECT_EQ(parsed.options.port, "GPD0:");
    EXPECT_EQ(parsed.options.gpsdHost, "::1");
    EXPECT_EQ(parsed.options.gpsdPort, 12000);

    for (const Args& bad : {Args{"--port", "COM10"}, Args{"--port", "/dev/ttyUSB0"},
                            Args{"--gpsd", "localhost"}, Args{"--gpsd", ":2947"},
                            Args{"--gpsd", "h:65530"}, Args{"--replay", "x", "--port", "COM1"}})
        EXPECT_NE(parseCommandLine(bad).error, "") << bad[0] << " " << bad[1];
}

// The machine decides which port names exist: a name it does not have is refused even
// when it looks like a port, and the colon is added before it is asked.
TEST(CommandLine, AsksTheMachineWhichPortNamesExist) {
    std::vector<std::string> asked;
    const PortNameLookup onlyCom3 = [&](std::string_view name) -> std::optional<int> {
        asked.emplace_back(name);
        return name == "COM3:" ? std::optional<int>(3) : std::nullopt;
    };
    EXPECT_EQ(wendra::parseCommandLine({"--port", "COM3"}, onlyCom3).options.port, "COM3:");
    EXPECT_NE(wendra::parseCommandLine({"--port", "COM4"}, onlyCom3).error, "");
    EXPECT_EQ(asked, (std::vector<std::string>{"COM3:", "COM4:"}));
}

}  // namespace
}  // namespace wendra
