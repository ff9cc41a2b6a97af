#pragma once
// One decoder per load of a map image: opened on a file, it tells the image's shape and
// palette, then delivers its rows one at a time, so the loader can look at an unload
// request between rows. Only the JPEG variant also encodes (cached tiles, demo maps).
// A decoder treats its file as hostile: a short read or a lying header ends in a
// failure result, never in a read outside its buffers.

#include <array>
#include <atomic>
#include <cstdint>
#include <filesystem>
#include <vector>

#include "maps/MapImage.h"

namespace wendra::maps {

enum class OpenResult : int {
    Opened = 1,
    CannotOpen = 0,    // the file is missing or unreadable
    Unsupported = -1,  // not this format, or a variant of it the program does not read
};

// Red, green, blue bytes of the 256 palette entries; entries a file does not give are black.
using Palette = std::array<std::uint8_t, 256 * 3>;

class MapImageDecoder {
public:
    virtual ~MapImageDecoder() = default;
    MapImageDecoder() = default;
    MapImageDecoder(const MapImageDecoder&) = delete;
    MapImageDecoder& operator=(const MapImageDecoder&) = delete;

    virtual OpenResult open(const std::filesystem::path& path) = 0;

    // The image row, counted from the top, that the next read delivers; -1 once every
    // row was read.
    virtual int nextRowIndex() const = 0;

    // Reads the next row: `width` palette indices for a palette image, else `width`
    // true-colour pixels of pixelBytes() each. Returns the image row delivered, or -1
    // on error.
    virtual int readRow(std::uint8_t* row) = 0;

    // Asked before open: true-colour rows as red, green, blue and one unused byte, which
    // a decoder grants when its library writes them as fast as triplets (the bitmap's
    // conversion then works on whole words). Palette rows are not affected.
    virtual void preferFourBytePixels() {}
    // Bytes of one true-colour pixel in the rows read: 3, or 4 once granted.
    int pixelBytes() const { return pixelBytes_; }

    // The next row as `width` red, green, blue, alpha quads; opaque unless the format
    // carries transparency. Returns the image row delivered, or -1 on error.
    virtual int readRowWithAlpha(std::uint8_t* rgba);

    // Bytes the decoder itself will hold besides the bitmap, known after open; the
    // loader counts them against the budget too.
    virtual std::uint64_t workingMemory() const { return 0; }

    // Encoding: the decoders that cannot encode refuse.
    virtual bool startEncoding(const std::filesystem::path& path, int width, int height);
    virtual bool writeRow(const std::uint8_t* rgb);
    // Finishes an encoding; true when the file is complete.
    virtual bool close();

    // The unload or cancel request that a long step inside one read looks at too.
    void watch(const std::atomic<bool>* cancel) { cancel_ = cancel; }

    const ImageShape& shape() const { return shape_; }
    const Palette& palette() const { return palette_; }

protected:
    bool cancelled() const { return cancel_ && cancel_->load(std::memory_order_acquire); }
    // Fills the palette with 256 grey levels.
    void setGreyPalette();

    ImageShape shape_;
    Palette palette_{};
    int pixelBytes_ = 3;

private:
    const std::atomic<bool>* cancel_ = nullptr;
    std::vector<std::uint8_t> alphaScratch_;
};

}  // namespace wendra::maps
