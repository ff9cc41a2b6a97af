// Arbitrary bytes through the GIF map image reader.

#include "MapImageFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const wendra::fuzz::MemoryInput input("gif_image_fuzz");
    return wendra::fuzz::loadAs(wendra::maps::ImageFormat::Gif, input, data, size);
}
