#pragma once
// The public image suites as the map tests read them: the index of files with the
// reference decoder's verdict, a decode of any file into top-down RGBA rows through
// the decoder a map load would choose, and the BMP suite's reference renderings.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "maps/MapImageDecoder.h"
#include "maps/MapImageLoad.h"

namespace wendra::test {

struct SuiteFile {
    std::string file;          // relative to the images folder
    std::string headerFacts;   // as parsed from the header by the index's author
    std::string referenceMd5;  // of frame 0 as 8-bit RGBA; empty when the reference refused
};

std::filesystem::path imagesFolder();
std::vector<SuiteFile> readSuiteIndex();

struct RgbaImage {
    maps::LoadResult result = maps::LoadResult::Error;
    maps::ImageShape shape;
    std::vector<std::uint8_t> rgba;  // top row first
};
RgbaImage decodeRgba(const std::filesystem::path& path);

// The reference rendering of a BMP suite file, named by the suite's own page.
std::optional<std::filesystem::path> bmpReference(const std::string& bmpFile);

}  // namespace wendra::test
