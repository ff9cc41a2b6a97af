// Arbitrary bytes through the PNG map image reader (libpng behind it).

#include "MapImageFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const wendra::fuzz::MemoryInput input("png_image_fuzz");
    return wendra::fuzz::loadAs(wendra::maps::ImageFormat::Png, input, data, size);
}
