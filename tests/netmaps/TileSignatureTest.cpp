#include "netmaps/TileSignature.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace wendra::netmaps {
namespace {

std::vector<std::uint8_t> bytes(const std::string& text) {
    return {text.begin(), text.end()};
}

TEST(TileSignature, KnownBodies) {
    // Two words hashed; the loop stops before the word that ends at the last byte.
    const auto twelve = bytes(std::string("\x01\x02\x03\x04\x05\x06\x07\x08\x09\x0a\x0b\x0c", 12));
    EXPECT_EQ(signatureOf(twelve), (TileSignature{12, 0, 0x0C83056E}));
    // The sums wrap at 32 bits, as the handheld's did.
    EXPECT_EQ(signatureOf(std::vector<std::uint8_t>(9, 0xFF)), (TileSignature{9, 0, 0x100200}));
    // The word at 100 once the body has 104 bytes.
    std::vector<std::uint8_t> longer(104, 0);
    longer[100] = 0xDE, longer[101] = 0xAD, longer[102] = 0xBE, longer[103] = 0xEF;
    EXPECT_EQ(signatureOf(longer).word, 0xDEADBEEF);
    longer.pop_back();
    EXPECT_EQ(signatureOf(longer).word, 0);
    EXPECT_EQ(signatureOf({}), (TileSignature{0, 0, 0}));
}

TEST(TileSignature, ClassifiesBodies) {
    const std::string png = "\x89PNG\r\n\x1a\n....";
    const std::string jfif = std::string("\xFF\xD8\xFF\xE0\x00\x10JFIF\x00", 11);
    const std::string exif = std::string(
        "\xFF\xD8\xFF\xE1\x00\x10"
        "Exif\x00\x00",
        12);
    const std::string bare = std::string("\xFF\xD8\xFF\xDB\x00\x43", 6);
    struct Case {
        const char* legend;
        std::string body;
        TileType type;
    } cases[] = {
        {"PNG signature", png, TileType::Png},
        {"JFIF JPEG", jfif, TileType::Jpeg},
        {"Exif JPEG: no JFIF, start-of-image marker", exif, TileType::Jpeg},
        {"bare JPEG: marker then tables", bare, TileType::Jpeg},
        {"JFIF at 6 without the marker still counts", "xxxxxxJFIF", TileType::Jpeg},
        {"HTML error page", "<html><body>Not found</body></html>", TileType::None},
        {"empty body", "", TileType::None},
        {"PNG signature cut short", "\x89PN", TileType::None},
        {"two bytes of a JPEG marker", "\xFF\xD8", TileType::None},
        {"JFIF cut at byte 8", "xxxxxxJFI", TileType::None},
    };
    for (const Case& c : cases)
        EXPECT_EQ(classify(bytes(c.body), TileSignature{}), c.type) << c.legend;
}

TEST(TileSignature, RefusesTheLearnedPlaceholder) {
    std::vector<std::uint8_t> placeholder = bytes("\x89PNG\r\n\x1a\n");
    placeholder.resize(300, 7);
    const TileSignature learned = signatureOf(placeholder);
    EXPECT_EQ(classify(placeholder, learned), TileType::None);
    // One byte different anywhere hashed makes a real tile of the same length.
    std::vector<std::uint8_t> tile = placeholder;
    tile[200] = 8;
    EXPECT_EQ(classify(tile, learned), TileType::Png);
}

}  // namespace
}  // namespace wendra::netmaps
