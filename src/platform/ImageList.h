#pragma once
// Icons of one size kept side by side, drawn by index onto a 16-bit buffer with
// their transparent pixels left out (the icon lists of the view, the buttons, the
// points). Drawing an index outside the list draws nothing.

#include <cstdint>
#include <optional>
#include <vector>

#include "platform/Geometry.h"
#include "platform/PixelBuffer.h"

namespace wendra::platform {

class ImageList {
public:
    ImageList() = default;

    // Cuts a strip of 0xAARRGGBB pixels (rows of `width`) into images `imageWidth`
    // wide; a pixel is see-through when its alpha is below one half or when it has
    // the transparent colour. A strip narrower than one image gives an empty list.
    static ImageList fromArgb(const std::vector<std::uint32_t>& pixels, Size stripSize,
                              int imageWidth, std::optional<ColorRef> transparent = std::nullopt);

    Size imageSize() const { return imageSize_; }
    int count() const { return count_; }

    // Draws image `index` with its top left at `at`, inside `clip` only.
    void draw(PixelBuffer& target, int index, Point at, const Rect& clip) const;
    void draw(PixelBuffer& target, int index, Point at) const {
        draw(target, index, at, target.bounds());
    }

private:
    Size imageSize_{};
    int count_ = 0;
    PixelBuffer pixels_;                // the strip in the view's format
    std::vector<std::uint8_t> opaque_;  // one flag per strip pixel
};

}  // namespace wendra::platform
