#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "points/IconList.h"
#include "support/TestPaths.h"

namespace wendra::points {
namespace {

const std::filesystem::path kShipped = std::filesystem::path(WENDRA_SOURCE_DIR) / "data" / "icons";

TEST(IconList, LoadsTheShippedIconsSortedAfterTheBuiltIns) {
    IconList icons;
    EXPECT_GE(icons.load(kShipped, 1), 10);
    const auto& names = icons.names();
    ASSERT_GE(names.size(), 4u);
    EXPECT_EQ(names[0], u"*");
    EXPECT_EQ(names[1], u"*SH*");
    EXPECT_TRUE(std::is_sorted(names.begin() + 2, names.end()));
    EXPECT_GT(icons.indexOf(u"Flag"), 1);
    EXPECT_GT(icons.indexOf(u"Pos1"), 1);
    EXPECT_EQ(icons.indexOf(u"flag"), 0);
    EXPECT_EQ(icons.indexOf(u"*"), 0);
    EXPECT_EQ(icons.images().count(), static_cast<int>(names.size()));
    EXPECT_EQ(icons.images().imageSize().width, kIconSize);
}

// White is see-through: the flag's corner leaves the background, its cloth does not.
TEST(IconList, DrawsWithWhiteSeeThrough) {
    IconList icons;
    icons.load(kShipped, 2);
    ASSERT_EQ(icons.images().imageSize().width, 2 * kIconSize);
    constexpr platform::Pixel16 kBackground = 0x1234;
    platform::PixelBuffer target(platform::Size{2 * kIconSize, 2 * kIconSize}, kBackground);
    icons.images().draw(target, icons.indexOf(u"Flag"), platform::Point{0, 0});
    EXPECT_EQ(target.row(0)[2 * kIconSize - 1], kBackground);
    EXPECT_NE(target.row(2 * 6)[2 * 8], kBackground);
    // Index 0 draws nothing.
    target.reset(platform::Size{2 * kIconSize, 2 * kIconSize}, kBackground);
    icons.images().draw(target, IconList::kNoIcon, platform::Point{0, 0});
    EXPECT_EQ(target.row(kIconSize)[kIconSize], kBackground);
}

TEST(IconList, LeavesOutFilesThatAreNoUsableIcon) {
    test::TempDir dir;
    std::filesystem::copy_file(kShipped / "Flag.bmp", dir / "Mine.BMP");
    std::filesystem::copy_file(kShipped / "Flag.bmp", dir / "a.bmp");  // five characters will do
    std::filesystem::copy_file(kShipped / "Flag.bmp",
                               dir / (std::string(27, 'n') + ".bmp"));  // 31: too long
    std::filesystem::copy_file(kShipped / "Flag.bmp", dir / "Flag.png");
    test::writeFile(dir / "Broken.bmp", "BM not really");
    IconList icons;
    EXPECT_EQ(icons.load(dir.path(), 1), 2);
    EXPECT_EQ(icons.names(), (std::vector<std::u16string>{u"*", u"*SH*", u"Mine", u"a"}));
    EXPECT_EQ(icons.load(dir / "absent", 1), 0);
    EXPECT_EQ(icons.names().size(), 2u);
}

TEST(IconList, AFreshDataFolderGetsTheShippedIconsAndKeepsTheUsers) {
    test::TempDir dir;
    const auto folder = dir / "data" / std::string(kIconsFolderName);
    std::filesystem::create_directories(folder);
    test::writeFile(folder / "Flag.bmp", "mine");
    const int shipped =
        static_cast<int>(std::distance(std::filesystem::directory_iterator(kShipped), {}));
    EXPECT_EQ(copyMissingIcons(kShipped, folder), shipped - 1);
    EXPECT_EQ(test::readFile(folder / "Flag.bmp"), "mine");
    EXPECT_EQ(copyMissingIcons(kShipped, folder), 0);
}

}  // namespace
}  // namespace wendra::points
