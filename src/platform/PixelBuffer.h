#pragma once
// A block of 16-bit pixels (see Rgb16.h), rows one after the other with no padding:
// the view's back buffer, a saved screen area, a map bitmap. Every copy and fill is
// clipped to both buffers, so no rectangle can reach outside their pixels.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/Geometry.h"
#include "platform/Rgb16.h"

namespace wendra::platform {

class PixelBuffer {
public:
    PixelBuffer() = default;
    explicit PixelBuffer(Size size, Pixel16 fill = 0);

    // New size, every pixel set to the fill value (the old picture is gone).
    void reset(Size size, Pixel16 fill = 0);

    Size size() const { return size_; }
    int width() const { return size_.width; }
    int height() const { return size_.height; }
    // Pixels from one row to the next.
    int pitch() const { return size_.width; }
    Rect bounds() const { return Rect{0, 0, size_.width, size_.height}; }
    bool empty() const { return pixels_.empty(); }

    Pixel16* data() { return pixels_.data(); }
    const Pixel16* data() const { return pixels_.data(); }
    Pixel16* row(int y) { return pixels_.data() + static_cast<std::size_t>(y) * pitch(); }
    const Pixel16* row(int y) const {
        return pixels_.data() + static_cast<std::size_t>(y) * pitch();
    }

    // Reading outside gives 0; writing outside does nothing.
    Pixel16 at(int x, int y) const;
    void set(int x, int y, Pixel16 pixel);

    void fill(Pixel16 pixel);
    void fill(const Rect& area, Pixel16 pixel);

    // The block copy: the source rectangle goes to dest in this buffer. Source and
    // this may be the same buffer, overlapping areas included.
    void copyFrom(const PixelBuffer& source, const Rect& sourceArea, Point dest);
    // A copy of an area (clipped), for saving what lies under a band or an icon.
    PixelBuffer copyOf(const Rect& area) const;

    // How many pixels of the area still carry the "not yet painted" mark.
    std::size_t countUnpainted(const Rect& area) const;

private:
    Size size_{};
    std::vector<Pixel16> pixels_;
};

}  // namespace wendra::platform
