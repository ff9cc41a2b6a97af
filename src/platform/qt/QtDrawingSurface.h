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
#include <vector>

#include "platform/DrawingSurface.h"
#include "platform/LineRaster.h"
#include "platform/qt/GlyphCache.h"
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
        std::shared_ptr<GlyphCache> glyphs;  // its letters, for the texts they compose
    };
    const QtFont& qtFont(const Font& font);
    // Texts are composed from the fonts' kept letters where that gives Qt's own pixels;
    // off, Qt lays out every text (to compare the two).
    void composeTexts(bool compose) { compose_ = compose; }

protected:
    Rect clipArea() override;

private:
    QPainter& painter();
    QPainter& shapePainter();  // with the pen and brush applied
    const LaidOutText& laidOut(std::u16string_view text, const Rect& box, std::uint32_t flags,
                               bool letters);
    void inkLetters(const LaidOutText& laid, Point at, ColorRef colour);
    // Which pixels of the letters' scaled picture are inked, row by row.
    struct InkGrid {
        int width = 0;
        int height = 0;
        std::vector<std::uint8_t> on;
    };
    static void drawLetters(LaidOutText& laid, const QtFont& font,
                            const GlyphCache::Composed* composed, const QString& text,
                            const QRect& layout, const QRect& taken, std::uint32_t flags);
    static void composedInk(InkGrid& grid, const QtFont& font, const GlyphCache::Composed& composed,
                            const QRect& area, const QRect& target);
    static void qtInk(InkGrid& grid, const QtFont& font, const QString& text, const QRect& layout,
                      const QRect& area, const QRect& target, std::uint32_t flags);
    static void maskOf(LaidOutText& laid, const InkGrid& grid, QPoint origin);

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
    GlyphCache::Composed composed_;
    bool compose_ = true;
    std::map<std::tuple<int, int, bool>, QtFont> fonts_;
};

}  // namespace wendra::platform::qt
