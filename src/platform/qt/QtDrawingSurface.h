#pragma once
// The drawing surface over a 16-bit buffer, painted by QPainter on a
// QImage::Format_RGB16 that shares the buffer's memory. Colours are cut to the
// buffer's five bits per component before drawing and nothing is antialiased, so
// every pixel drawn has the "not yet painted" bit clear. The buffer must outlive
// the surface; after resizing it, call attach() again.

#include <QFont>
#include <QImage>
#include <QPainter>
#include <map>
#include <memory>
#include <optional>
#include <tuple>

#include "platform/DrawingSurface.h"
#include "platform/LineRaster.h"
#include "platform/qt/LaidOutText.h"

namespace wendra::platform::qt {

class QtDrawingSurface final : public DrawingSurface {
public:
    explicit QtDrawingSurface(PixelBuffer& buffer);
    ~QtDrawingSurface() override;

    void attach(PixelBuffer& buffer);
    // Ends the painter so that the picture can be shown or saved.
    void flush();
    // The buffer as an image without copying; valid until the buffer changes.
    const QImage& image() const { return image_; }

    PixelBuffer& pixels() override { return *buffer_; }
    void setPen(const Pen& pen) override { pen_ = pen; }
    void setBrush(const Brush& brush) override { brush_ = brush; }
    void setFont(const Font& font) override { font_ = font; }
    void setTextColour(ColorRef colour) override { textColour_ = colour; }
    void setBackgroundColour(ColorRef colour) override { backgroundColour_ = colour; }
    void setTransparentText(bool transparent) override { transparentText_ = transparent; }
    void setClip(std::optional<Rect> clip) override;

    void fillRect(const Rect& area, ColorRef colour) override;
    void rectangle(const Rect& area) override;
    void roundRect(const Rect& area, int cornerWidth, int cornerHeight) override;
    void ellipse(const Rect& bounds) override;
    void polyline(std::span<const Point> points) override;
    void polygon(std::span<const Point> points) override;
    Rect drawText(std::u16string_view text, const Rect& box, std::uint32_t flags) override;
    Rect measureText(std::u16string_view text, const Rect& box, std::uint32_t flags) override;
    TextHandle layOutText(std::u16string_view text, Size box, std::uint32_t flags) override;
    bool holds(const TextHandle& text) const override { return text.stamp == texts_.stamp(); }
    void drawTexts(std::span<const PlacedText> texts) override;

    // The Qt font that stands for a program font, and how much its letters are
    // widened (or narrowed) to give the character width asked for (cached).
    struct QtFont {
        QFont font;
        qreal xScale = 1.0;
    };
    const QtFont& qtFont(const Font& font);

protected:
    Rect clipArea() override;

private:
    QPainter& painter();
    QPainter& shapePainter();  // with the pen and brush applied
    const LaidOutText& laidOut(std::u16string_view text, const Rect& box, std::uint32_t flags,
                               bool letters);
    void inkLetters(const LaidOutText& laid, Point at, ColorRef colour);
    static void drawLetters(LaidOutText& laid, const QtFont& font, const QString& text,
                            const QRect& layout, const QRect& taken, std::uint32_t flags);

    PixelBuffer* buffer_;
    QImage image_;
    std::unique_ptr<QPainter> painter_;
    Pen pen_;
    Brush brush_;
    Font font_;
    ColorRef textColour_ = 0;
    ColorRef backgroundColour_ = rgb(255, 255, 255);
    bool transparentText_ = false;
    std::optional<Rect> clip_;
    LineRaster lines_;
    TextRunCache texts_;
    std::map<std::tuple<int, int, bool>, QtFont> fonts_;
};

}  // namespace wendra::platform::qt
