#include "platform/qt/QtImages.h"

#include <QImage>
#include <QImageReader>
#include <cstring>
#include <vector>

namespace wendra::platform::qt {

namespace {

constexpr int kMaxStripSide = 8192;  // icons, not maps: refuse anything larger

}  // namespace

std::optional<ImageList> loadImageList(const std::filesystem::path& file, int imageWidth,
                                       std::optional<ColorRef> transparent) {
    QImageReader reader(QString::fromStdString(file.string()));
    const QSize size = reader.size();
    if (size.isValid() && (size.width() > kMaxStripSide || size.height() > kMaxStripSide))
        return std::nullopt;
    const QImage decoded = reader.read();
    if (decoded.isNull() || decoded.width() > kMaxStripSide || decoded.height() > kMaxStripSide)
        return std::nullopt;
    const QImage argb = decoded.convertToFormat(QImage::Format_ARGB32);
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(argb.width()) * argb.height());
    for (int y = 0; y < argb.height(); ++y)
        std::memcpy(pixels.data() + static_cast<std::size_t>(y) * argb.width(),
                    argb.constScanLine(y),
                    static_cast<std::size_t>(argb.width()) * sizeof(std::uint32_t));
    ImageList list =
        ImageList::fromArgb(pixels, Size{argb.width(), argb.height()}, imageWidth, transparent);
    if (list.count() == 0) return std::nullopt;
    return list;
}

}  // namespace wendra::platform::qt
