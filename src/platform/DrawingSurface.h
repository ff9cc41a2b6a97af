#pragma once
// What the view, the graph, the dashboards and owner-drawn controls draw with: GDI
// style pens, brushes and fonts chosen by value, shapes and text onto a 16-bit
// buffer. Drawing is aliased and in the buffer's colours, so every pixel it puts
// down has the "not yet painted" bit clear; pixels() gives direct access for the
// map painter and block copies. Coordinates outside the buffer are clipped.

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "platform/Geometry.h"
#include "platform/ImageList.h"
#include "platform/PixelBuffer.h"
#include "platform/Rgb16.h"

namespace wendra::platform {

enum class PenStyle { Solid, Dash, None };

struct Pen {
    PenStyle style = PenStyle::Solid;
    int width = 1;  // pixels; 0 draws as 1
    ColorRef colour = 0;

    bool operator==(const Pen&) const = default;
};

struct Brush {
    bool hollow = false;  // a hollow brush fills nothing
    ColorRef colour = rgb(255, 255, 255);

    bool operator==(const Brush&) const = default;
};

// Chosen like the handheld chose them: average character width and cell height.
struct Font {
    int width = 0;  // 0: the face's own proportions
    int height = 13;
    bool bold = false;

    bool operator==(const Font&) const = default;
};

// Text placement flags, combined with |.
namespace text {
inline constexpr std::uint32_t kLeft = 0x0000;
inline constexpr std::uint32_t kCentre = 0x0001;
inline constexpr std::uint32_t kRight = 0x0002;
inline constexpr std::uint32_t kTop = 0x0000;
inline constexpr std::uint32_t kVCentre = 0x0004;
inline constexpr std::uint32_t kBottom = 0x0008;
inline constexpr std::uint32_t kWordBreak = 0x0010;
inline constexpr std::uint32_t kSingleLine = 0x0020;
inline constexpr std::uint32_t kNoClip = 0x0100;
}  // namespace text

// A text laid out once for a box of one size and kept by the surface, to be drawn
// again and again at places that change without being looked up again: the labels of
// the map view, frame after frame. Good while the surface's holds() says so (it
// forgets its layouts now and then).
struct TextHandle {
    const void* layout = nullptr;
    std::uint64_t stamp = 0;
    Rect taken{};  // the box the text takes, relative to its box's top left
};

// A kept text, where its box's top left goes and in what colour.
struct PlacedText {
    TextHandle text;
    Point at{};
    ColorRef colour = 0;
};

class DrawingSurface {
public:
    virtual ~DrawingSurface() = default;

    virtual PixelBuffer& pixels() = 0;
    Size size() { return pixels().size(); }

    virtual void setPen(const Pen& pen) = 0;
    virtual void setBrush(const Brush& brush) = 0;
    virtual void setFont(const Font& font) = 0;
    virtual void setTextColour(ColorRef colour) = 0;
    virtual void setBackgroundColour(ColorRef colour) = 0;
    // Transparent text leaves the background under the letters; opaque fills the
    // text's box with the background colour first.
    virtual void setTransparentText(bool transparent) = 0;
    // Drawing stays inside the rectangle until the clip is lifted.
    virtual void setClip(std::optional<Rect> clip) = 0;

    // Exactly the pixels of the rectangle, in the colour; pen and brush unused.
    virtual void fillRect(const Rect& area, ColorRef colour) = 0;
    // Brush inside, pen outline on the rectangle's outermost pixels.
    virtual void rectangle(const Rect& area) = 0;
    virtual void roundRect(const Rect& area, int cornerWidth, int cornerHeight) = 0;
    virtual void ellipse(const Rect& bounds) = 0;
    virtual void polyline(std::span<const Point> points) = 0;
    // Closed and filled with the brush (alternate filling), outlined with the pen.
    virtual void polygon(std::span<const Point> points) = 0;

    // Text in the box with the placement flags; "\n" breaks lines unless kSingleLine.
    // Returns the box the text took.
    virtual Rect drawText(std::u16string_view text, const Rect& box, std::uint32_t flags) = 0;
    // The box the text would take, without drawing.
    virtual Rect measureText(std::u16string_view text, const Rect& box, std::uint32_t flags) = 0;
    // The text laid out with the font in force for a box of the size.
    virtual TextHandle layOutText(std::u16string_view text, Size box, std::uint32_t flags) = 0;
    virtual bool holds(const TextHandle& text) const = 0;
    // The kept texts in their order, transparent; texts no longer held are left out.
    virtual void drawTexts(std::span<const PlacedText> texts) = 0;

    void line(Point from, Point to) {
        const Point ends[] = {from, to};
        polyline(ends);
    }
    void drawImage(const ImageList& images, int index, Point at);
    // A block of pixels from another buffer (or this one) onto the surface.
    void copyBlock(const PixelBuffer& source, const Rect& sourceArea, Point dest);

protected:
    // The clip in force, for the direct pixel operations above.
    virtual Rect clipArea() = 0;
};

}  // namespace wendra::platform
