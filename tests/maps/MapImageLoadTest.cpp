// Loading a map image as the catalogue will: the memory need decided from the header
// alone, the program's messages, the stop before a row, the choice of decoder by the
// file's first bytes, and hostile files cut short or lying about their size.

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

#include "maps/DecoderChoice.h"
#include "maps/ImageSuiteSupport.h"
#include "maps/MapImageLoad.h"
#include "maps/Md5.h"
#include "support/TestPaths.h"

namespace wendra::test {
namespace {

namespace fs = std::filesystem;
using maps::LoadResult;

constexpr std::uint64_t kBudget = 1u << 30;

maps::MapImageLoad load(const fs::path& path, std::uint64_t budget = kBudget) {
    const std::atomic<bool> never{false};
    return maps::loadMapImage(path, maps::NightMode::None, budget, never);
}

void putU32(std::string& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<char>(v >> (8 * i));
}

// A 24-bit BMP header of the given size with no pixel data behind it.
std::string bmpHeader(std::int32_t width, std::int32_t height) {
    std::string b(54, '\0');
    b[0] = 'B', b[1] = 'M';
    putU32(b, 10, 54);
    putU32(b, 14, 40);
    putU32(b, 18, static_cast<std::uint32_t>(width));
    putU32(b, 22, static_cast<std::uint32_t>(height));
    b[26] = 1, b[28] = 24;
    return b;
}

TEST(MapImage, MemoryNeedCountsRowsTablesAndTheDecoderAllowance) {
    // pitch * height + (512 palette | width*4 + 16 scratch) + height*4 + 0x40000
    EXPECT_EQ(maps::memoryNeed({127, 64, true}), 128u * 64 + 512 + 64 * 4 + 0x40000);
    EXPECT_EQ(maps::memoryNeed({127, 64, false}), 256u * 64 + (127 * 4 + 16) + 64 * 4 + 0x40000);
    EXPECT_GT(maps::memoryNeed({65535, 65535, false}), 8000000000u);
}

// The hostile files made for the fuzzed formats (cut short, sizes and counts that lie,
// values out of range) are each refused with one of the program's messages.
TEST(MapImageLoad, RefusesEveryHostileFileOfTheFuzzCorpus) {
    int files = 0;
    for (const char* format : {"bmp", "jpeg", "png"}) {
        for (const auto& entry : fs::directory_iterator(testData() / format / "malformed")) {
            const std::string name = entry.path().filename().string();
            const auto loaded = load(entry.path());
            EXPECT_NE(loaded.result, LoadResult::Loaded) << format << "/" << name;
            EXPECT_FALSE(maps::loadMessage(loaded.result, name).empty()) << format << "/" << name;
            ++files;
        }
    }
    EXPECT_GE(files, 20) << "the corpus is in tests/data/<format>/malformed";
}

TEST(MapImageLoad, RefusesAHeaderBeyondTheBudgetWithoutTryingToAllocate) {
    TempDir dir;
    writeFile(dir / "huge.bmp", bmpHeader(65535, 65535));
    const auto huge = load(dir / "huge.bmp");
    EXPECT_EQ(huge.result, LoadResult::NotEnoughMemory);
    EXPECT_EQ(maps::loadMessage(huge.result, "huge.bmp"), "Not enought memoiry to load huge.bmp");
    // The same budget rule for a real file: one byte short of its need.
    const fs::path real = imagesFolder() / "bmp/bmpsuite/g/rgb24.bmp";
    const std::uint64_t need = maps::memoryNeed({127, 64, false});
    EXPECT_EQ(load(real, need - 1).result, LoadResult::NotEnoughMemory);
    EXPECT_EQ(load(real, need).result, LoadResult::Loaded);
}

// Looks at the request after taking `stopAfter` rows, as an unload would set it.
class StoppingSink final : public maps::RowSink {
public:
    StoppingSink(std::atomic<bool>& cancel, int stopAfter)
        : cancel_(cancel), stopAfter_(stopAfter) {}
    bool begin(const maps::MapImageDecoder&) override { return true; }
    void takeRow(int, const std::uint8_t*) override {
        if (++rows == stopAfter_) cancel_.store(true);
    }
    int rows = 0;

private:
    std::atomic<bool>& cancel_;
    int stopAfter_;
};

TEST(MapImageLoad, StopsBeforeTheNextRowWhenAnUnloadIsRequested) {
    const fs::path path = imagesFolder() / "jpeg/libjpeg-turbo/testorig.jpg";
    std::atomic<bool> cancel{false};
    StoppingSink sink(cancel, 3);
    const auto decoder = maps::createDecoder(maps::ImageFormat::Jpeg);
    EXPECT_EQ(maps::decodeRows(*decoder, path, sink, cancel), LoadResult::Cancelled);
    EXPECT_EQ(sink.rows, 3);
    EXPECT_EQ(maps::loadMessage(LoadResult::Cancelled, path.string()), "");
}

struct ChoiceCase {
    const char* legend;
    const char* source;  // suite file copied under the new name; null: bytes below
    const char* bytes;
    const char* name;
    LoadResult result;
};

const ChoiceCase kChoices[] = {
    {"a .jpeg extension names no decoder", "jpeg/libjpeg-turbo/testorig.jpg", nullptr, "a.jpeg",
     LoadResult::Loaded},
    {"a PNG named .bmp", "png/pngsuite/basn2c08.png", nullptr, "b.bmp", LoadResult::Loaded},
    {"a BMP named .JPG", "bmp/bmpsuite/g/rgb24.bmp", nullptr, "c.JPG", LoadResult::Loaded},
    {"a GIF named .png", "gif/image-gif/interlaced.gif", nullptr, "d.png", LoadResult::Loaded},
    {"text goes to the BMP reader and is refused", nullptr, "not an image", "e.txt",
     LoadResult::Unsupported},
    {"an empty .jpg", nullptr, "", "f.jpg", LoadResult::Unsupported},
    {"a missing file", nullptr, nullptr, "missing.png", LoadResult::CannotOpen},
};

TEST(DecoderChoice, TheFirstBytesOverruleTheExtension) {
    TempDir dir;
    for (const ChoiceCase& c : kChoices) {
        SCOPED_TRACE(c.legend);
        if (c.source) fs::copy_file(imagesFolder() / c.source, dir / c.name);
        if (c.bytes) writeFile(dir / c.name, c.bytes);
        EXPECT_EQ(load(dir / c.name).result, c.result);
    }
    EXPECT_EQ(maps::loadMessage(LoadResult::CannotOpen, "m.png"), "Unable to open file m.png");
    EXPECT_EQ(maps::formatByExtension("X.GiF"), maps::ImageFormat::Gif);
}

struct Mend {
    const char* legend;
    const char* file;
};

// Each file shows one BMP layout a plain reading of the header gets wrong.
const Mend kBmpMends[] = {
    {"rows start at the pixel-data offset, not after the palette", "bmp/bmpsuite/q/pal8offs.bmp"},
    {"bit-field masks give 5-6-5", "bmp/bmpsuite/g/rgb16-565.bmp"},
    {"bit-field masks give 5-5-5", "bmp/bmpsuite/g/rgb16bfdef.bmp"},
    {"16 bits uncompressed is 5-5-5", "bmp/bmpsuite/g/rgb16.bmp"},
    {"8 bits with colours used 0 has 256 entries", "bmp/bmpsuite/g/pal8-0.bmp"},
    {"a negative height is a top-down file", "bmp/bmpsuite/g/pal8topdown.bmp"},
    {"masks in an unusual order", "bmp/bmpsuite/g/rgb32bfdef.bmp"},
};

TEST(BmpDecoder, ReadsTheLayoutsAPlainReadingGetsWrong) {
    std::map<std::string, std::string> md5s;
    for (const SuiteFile& f : readSuiteIndex()) md5s[f.file] = f.referenceMd5;
    for (const Mend& m : kBmpMends) {
        SCOPED_TRACE(m.legend);
        const RgbaImage rows = decodeRgba(imagesFolder() / m.file);
        ASSERT_EQ(rows.result, LoadResult::Loaded);
        EXPECT_EQ(md5Hex(rows.rgba), md5s.at(m.file));
    }
}

struct CutCase {
    const char* file;
    std::size_t keep;  // bytes kept of the file
    LoadResult result;
};

// Cut inside the header: refused; cut inside the rows: an error, never a crash.
const CutCase kCuts[] = {
    {"bmp/bmpsuite/g/rgb24.bmp", 20, LoadResult::Unsupported},
    {"bmp/bmpsuite/g/pal8.bmp", 300, LoadResult::Unsupported},
    {"bmp/bmpsuite/g/rgb24.bmp", 5000, LoadResult::Error},
    {"png/pngsuite/basn2c08.png", 30, LoadResult::Unsupported},
    {"png/pngsuite/basn2c08.png", 100, LoadResult::Error},
    {"png/pngsuite/ibasn2c08.png", 200, LoadResult::Error},
    {"gif/image-gif/interlaced.gif", 700, LoadResult::Unsupported},
    {"gif/image-gif/interlaced.gif", 5000, LoadResult::Error},
    {"jpeg/libjpeg-turbo/testorig.jpg", 300, LoadResult::Unsupported},
    {"jpeg/libjpeg-turbo/testorig.jpg", 3000, LoadResult::Error},
};

TEST(MapImageLoad, AFileCutShortIsRefusedOrFailsWithoutCrashing) {
    TempDir dir;
    for (const CutCase& c : kCuts) {
        SCOPED_TRACE(std::string(c.file) + " cut at " + std::to_string(c.keep));
        const std::string bytes = readFile(imagesFolder() / c.file).substr(0, c.keep);
        const fs::path cut = dir / fs::path(c.file).filename();
        writeFile(cut, bytes);
        const auto result = load(cut);
        EXPECT_EQ(result.result, c.result);
        EXPECT_EQ(result.image, nullptr);
    }
}

TEST(MapImageLoad, AHeaderLyingAboutItsSizeIsRefused) {
    TempDir dir;
    struct Lie {
        const char* legend;
        std::int32_t width, height;
        LoadResult result;
    };
    const Lie lies[] = {
        {"wider than 16 bits", 3000000, 20, LoadResult::Unsupported},
        {"negative width", -127, 64, LoadResult::Unsupported},
        {"zero height", 127, 0, LoadResult::Unsupported},
        {"most negative height", 127, INT32_MIN, LoadResult::Unsupported},
        {"a fair size with no rows behind it", 400, -300, LoadResult::Error},
    };
    for (const Lie& l : lies) {
        SCOPED_TRACE(l.legend);
        writeFile(dir / "lie.bmp", bmpHeader(l.width, l.height));
        EXPECT_EQ(load(dir / "lie.bmp").result, l.result);
    }
}

}  // namespace
}  // namespace wendra::test
