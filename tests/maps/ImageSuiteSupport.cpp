#include "maps/ImageSuiteSupport.h"

#include <fstream>
#include <sstream>

#include "maps/DecoderChoice.h"
#include "support/TestPaths.h"

namespace wendra::test {

namespace {

std::vector<std::string> splitTabs(const std::string& line) {
    std::vector<std::string> fields;
    std::string field;
    std::istringstream in(line);
    while (std::getline(in, field, '\t')) fields.push_back(field);
    return fields;
}

maps::LoadResult fromOpen(maps::OpenResult r) {
    if (r == maps::OpenResult::Opened) return maps::LoadResult::Loaded;
    return r == maps::OpenResult::CannotOpen ? maps::LoadResult::CannotOpen
                                             : maps::LoadResult::Unsupported;
}

}  // namespace

std::filesystem::path imagesFolder() {
    return sharedData() / "images";
}

std::vector<SuiteFile> readSuiteIndex() {
    std::ifstream in(imagesFolder() / "INDEX.tsv");
    std::vector<SuiteFile> files;
    std::string line;
    std::getline(in, line);  // column names
    while (std::getline(in, line)) {
        const std::vector<std::string> f = splitTabs(line);
        if (f.size() < 7) continue;
        files.push_back({f[0], f[2], f[6]});
    }
    return files;
}

RgbaImage decodeRgba(const std::filesystem::path& path) {
    RgbaImage image;
    const auto decoder = maps::createDecoder(maps::chooseFormat(path));
    image.result = fromOpen(decoder->open(path));
    if (image.result != maps::LoadResult::Loaded) return image;
    image.shape = decoder->shape();
    const std::size_t stride = static_cast<std::size_t>(image.shape.width) * 4;
    image.rgba.assign(stride * image.shape.height, 0);
    std::vector<std::uint8_t> row(stride);
    for (int i = 0; i < image.shape.height; ++i) {
        const int y = decoder->readRowWithAlpha(row.data());
        if (y < 0 || y >= image.shape.height) {
            image.result = maps::LoadResult::Error;
            return image;
        }
        std::copy(row.begin(), row.end(), image.rgba.begin() + y * stride);
    }
    return image;
}

std::optional<std::filesystem::path> bmpReference(const std::string& bmpFile) {
    const std::filesystem::path suite = imagesFolder() / "bmp" / "bmpsuite";
    const std::string page = readFile(suite / "bmpsuite.html");
    // "<td>g/name.bmp</td>" (or with a class), then the reference's <img src="...png">.
    const std::string relative = bmpFile.substr(bmpFile.find("bmpsuite/") + 9);
    const std::size_t cell = page.find(">" + relative + "</td>");
    if (cell == std::string::npos) return std::nullopt;
    const std::size_t img = page.find("<img src=\"", cell);
    if (img == std::string::npos) return std::nullopt;
    const std::size_t start = img + 10;
    const std::string png = page.substr(start, page.find('"', start) - start);
    if (png.find(".png") == std::string::npos) return std::nullopt;
    return suite / "reference_png" / png;
}

}  // namespace wendra::test
