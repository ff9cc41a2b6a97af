#include "maps/MapImageLoad.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <new>
#include <vector>

#include "maps/DecoderChoice.h"

namespace wendra::maps {

namespace {

LoadResult fromOpen(OpenResult opened) {
    switch (opened) {
        case OpenResult::Opened:
            return LoadResult::Loaded;
        case OpenResult::CannotOpen:
            return LoadResult::CannotOpen;
        case OpenResult::Unsupported:
            break;
    }
    return LoadResult::Unsupported;
}

const char* messageFormat(LoadResult result) {
    switch (result) {
        case LoadResult::CannotOpen:
            return "Unable to open file %s";
        case LoadResult::Unsupported:
            return "Unsupported format in %s";
        case LoadResult::NotEnoughMemory:
            return "Not enought memoiry to load %s";
        case LoadResult::Error:
            return "Error during loading of %s";
        case LoadResult::Loaded:
        case LoadResult::Cancelled:
            break;
    }
    return nullptr;
}

}  // namespace

std::string loadMessage(LoadResult result, const std::string& imagePath) {
    const char* format = messageFormat(result);
    if (!format) return {};
    const char* mark = std::strstr(format, "%s");
    return std::string(format, mark) + imagePath + (mark + 2);
}

namespace {

constexpr std::uintptr_t kCacheLine = 64;
constexpr std::uintptr_t kLineSkew = 8;

// libjpeg-turbo's SIMD colour conversion writes a row that starts on a vector boundary
// with non-temporal stores, which go around the cache; the sink reads the row back at
// once, so a line starting 8 bytes past a boundary keeps it in the cache (on a large
// JPEG this is a third of the load's time).
std::uint8_t* skewedLine(std::vector<std::uint8_t>& scratch) {
    const auto start = reinterpret_cast<std::uintptr_t>(scratch.data());
    return scratch.data() + ((kLineSkew - start) & (kCacheLine - 1));
}

LoadResult deliverRows(MapImageDecoder& decoder, const std::filesystem::path& path, RowSink& sink,
                       const std::atomic<bool>& cancel) {
    if (sink.takesFourBytePixels()) decoder.preferFourBytePixels();
    const LoadResult opened = fromOpen(decoder.open(path));
    if (opened != LoadResult::Loaded) return opened;
    if (cancel.load(std::memory_order_acquire)) return LoadResult::Cancelled;
    if (!sink.begin(decoder)) return LoadResult::NotEnoughMemory;
    const ImageShape& shape = decoder.shape();
    std::vector<std::uint8_t> scratch;
    try {
        scratch.resize(static_cast<std::size_t>(shape.width) * decoder.pixelBytes() + kCacheLine);
    } catch (const std::bad_alloc&) {
        return LoadResult::NotEnoughMemory;
    }
    std::uint8_t* const line = skewedLine(scratch);
    for (int rows = 0; rows < shape.height; ++rows) {
        if (cancel.load(std::memory_order_acquire)) return LoadResult::Cancelled;
        const int imageRow = decoder.readRow(line);
        if (imageRow < 0 && cancel.load(std::memory_order_acquire)) return LoadResult::Cancelled;
        if (imageRow < 0 || imageRow >= shape.height) return LoadResult::Error;
        sink.takeRow(imageRow, line);
    }
    return LoadResult::Loaded;
}

}  // namespace

LoadResult decodeRows(MapImageDecoder& decoder, const std::filesystem::path& path, RowSink& sink,
                      const std::atomic<bool>& cancel) {
    // The decoder looks at the request inside long steps too, but only while it is ours.
    decoder.watch(&cancel);
    const LoadResult result = deliverRows(decoder, path, sink, cancel);
    decoder.watch(nullptr);
    return result;
}

bool MapImageBuilder::begin(const MapImageDecoder& decoder) {
    const ImageShape& shape = decoder.shape();
    if (memoryNeed(shape) + decoder.workingMemory() > budget_) return false;
    image_ = MapImage::allocate(shape);
    if (!image_) return false;
    pixelBytes_ = decoder.pixelBytes();
    if (shape.palette) {
        const Palette& p = decoder.palette();
        for (int i = 0; i < 256; ++i)
            image_->palette()[i] = nightPixel(mode_, p[i * 3], p[i * 3 + 1], p[i * 3 + 2]);
    }
    return true;
}

void MapImageBuilder::takeRow(int imageRow, const std::uint8_t* row) {
    const int storageRow = image_->storageRowOf(imageRow);
    if (image_->hasPalette()) {
        std::memcpy(image_->indexRow(storageRow), row, image_->width());
    } else if (pixelBytes_ == 4) {
        convertRgbxRow(mode_, row, image_->width(), image_->pixelRow(storageRow));
    } else {
        convertRgbRow(mode_, row, image_->width(), image_->pixelRow(storageRow));
    }
}

MapImageLoad loadMapImage(const std::filesystem::path& path, NightMode mode,
                          std::uint64_t memoryBudget, const std::atomic<bool>& cancel) {
    const std::unique_ptr<MapImageDecoder> decoder = createDecoder(chooseFormat(path));
    MapImageBuilder builder(mode, memoryBudget);
    MapImageLoad load;
    load.result = decodeRows(*decoder, path, builder, cancel);
    if (load.result == LoadResult::Loaded) load.image = builder.take();
    return load;
}

ImageHeader readImageHeader(const std::filesystem::path& path) {
    const std::unique_ptr<MapImageDecoder> decoder = createDecoder(chooseFormat(path));
    ImageHeader header;
    header.result = fromOpen(decoder->open(path));
    if (header.result == LoadResult::Loaded) header.shape = decoder->shape();
    return header;
}

}  // namespace wendra::maps
