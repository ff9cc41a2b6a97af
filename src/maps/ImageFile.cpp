#include "maps/ImageFile.h"

#include <cstring>

namespace wendra::maps {

namespace {
constexpr std::size_t kBufferBytes = 64 * 1024;
}

ImageFile::~ImageFile() {
    if (file_) std::fclose(file_);
}

bool ImageFile::open(const std::filesystem::path& path) {
    file_ = std::fopen(path.c_str(), "rb");
    if (file_) std::setvbuf(file_, nullptr, _IOFBF, kBufferBytes);
    return file_ != nullptr;
}

bool ImageFile::read(void* to, std::size_t bytes) {
    return std::fread(to, 1, bytes, file_) == bytes;
}

bool ImageFile::skip(long bytes) {
    // Reading rather than seeking: a seek past the end would succeed silently.
    std::uint8_t sink[256];
    while (bytes > 0) {
        const std::size_t step = bytes > 256 ? 256 : static_cast<std::size_t>(bytes);
        if (!read(sink, step)) return false;
        bytes -= static_cast<long>(step);
    }
    return true;
}

bool ImageFile::seek(long offset) {
    return offset >= 0 && std::fseek(file_, offset, SEEK_SET) == 0;
}

int ImageFile::byte() {
    return std::fgetc(file_);
}

bool ImageFile::u16(std::uint16_t& value) {
    std::uint8_t b[2];
    if (!read(b, 2)) return false;
    value = static_cast<std::uint16_t>(b[0] | b[1] << 8);
    return true;
}

bool ImageFile::u32(std::uint32_t& value) {
    std::uint8_t b[4];
    if (!read(b, 4)) return false;
    value = static_cast<std::uint32_t>(b[0]) | static_cast<std::uint32_t>(b[1]) << 8 |
            static_cast<std::uint32_t>(b[2]) << 16 | static_cast<std::uint32_t>(b[3]) << 24;
    return true;
}

bool ImageFile::i32(std::int32_t& value) {
    std::uint32_t raw;
    if (!u32(raw)) return false;
    std::memcpy(&value, &raw, sizeof value);
    return true;
}

}  // namespace wendra::maps
