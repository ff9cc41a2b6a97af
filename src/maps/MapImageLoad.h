#pragma once
// Loading a map image: a decoder delivers its rows, one at a time, to a sink; the
// loader looks at an unload or cancel request before every row and stops with its
// own result when asked, so no load thread ever has to be killed. The bitmap sink
// refuses, before allocating anything, an image whose memory need exceeds the budget.

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

#include "maps/MapImage.h"
#include "maps/MapImageDecoder.h"
#include "maps/NightMode.h"

namespace wendra::maps {

enum class LoadResult {
    Loaded,
    CannotOpen,       // "Unable to open file %s"
    Unsupported,      // "Unsupported format in %s"
    NotEnoughMemory,  // "Not enought memoiry to load %s"
    Error,            // "Error during loading of %s"
    Cancelled,        // an unload was requested: no message
};

// The program's message for a failed load of `imagePath`; empty for Loaded and Cancelled.
std::string loadMessage(LoadResult result, const std::string& imagePath);

// Receives an opened image: its shape and palette first, then its rows.
class RowSink {
public:
    virtual ~RowSink() = default;
    // True asks the decoder for four-byte true-colour pixels, which it may grant.
    virtual bool takesFourBytePixels() const { return false; }
    // False refuses the image for want of memory.
    virtual bool begin(const MapImageDecoder& decoder) = 0;
    // Image row `imageRow` (from the top): palette indices, or true-colour pixels of
    // the decoder's pixelBytes().
    virtual void takeRow(int imageRow, const std::uint8_t* row) = 0;
};

// Opens `path` with `decoder` and hands every row to `sink`.
LoadResult decodeRows(MapImageDecoder& decoder, const std::filesystem::path& path, RowSink& sink,
                      const std::atomic<bool>& cancel);

// Builds the map bitmap from the rows, through the night colours.
class MapImageBuilder final : public RowSink {
public:
    MapImageBuilder(NightMode mode, std::uint64_t memoryBudget)
        : mode_(mode), budget_(memoryBudget) {}

    bool takesFourBytePixels() const override { return true; }
    bool begin(const MapImageDecoder& decoder) override;
    void takeRow(int imageRow, const std::uint8_t* row) override;

    std::unique_ptr<MapImage> take() { return std::move(image_); }

private:
    NightMode mode_;
    std::uint64_t budget_;
    int pixelBytes_ = 3;
    std::unique_ptr<MapImage> image_;
};

struct MapImageLoad {
    LoadResult result = LoadResult::Error;
    std::unique_ptr<MapImage> image;  // set when Loaded
};

// The whole load of one map image: the decoder chosen for the file, its rows converted
// by `mode` into a bitmap that may need at most `memoryBudget` bytes.
MapImageLoad loadMapImage(const std::filesystem::path& path, NightMode mode,
                          std::uint64_t memoryBudget, const std::atomic<bool>& cancel);

// Header only: the shape of the image, without allocating the bitmap.
struct ImageHeader {
    LoadResult result = LoadResult::Error;  // Loaded when the shape is known
    ImageShape shape;
};
ImageHeader readImageHeader(const std::filesystem::path& path);

}  // namespace wendra::maps
