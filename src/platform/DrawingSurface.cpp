#include "platform/DrawingSurface.h"

namespace wendra::platform {

void DrawingSurface::drawImage(const ImageList& images, int index, Point at) {
    images.draw(pixels(), index, at, clipArea());
}

void DrawingSurface::copyBlock(const PixelBuffer& source, const Rect& sourceArea, Point dest) {
    // Clip the destination first, then copy what is left of the source.
    const Rect target =
        rectOf(dest, Size{sourceArea.width(), sourceArea.height()}).intersected(clipArea());
    if (target.empty()) return;
    const Rect from = target.translated(sourceArea.left - dest.x, sourceArea.top - dest.y);
    pixels().copyFrom(source, from, Point{target.left, target.top});
}

}  // namespace wendra::platform
