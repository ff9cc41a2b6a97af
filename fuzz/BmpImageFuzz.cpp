// Arbitrary bytes through the BMP map image reader.

#include "MapImageFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const wendra::fuzz::MemoryInput input("bmp_image_fuzz");
    return wendra::fuzz::loadAs(wendra::maps::ImageFormat::Bmp, input, data, size);
}
