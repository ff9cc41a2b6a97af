#pragma once
// A map image file opened for reading by the program's own readers: buffered, with
// little-endian fields. Every read says whether the bytes were there; nothing is
// guessed past the end of the file.

#include <cstdint>
#include <cstdio>
#include <filesystem>

namespace wendra::maps {

class ImageFile {
public:
    ImageFile() = default;
    ~ImageFile();
    ImageFile(const ImageFile&) = delete;
    ImageFile& operator=(const ImageFile&) = delete;

    bool open(const std::filesystem::path& path);
    bool isOpen() const { return file_ != nullptr; }

    bool read(void* to, std::size_t bytes);
    bool skip(long bytes);
    bool seek(long offset);
    // The next byte, or -1 at the end of the file.
    int byte();
    bool u16(std::uint16_t& value);
    bool u32(std::uint32_t& value);
    bool i32(std::int32_t& value);

private:
    std::FILE* file_ = nullptr;
};

}  // namespace wendra::maps
