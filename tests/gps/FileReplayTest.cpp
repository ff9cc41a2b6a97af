// A replayed log is read from its file as it plays: lines as the log has them, a line
// without end in pieces of bounded size, and files that would play nothing refused.

#include "gps/FileReplay.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/TestPaths.h"

namespace wendra {
namespace {

std::vector<std::string> piecesOf(FileReplay& log) {
    std::vector<std::string> pieces;
    while (std::optional<std::string> line = log.nextLine()) pieces.push_back(*line);
    return pieces;
}

TEST(FileReplay, HandsOutLinesAndCutsWhatHasNoEnd) {
    constexpr size_t kMax = FileReplay::kMaxLineBytes;
    const std::string endless(2 * kMax + 10, 'x');
    struct Case {
        const char* legend;
        std::string content;
        std::vector<std::string> pieces;
    };
    const Case cases[] = {
        {"lines keep their newlines", "$GPGGA\n$GPRMC\r\n", {"$GPGGA\n", "$GPRMC\r\n"}},
        {"the last line may lack one", "$GPGGA\n$GP", {"$GPGGA\n", "$GP"}},
        {"a file without a newline comes in bounded pieces",
         endless,
         {std::string(kMax, 'x'), std::string(kMax, 'x'), std::string(10, 'x')}},
        {"a line of exactly the bound",
         std::string(kMax - 1, 'y') + "\nz",
         {std::string(kMax - 1, 'y') + "\n", "z"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.legend);
        const test::TempDir dir;
        test::writeFile(dir / "log", c.content);
        FileReplay log;
        std::string error;
        ASSERT_TRUE(log.open((dir / "log").string(), error)) << error;
        EXPECT_EQ(piecesOf(log), c.pieces);
        log.rewind();
        EXPECT_EQ(piecesOf(log), c.pieces) << "the second pass is the first";
    }
}

TEST(FileReplay, RefusesWhatWouldPlayNothing) {
    const test::TempDir dir;
    test::writeFile(dir / "empty", "");
    struct Case {
        const char* legend;
        std::string path;
        const char* said;
    };
    const Case cases[] = {
        {"a folder", dir.path().string(), "is a folder"},
        {"an empty file", (dir / "empty").string(), "is empty"},
        {"a device", "/dev/null", "is not a regular file"},
        {"nothing there", (dir / "missing").string(), "cannot read"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.legend);
        FileReplay log;
        std::string error;
        EXPECT_FALSE(log.open(c.path, error));
        EXPECT_NE(error.find(c.said), std::string::npos) << error;
        EXPECT_FALSE(log.nextLine());
    }
}

}  // namespace
}  // namespace wendra
