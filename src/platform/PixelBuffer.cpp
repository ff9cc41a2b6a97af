#include "platform/PixelBuffer.h"

#include <algorithm>
#include <cstring>

namespace wendra::platform {

PixelBuffer::PixelBuffer(Size size, Pixel16 fill) {
    reset(size, fill);
}

void PixelBuffer::reset(Size size, Pixel16 fill) {
    size_ = Size{std::max(size.width, 0), std::max(size.height, 0)};
    if (size_.width == 0 || size_.height == 0) size_ = Size{};
    pixels_.assign(static_cast<std::size_t>(size_.width) * static_cast<std::size_t>(size_.height),
                   fill);
}

Pixel16 PixelBuffer::at(int x, int y) const {
    return bounds().contains(Point{x, y}) ? row(y)[x] : Pixel16{0};
}

void PixelBuffer::set(int x, int y, Pixel16 pixel) {
    if (bounds().contains(Point{x, y})) row(y)[x] = pixel;
}

void PixelBuffer::fill(Pixel16 pixel) {
    std::fill(pixels_.begin(), pixels_.end(), pixel);
}

void PixelBuffer::fill(const Rect& area, Pixel16 pixel) {
    const Rect clipped = area.intersected(bounds());
    if (clipped.empty()) return;
    for (int y = clipped.top; y < clipped.bottom; ++y)
        std::fill(row(y) + clipped.left, row(y) + clipped.right, pixel);
}

void PixelBuffer::copyFrom(const PixelBuffer& source, const Rect& sourceArea, Point dest) {
    // Clip against the source first, then move the destination by what was cut.
    Rect from = sourceArea.intersected(source.bounds());
    Point to{dest.x + (from.left - sourceArea.left), dest.y + (from.top - sourceArea.top)};
    const Rect target = rectOf(to, Size{from.width(), from.height()}).intersected(bounds());
    if (from.empty() || target.empty()) return;
    from = Rect{from.left + (target.left - to.x), from.top + (target.top - to.y), 0, 0};
    const int width = target.width();
    const std::size_t bytes = static_cast<std::size_t>(width) * sizeof(Pixel16);
    // Copying downwards within one buffer must walk the rows from the bottom.
    const bool upwards = &source == this && target.top > from.top;
    for (int i = 0; i < target.height(); ++i) {
        const int step = upwards ? target.height() - 1 - i : i;
        std::memmove(row(target.top + step) + target.left, source.row(from.top + step) + from.left,
                     bytes);
    }
}

PixelBuffer PixelBuffer::copyOf(const Rect& area) const {
    const Rect clipped = area.intersected(bounds());
    PixelBuffer copy;
    if (clipped.empty()) return copy;
    copy.reset(Size{clipped.width(), clipped.height()});
    copy.copyFrom(*this, clipped, Point{0, 0});
    return copy;
}

std::size_t PixelBuffer::countUnpainted(const Rect& area) const {
    const Rect clipped = area.intersected(bounds());
    std::size_t count = 0;
    if (clipped.empty()) return count;
    for (int y = clipped.top; y < clipped.bottom; ++y)
        count += static_cast<std::size_t>(
            std::count_if(row(y) + clipped.left, row(y) + clipped.right,
                          [](Pixel16 pixel) { return (pixel & kUnpaintedBit) != 0; }));
    return count;
}

}  // namespace wendra::platform
