#pragma once
// Icon strips read from image files (PNG, BMP, ...) with Qt's decoders into image
// lists of the view's format.

#include <filesystem>
#include <optional>

#include "platform/ImageList.h"

namespace wendra::platform::qt {

// Cuts the picture into images `imageWidth` wide; nullopt when the file is not a
// picture Qt can read.
std::optional<ImageList> loadImageList(const std::filesystem::path& file, int imageWidth,
                                       std::optional<ColorRef> transparent = std::nullopt);

}  // namespace wendra::platform::qt
