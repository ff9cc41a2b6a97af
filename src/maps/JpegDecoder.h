#pragma once
// JPEG map images through libjpeg-turbo, one scanline at a time: grey images come as
// palette indices into a grey palette, colour images as red, green, blue (with a pad
// byte when four-byte pixels were asked for: the library's SIMD writes both). Library
// errors (a corrupt or unsupported stream) come back as failures, not exits. The
// same object encodes, for cached tiles and generated maps (see JpegEncoder).

#include <cstdint>
#include <cstdio>
#include <memory>

#include "maps/JpegEncoder.h"
#include "maps/MapImageDecoder.h"

namespace wendra::maps {

class JpegDecoder final : public MapImageDecoder {
public:
    JpegDecoder();
    ~JpegDecoder() override;

    OpenResult open(const std::filesystem::path& path) override;
    int nextRowIndex() const override;
    int readRow(std::uint8_t* row) override;
    void preferFourBytePixels() override { fourBytePixels_ = true; }

    bool startEncoding(const std::filesystem::path& path, int width, int height) override;
    bool writeRow(const std::uint8_t* rgb) override;
    bool close() override;

private:
    struct Library;
    std::unique_ptr<Library> jpeg_;
    std::FILE* file_ = nullptr;
    bool started_ = false;
    bool fourBytePixels_ = false;
    JpegEncoder encoder_;
};

}  // namespace wendra::maps
