#include "platform/ImageList.h"

#include <algorithm>
#include <cstddef>

namespace wendra::platform {

namespace {

constexpr std::uint32_t kHalfAlpha = 0x80;

ColorRef colourOfArgb(std::uint32_t argb) {
    return rgb((argb >> 16) & 0xFFu, (argb >> 8) & 0xFFu, argb & 0xFFu);
}

}  // namespace

ImageList ImageList::fromArgb(const std::vector<std::uint32_t>& pixels, Size stripSize,
                              int imageWidth, std::optional<ColorRef> transparent) {
    ImageList list;
    const std::size_t expected = static_cast<std::size_t>(std::max(stripSize.width, 0)) *
                                 static_cast<std::size_t>(std::max(stripSize.height, 0));
    if (imageWidth <= 0 || stripSize.height <= 0 || stripSize.width < imageWidth ||
        pixels.size() < expected)
        return list;
    list.imageSize_ = Size{imageWidth, stripSize.height};
    list.count_ = stripSize.width / imageWidth;
    list.pixels_.reset(stripSize);
    list.opaque_.assign(expected, 0);
    for (std::size_t i = 0; i < expected; ++i) {
        const std::uint32_t argb = pixels[i];
        const ColorRef colour = colourOfArgb(argb);
        const bool seeThrough =
            (argb >> 24) < kHalfAlpha || (transparent && colour == *transparent);
        list.pixels_.data()[i] = toPixel16(colour);
        list.opaque_[i] = seeThrough ? 0 : 1;
    }
    return list;
}

void ImageList::draw(PixelBuffer& target, int index, Point at, const Rect& clip) const {
    if (index < 0 || index >= count_) return;
    const Rect area = rectOf(at, imageSize_).intersected(clip).intersected(target.bounds());
    if (area.empty()) return;
    const int sourceLeft = index * imageSize_.width + (area.left - at.x);
    for (int y = area.top; y < area.bottom; ++y) {
        const int sourceRow = y - at.y;
        const Pixel16* from = pixels_.row(sourceRow) + sourceLeft;
        const std::uint8_t* mask =
            opaque_.data() + static_cast<std::size_t>(sourceRow) * pixels_.pitch() + sourceLeft;
        Pixel16* to = target.row(y) + area.left;
        for (int x = 0; x < area.width(); ++x)
            if (mask[x]) to[x] = from[x];
    }
}

}  // namespace wendra::platform
