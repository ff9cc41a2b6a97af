#include "maps/MapImageLoad.h"

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

LoadResult deliverRows(MapImageDecoder& decoder, const std::filesystem::path& path, RowSink& sink,
                       const std::atomic<bool>& cancel) {
    const LoadResult opened = fromOpen(decoder.open(path));
    if (opened != LoadResult::Loaded) return opened;
    if (cancel.load(std::memory_order_acquire)) return LoadResult::Cancelled;
    if (!sink.begin(decoder)) return LoadResult::NotEnoughMemory;
    const ImageShape& shape = decoder.shape();
    std::vector<std::uint8_t> line;
    try {
        line.resize(static_cast<std::size_t>(shape.width) * 3);
    } catch (const std::bad_alloc&) {
        return LoadResult::NotEnoughMemory;
    }
    for (int rows = 0; rows < shape.height; ++rows) {
        if (cancel.load(std::memory_order_acquire)) return LoadResult::Cancelled;
        const int imageRow = decoder.readRow(line.data());
        if (imageRow < 0 && cancel.load(std::memory_order_acquire)) return LoadResult::Cancelled;
        if (imageRow < 0 || imageRow >= shape.height) return LoadResult::Error;
        sink.takeRow(imageRow, line.data());
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
