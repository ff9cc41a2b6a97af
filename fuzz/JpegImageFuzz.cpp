// Arbitrary bytes through the JPEG map image reader (libjpeg-turbo behind it).

#include "MapImageFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const wendra::fuzz::MemoryInput input("jpeg_image_fuzz");
    return wendra::fuzz::loadAs(wendra::maps::ImageFormat::Jpeg, input, data, size);
}
