// Every file of the public image suites through the map readers: the rows a reader
// delivers match the reference decoder's pixels, the 16-bit bitmap keeps their top
// five bits, what the program's format rules exclude is refused with its message, and
// nothing questionable or bad crashes (the test build runs under ASan and UBSan).

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <map>

#include "maps/ImageSuiteSupport.h"
#include "maps/Md5.h"
#include "platform/Rgb16.h"

namespace wendra::test {
namespace {

using maps::LoadResult;

constexpr std::uint64_t kBudget = 256u << 20;

bool has(const std::string& text, const char* part) {
    return text.find(part) != std::string::npos;
}

std::string extensionOf(const std::string& file) {
    return file.substr(file.rfind('.') + 1);
}

// What the program's format rules say of a file, read from the index's header facts
// (not from our readers): BMP only with the 40-byte header, 8/16/24/32 bits, no RLE;
// GIF only with a 256-entry global table; JPEG with 8-bit samples; every PNG.
LoadResult expectedOpen(const SuiteFile& f) {
    const std::string ext = extensionOf(f.file);
    if (ext == "bmp") {
        long width = 0, height = 0;
        std::sscanf(f.headerFacts.c_str(), "%ldx%ld", &width, &height);
        const bool sized = width > 0 && width <= 65535 && std::labs(height) <= 65535;
        const bool layout =
            has(f.headerFacts, " 8bpp BI_RGB") || has(f.headerFacts, "16bpp BI_RGB") ||
            has(f.headerFacts, "16bpp BITFIELDS") || has(f.headerFacts, "24bpp BI_RGB") ||
            has(f.headerFacts, "32bpp BI_RGB") || has(f.headerFacts, "32bpp BITFIELDS");
        return sized && layout && has(f.headerFacts, " V3/INFO") ? LoadResult::Loaded
                                                                 : LoadResult::Unsupported;
    }
    if (ext == "gif")
        return has(f.headerFacts, "global_table=256 ") ? LoadResult::Loaded
                                                       : LoadResult::Unsupported;
    if (ext == "jpg")
        return has(f.headerFacts, " 8-bit ") ? LoadResult::Loaded : LoadResult::Unsupported;
    return ext == "png" ? LoadResult::Loaded : LoadResult::Unsupported;
}

// Files whose 8-bit rows are rightly not the reference's bytes, each with the reason.
const std::map<std::string, const char*> kNotByteEqual = {
    {"png/pngsuite/basn0g16.png", "the reference clips 16-bit grey; we keep the high byte"},
};

int top5(std::uint8_t c) {
    return c >> 3;
}

// The bitmap a map load makes holds the top five bits of every delivered pixel.
void expectBitmapMatches(const std::filesystem::path& path, const RgbaImage& rows) {
    const std::atomic<bool> never{false};
    const maps::MapImageLoad load = maps::loadMapImage(path, maps::NightMode::None, kBudget, never);
    ASSERT_EQ(load.result, LoadResult::Loaded);
    ASSERT_EQ(load.image->width(), rows.shape.width);
    ASSERT_EQ(load.image->height(), rows.shape.height);
    int wrong = 0;
    for (int y = 0; y < rows.shape.height; ++y) {
        for (int x = 0; x < rows.shape.width; ++x) {
            const std::uint8_t* c = &rows.rgba[(y * rows.shape.width + x) * 4];
            if (load.image->pixelAt(x, y) != platform::toPixel16(platform::rgb(c[0], c[1], c[2])))
                ++wrong;
        }
    }
    EXPECT_EQ(wrong, 0) << "bitmap pixels that are not the rows' top five bits";
}

// Against a reference rendering: top five bits, one step of rounding allowed.
void expectNearReference(const RgbaImage& rows, const std::filesystem::path& reference) {
    const RgbaImage ref = decodeRgba(reference);
    ASSERT_EQ(ref.result, LoadResult::Loaded) << reference;
    ASSERT_EQ(ref.shape.width, rows.shape.width);
    ASSERT_EQ(ref.shape.height, rows.shape.height);
    int wrong = 0;
    for (std::size_t i = 0; i < rows.rgba.size(); ++i) {
        if (i % 4 != 3 && std::abs(top5(rows.rgba[i]) - top5(ref.rgba[i])) > 1) ++wrong;
    }
    EXPECT_EQ(wrong, 0) << "components off the reference " << reference;
}

TEST(ImageSuites, ReadersAgreeWithTheReferenceDecoder) {
    const std::vector<SuiteFile> files = readSuiteIndex();
    ASSERT_GT(files.size(), 100u);
    int compared = 0;
    for (const SuiteFile& f : files) {
        SCOPED_TRACE(f.file);
        const std::filesystem::path path = imagesFolder() / f.file;
        const RgbaImage rows = decodeRgba(path);
        const LoadResult expected = expectedOpen(f);
        ASSERT_EQ(rows.result, expected);
        if (expected != LoadResult::Loaded) {
            const std::atomic<bool> never{false};
            EXPECT_EQ(maps::loadMessage(
                          maps::loadMapImage(path, maps::NightMode::None, kBudget, never).result,
                          path.string()),
                      "Unsupported format in " + path.string());
            continue;
        }
        if (!f.referenceMd5.empty() && !kNotByteEqual.count(f.file)) {
            EXPECT_EQ(md5Hex(rows.rgba), f.referenceMd5);
            ++compared;
        } else if (extensionOf(f.file) == "bmp") {
            if (const auto reference = bmpReference(f.file)) expectNearReference(rows, *reference);
        }
        expectBitmapMatches(path, rows);
    }
    EXPECT_GT(compared, 60);
}

}  // namespace
}  // namespace wendra::test
