#include "maps/DecoderChoice.h"

#include <cctype>
#include <cstdio>
#include <cstring>
#include <string>

#include "maps/BmpDecoder.h"
#include "maps/GifDecoder.h"
#include "maps/JpegDecoder.h"
#include "maps/PngDecoder.h"

namespace wendra::maps {

namespace {

struct Signature {
    const char* bytes;
    std::size_t length;
    ImageFormat format;
};

constexpr Signature kSignatures[] = {
    {"\xFF\xD8\xFF", 3, ImageFormat::Jpeg},
    {"\x89PNG\r\n\x1A\n", 8, ImageFormat::Png},
    {"GIF8", 4, ImageFormat::Gif},
    {"BM", 2, ImageFormat::Bmp},
    {"BA", 2, ImageFormat::Bmp},
};

bool sniff(const std::filesystem::path& path, ImageFormat& format) {
    unsigned char head[8] = {};
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return false;
    const std::size_t got = std::fread(head, 1, sizeof head, file);
    std::fclose(file);
    for (const Signature& s : kSignatures) {
        if (got >= s.length && std::memcmp(head, s.bytes, s.length) == 0) {
            format = s.format;
            return true;
        }
    }
    return false;
}

}  // namespace

ImageFormat formatByExtension(const std::filesystem::path& path) {
    const std::string name = path.native();
    if (name.size() < 4) return ImageFormat::Bmp;
    std::string tail = name.substr(name.size() - 4);
    for (char& c : tail) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (tail == ".jpg") return ImageFormat::Jpeg;
    if (tail == ".gif") return ImageFormat::Gif;
    if (tail == ".png") return ImageFormat::Png;
    return ImageFormat::Bmp;
}

ImageFormat chooseFormat(const std::filesystem::path& path) {
    ImageFormat format = ImageFormat::Bmp;
    return sniff(path, format) ? format : formatByExtension(path);
}

std::unique_ptr<MapImageDecoder> createDecoder(ImageFormat format) {
    switch (format) {
        case ImageFormat::Jpeg:
            return std::make_unique<JpegDecoder>();
        case ImageFormat::Gif:
            return std::make_unique<GifDecoder>();
        case ImageFormat::Png:
            return std::make_unique<PngDecoder>();
        case ImageFormat::Bmp:
            break;
    }
    return std::make_unique<BmpDecoder>();
}

}  // namespace wendra::maps
