#pragma once
// Which decoder reads a map image. The file's first bytes decide when they name a
// format the program reads, so that a ".jpeg", or a PNG saved as ".bmp", still loads;
// otherwise the path's last four characters do (".jpg", ".gif", ".png", any letter
// case), and anything else goes to the BMP reader.

#include <filesystem>
#include <memory>

#include "maps/MapImageDecoder.h"

namespace wendra::maps {

enum class ImageFormat { Jpeg, Gif, Png, Bmp };

ImageFormat formatByExtension(const std::filesystem::path& path);
// The format the first bytes announce; by extension when they announce none.
ImageFormat chooseFormat(const std::filesystem::path& path);

std::unique_ptr<MapImageDecoder> createDecoder(ImageFormat format);

}  // namespace wendra::maps
