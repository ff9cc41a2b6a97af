#include "records/RecordFile.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "records/RecordWriter.h"
#include "support/TestPaths.h"

namespace wendra {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> readAllLines(const fs::path& path, size_t capacity,
                                      RecordFileMode mode = RecordFileMode::Read) {
    RecordFile file;
    EXPECT_TRUE(file.open(path.string(), mode));
    std::vector<std::string> lines;
    std::string line;
    while (file.readLine(line, capacity)) lines.push_back(line);
    EXPECT_EQ(file.bytesConsumed(), file.fileSize());
    return lines;
}

std::vector<std::string> linesOf(const std::string& content, size_t capacity) {
    const test::TempDir dir;
    test::writeFile(dir / "lines.txt", content);
    return readAllLines(dir / "lines.txt", capacity);
}

TEST(RecordFile, ReadLineCutsAtCapacityMinusTwo) {
    const std::string x8999(8999, 'x');
    const std::string a510(510, 'a');
    struct Case {
        const char* legend;
        std::string content;
        size_t capacity;
        std::vector<std::string> lines;
    } cases[] = {
        {"9000-byte line at 8704",
         x8999 + "\n",
         8704,
         {std::string(8702, 'x'), std::string(297, 'x') + "\n"}},
        {"line of exactly capacity - 2 bytes",
         std::string(509, 'b') + "\n",
         512,
         {std::string(509, 'b') + "\n"}},
        {"one byte over: the newline comes alone", a510 + "\n", 512, {a510, "\n"}},
        {"several pieces",
         std::string(25, 'c'),
         10,
         {std::string(8, 'c'), std::string(8, 'c'), std::string(8, 'c'), "c"}},
        {"capacity below three still advances", "abc\n", 1, {"a", "b", "c", "\n"}},
        {"capacity zero still advances", "ab", 0, {"a", "b"}},
    };
    for (const Case& c : cases) EXPECT_EQ(linesOf(c.content, c.capacity), c.lines) << c.legend;
}

TEST(RecordFile, ReadLineEnds) {
    struct Case {
        const char* legend;
        std::string content;
        std::vector<std::string> lines;
    } cases[] = {
        {"empty file", "", {}},
        {"last line without newline", "a|\nb|", {"a|\n", "b|"}},
        {"carriage returns are kept for the splitter", "a\r\nb\r\n", {"a\r\n", "b\r\n"}},
        {"blank lines", "\n\n", {"\n", "\n"}},
        {"zero byte ends the line and is dropped", std::string("ab\0cd\n", 6), {"ab", "cd\n"}},
        {"zero byte alone", std::string("\0", 1), {""}},
        {"zero right before the newline", std::string("ab\0\n", 4), {"ab", "\n"}},
        {"leading 0xFF marks binary, not text",
         "\xff"
         "a\n",
         {"a\n"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(linesOf(c.content, kLongLineCapacity), c.lines) << c.legend;
}

TEST(RecordFile, LinesAcrossBufferBoundariesComeBackWhole) {
    std::vector<std::string> expected;
    std::string content;
    // Lengths that drift across the 65536-byte refills, including a long line that
    // straddles one and lines cut by the capacity.
    for (int i = 0; content.size() < 4 * kRecordFileBufferSize; ++i) {
        const size_t length = i == 700 ? 9000 : static_cast<size_t>(i * 37 % 301);
        std::string line = "L" + std::to_string(i) + "|" + std::string(length, 'a' + i % 26) + "\n";
        content += line;
        while (line.size() > kShortLineCapacity - 2) {
            expected.push_back(line.substr(0, kShortLineCapacity - 2));
            line.erase(0, kShortLineCapacity - 2);
        }
        expected.push_back(line);
    }
    EXPECT_EQ(linesOf(content, kShortLineCapacity), expected);
}

TEST(RecordFile, ModesSetTheBinaryFlag) {
    const test::TempDir dir;
    test::writeFile(dir / "text", "a\n");
    test::writeFile(dir / "marked",
                    "\xff"
                    "a\n");
    struct Case {
        const char* legend;
        const char* name;
        RecordFileMode mode;
        bool binary;
        uint64_t consumedAfterOpen;
    } cases[] = {
        {"text read", "text", RecordFileMode::Read, false, 0},
        {"marker skipped", "marked", RecordFileMode::Read, true, 1},
        {"binary read checks no marker", "text", RecordFileMode::ReadBinary, true, 0},
        {"binary read keeps the marker byte", "marked", RecordFileMode::ReadBinary, true, 0},
    };
    for (const Case& c : cases) {
        RecordFile file;
        ASSERT_TRUE(file.open((dir / c.name).string(), c.mode)) << c.legend;
        EXPECT_EQ(file.isBinary(), c.binary) << c.legend;
        EXPECT_EQ(file.bytesConsumed(), c.consumedAfterOpen) << c.legend;
    }
}

TEST(RecordFile, WriteModesWriteTheMarkerOnlyForBinary) {
    const test::TempDir dir;
    RecordFile file;
    ASSERT_TRUE(file.open((dir / "t").string(), RecordFileMode::WriteText));
    EXPECT_FALSE(file.isBinary());
    EXPECT_TRUE(file.writeText("a|\n"));
    EXPECT_FALSE(file.writeBytes("x", 1));
    ASSERT_TRUE(file.open((dir / "b").string(), RecordFileMode::WriteBinary));
    EXPECT_TRUE(file.isBinary());
    EXPECT_FALSE(file.writeText("a|\n"));
    EXPECT_TRUE(file.writeBytes("\x01\x02", 2));
    EXPECT_EQ(file.fileSize(), 3u);
    EXPECT_TRUE(file.close());
    EXPECT_EQ(test::readFile(dir / "t"), "a|\n");
    EXPECT_EQ(test::readFile(dir / "b"), "\xff\x01\x02");
}

TEST(RecordFile, OpenFailures) {
    const test::TempDir dir;
    RecordFile file;
    EXPECT_FALSE(file.open((dir / "missing").string(), RecordFileMode::Read));
    EXPECT_FALSE(file.open(dir.path().string(), RecordFileMode::Read));
    EXPECT_FALSE(file.open((dir / "no" / "folder").string(), RecordFileMode::WriteText));
    EXPECT_FALSE(file.isOpen());
    EXPECT_FALSE(file.writeText("x"));
    std::string line = "stale";
    EXPECT_EQ(file.readLine(line, kShortLineCapacity), 0);
    EXPECT_EQ(line, "");
    EXPECT_TRUE(file.close());
}

TEST(RecordFile, ReadModesRefuseWrites) {
    const test::TempDir dir;
    test::writeFile(dir / "r", "a\n");
    RecordFile file;
    ASSERT_TRUE(file.open((dir / "r").string(), RecordFileMode::Read));
    EXPECT_FALSE(file.writeText("b\n"));
    EXPECT_TRUE(file.close());
    EXPECT_EQ(test::readFile(dir / "r"), "a\n");
}

TEST(RecordFile, TextRoundTripsThroughManyBuffers) {
    const test::TempDir dir;
    std::vector<std::string> lines;
    {
        RecordFile file;
        ASSERT_TRUE(file.open((dir / "big.txt").string(), RecordFileMode::WriteText));
        for (int i = 0; i < 20000; ++i) {
            lines.push_back(
                formatRecord("Trc5|%.12Lf|%.12Lf|%.2f|%d|\n", i / 1e5L, -i / 3e5L, i * 0.25, i));
            ASSERT_TRUE(file.writeText(lines.back()));
        }
    }  // the destructor closes and commits
    EXPECT_EQ(readAllLines(dir / "big.txt", kShortLineCapacity), lines);
}

TEST(RecordFile, WritesOfEverySizeKeepTheirOrder) {
    struct Case {
        const char* legend;
        std::vector<size_t> sizes;
    } cases[] = {
        {"fills the buffer exactly", {65535, 1, 10}},
        {"one byte short then two", {65534, 2, 3}},
        {"larger than the buffer after buffered bytes", {100, 200000, 7}},
        {"exactly the buffer size", {kRecordFileBufferSize, kRecordFileBufferSize}},
        {"empty writes", {0, 5, 0}},
    };
    const test::TempDir dir;
    for (const Case& c : cases) {
        std::string expected;
        RecordFile file;
        ASSERT_TRUE(file.open((dir / "sizes").string(), RecordFileMode::WriteText));
        for (size_t i = 0; i < c.sizes.size(); ++i) {
            const std::string text(c.sizes[i], static_cast<char>('a' + i));
            EXPECT_TRUE(file.writeText(text)) << c.legend;
            expected += text;
        }
        EXPECT_EQ(file.fileSize(), expected.size()) << c.legend;
        EXPECT_TRUE(file.close()) << c.legend;
        EXPECT_EQ(test::readFile(dir / "sizes"), expected) << c.legend;
    }
}

TEST(RecordFile, WriteWideKeepsTheLowByte) {
    const test::TempDir dir;
    RecordFile file;
    ASSERT_TRUE(file.open((dir / "w").string(), RecordFileMode::WriteText));
    EXPECT_TRUE(file.writeWide(u"\u00c4|\u20ac|\n"));
    EXPECT_TRUE(file.close());
    EXPECT_EQ(test::readFile(dir / "w"), "\xc4|\xac|\n");
}

TEST(RecordFile, OpenCommitsTheFileItHeld) {
    const test::TempDir dir;
    RecordFile file;
    ASSERT_TRUE(file.open((dir / "first").string(), RecordFileMode::WriteText));
    EXPECT_TRUE(file.writeText("one\n"));
    ASSERT_TRUE(file.open((dir / "first").string(), RecordFileMode::Read));
    std::string line;
    EXPECT_EQ(file.readLine(line, kShortLineCapacity), 1);
    EXPECT_EQ(line, "one\n");
}

TEST(RecordFile, SaveReplacesTheOldFileOnlyAtClose) {
    const test::TempDir dir;
    const fs::path path = dir / "Wendra.ini";
    test::writeFile(path, "old\n");
    ::chmod(path.c_str(), 0640);
    RecordFile file;
    ASSERT_TRUE(file.open(path.string(), RecordFileMode::WriteText));
    EXPECT_TRUE(file.writeText(std::string(100000, 'n')));
    EXPECT_EQ(test::readFile(path), "old\n");
    EXPECT_TRUE(file.close());
    EXPECT_EQ(test::readFile(path), std::string(100000, 'n'));
    EXPECT_EQ(fs::status(path).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
}

TEST(RecordFile, SaveThroughALinkReplacesTheTarget) {
    const test::TempDir dir;
    test::writeFile(dir / "target", "old\n");
    fs::create_symlink(dir / "target", dir / "link");
    RecordFile file;
    ASSERT_TRUE(file.open((dir / "link").string(), RecordFileMode::WriteText));
    EXPECT_TRUE(file.writeText("new\n"));
    EXPECT_TRUE(file.close());
    EXPECT_TRUE(fs::is_symlink(dir / "link"));
    EXPECT_EQ(test::readFile(dir / "target"), "new\n");
}

TEST(RecordFile, RefusedWriteIsReportedAndKeepsTheOldFile) {
    const test::TempDir dir;
    const fs::path path = dir / "Wendra.wdp";
    test::writeFile(path, "GPSCoord|old|\n");
    // The file-size limit makes the system refuse the write, as a full disk would.
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit previous{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &previous), 0);
    rlimit small = previous;
    small.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    RecordFile file;
    const bool opened = file.open(path.string(), RecordFileMode::WriteText);
    bool allWritesAccepted = true;
    for (int i = 0; i < 10; ++i)
        allWritesAccepted = file.writeText(std::string(20000, 'x')) && allWritesAccepted;
    const bool closed = file.close();
    setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, previousHandler);
    ASSERT_TRUE(opened);
    EXPECT_FALSE(allWritesAccepted);
    EXPECT_FALSE(closed);
    EXPECT_EQ(test::readFile(path), "GPSCoord|old|\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
}

TEST(RecordFile, FailureSurfacingOnlyAtCloseIsReported) {
    RecordFile file;
    ASSERT_TRUE(file.open("/dev/full", RecordFileMode::WriteText));
    EXPECT_TRUE(file.writeText("buffered, not yet refused\n"));
    EXPECT_FALSE(file.close());
}

TEST(RecordWriter, FormatsLongRecords) {
    const std::string comment(5000, 'c');
    const std::string line = formatRecord("Note|%d|%s|\n", 5000, comment.c_str());
    EXPECT_EQ(line, "Note|5000|" + comment + "|\n");
    std::string appended = "A|";
    appendFormat(appended, "%06x|%0.1f|", 0xff0000, 2.25);
    EXPECT_EQ(appended, "A|ff0000|2.2|");
}

TEST(RecordWriter, CountedStringsCarryTheirByteLength) {
    struct Case {
        const char* legend;
        std::u16string text;
        std::string written;
    } cases[] = {
        {"plain", u"Start", "5|Start|"},
        {"empty", u"", "0||"},
        {"bar inside", u"a|b", "3|a|b|"},
        {"Latin-1 is one byte", u"\u00e9t\u00e9", "3|\xe9t\xe9|"},
        {"above U+00FF keeps the low byte", u"\u20ac", "1|\xac|"},
        {"newline would cut the line", u"a\nb", "3|a b|"},
        {"zero would end the line", std::u16string(u"a\0b", 3), "3|a b|"},
        {"carriage return is harmless", u"a\rb", "3|a\rb|"},
    };
    for (const Case& c : cases) {
        std::string line;
        appendCounted(line, c.text);
        EXPECT_EQ(line, c.written) << c.legend;
    }
}

TEST(RecordWriter, WritesAnArrayOfCountedStrings) {
    const test::TempDir dir;
    RecordFile file;
    ASSERT_TRUE(file.open((dir / "a").string(), RecordFileMode::WriteText));
    ASSERT_TRUE(file.writeText("Names|"));
    const std::u16string names[] = {u"one", u"", u"th|ree"};
    EXPECT_TRUE(writeCountedStrings(file, names));
    const std::string bytes[] = {"x"};
    EXPECT_TRUE(writeCountedStrings(file, bytes));
    EXPECT_TRUE(file.close());
    EXPECT_EQ(test::readFile(dir / "a"), "Names|3|one|0||6|th|ree|1|x|");
    EXPECT_FALSE(writeCountedStrings(file, bytes)) << "closed file";
}

// A pid that no process has: a child that has already been reaped.
pid_t deadPid() {
    const pid_t child = ::fork();
    if (child == 0) ::_exit(0);
    int status = 0;
    ::waitpid(child, &status, 0);
    return child;
}

TEST(RecordFile, SweepsOnlyTheTemporariesOfProcessesThatAreGone) {
    const test::TempDir dir;
    const std::string dead = std::to_string(deadPid());
    const std::string mine = std::to_string(::getpid());
    const auto touch = [&](const std::string& name) {
        std::ofstream(dir / name) << "x";
    };
    touch("Wendra.ini");
    touch("Wendra.ini.tmp-" + dead + "-1");
    touch("Wendra0.trc.tmp-" + dead + "-12");
    touch("Wendra.ini.tmp-" + mine + "-2");  // a save of this process under way
    touch("Wendra.ini.tmp-1");               // not one of ours: no counter
    touch("notes.tmp-abc-1");
    EXPECT_EQ(sweepLeftoverTemporaries(dir.path().string()), 2);
    EXPECT_TRUE(fs::exists(dir / "Wendra.ini"));
    EXPECT_FALSE(fs::exists(dir / ("Wendra.ini.tmp-" + dead + "-1")));
    EXPECT_FALSE(fs::exists(dir / ("Wendra0.trc.tmp-" + dead + "-12")));
    EXPECT_TRUE(fs::exists(dir / ("Wendra.ini.tmp-" + mine + "-2")));
    EXPECT_TRUE(fs::exists(dir / "Wendra.ini.tmp-1"));
    EXPECT_TRUE(fs::exists(dir / "notes.tmp-abc-1"));
    EXPECT_EQ(sweepLeftoverTemporaries((dir / "missing").string()), 0);
}

}  // namespace
}  // namespace wendra
