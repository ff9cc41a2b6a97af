#include "maps/MapPainter.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>

#include "maps/RowGather.h"

namespace wendra::maps {

namespace {

using platform::kUnpaintedBit;
using platform::Pixel16;

// Corners are placed to 1/64 pixel, the walk steps in 1/8192 pixel.
constexpr double kSubPixels = 64.0;
constexpr int kFractionBits = kRowFractionBits;
constexpr std::int64_t kOne = std::int64_t{1} << kFractionBits;
constexpr std::int64_t kCornerToFixed = kOne / 64;
// Beyond this distance from corner 0 to corner 3 the steps lose their precision.
constexpr double kMaxCornerSpan = 131072.0 * kSubPixels;
// A corner this far off the image belongs to a view that shows the whole earth on a
// few pixels; refusing it keeps every product of the walk inside 64 bits.
constexpr double kMaxCornerOffset = double(1 << 30) * kSubPixels;

// A map position in 1/8192 pixel, y counted from the bottom row of the image.
struct Fixed {
    std::int64_t x = 0;
    std::int64_t y = 0;
};

// Columns i of a row whose values v(i) = start + step*i lie in [0, limit).
struct Span {
    std::int64_t first = 0;
    std::int64_t end = 0;  // exclusive
};

std::int64_t floorDiv(std::int64_t a, std::int64_t b) {
    const std::int64_t q = a / b;
    return (a % b != 0 && ((a < 0) != (b < 0))) ? q - 1 : q;
}

std::int64_t ceilDiv(std::int64_t a, std::int64_t b) {
    return -floorDiv(-a, b);
}

std::int64_t roundDiv(std::int64_t a, std::int64_t b) {
    return floorDiv(2 * a + b, 2 * b);
}

Span insideSpan(std::int64_t start, std::int64_t step, std::int64_t limit) {
    if (step == 0) return (start >= 0 && start < limit) ? Span{INT64_MIN, INT64_MAX} : Span{};
    if (step > 0) return {ceilDiv(-start, step), floorDiv(limit - 1 - start, step) + 1};
    return {ceilDiv(start - (limit - 1), -step), floorDiv(start, -step) + 1};
}

Span intersect(Span a, Span b) {
    return {std::max(a.first, b.first), std::min(a.end, b.end)};
}

// The quick test on the map's box: a cell wholly on one side of it shows nothing.
bool outsideBox(const CalibratedMap& map, const MapCell& cell) {
    auto all = [&cell](auto test) { return std::all_of(cell.begin(), cell.end(), test); };
    return all([&](const CellCorner& c) { return c.latitude < map.minLatitude(); }) ||
           all([&](const CellCorner& c) { return c.latitude > map.maxLatitude(); }) ||
           all([&](const CellCorner& c) { return c.longitude < map.minLongitude(); }) ||
           all([&](const CellCorner& c) { return c.longitude > map.maxLongitude(); });
}

std::optional<std::int64_t> toSubPixels(float value) {
    if (!std::isfinite(value) || std::fabs(value * kSubPixels) > kMaxCornerOffset)
        return std::nullopt;
    return std::llround(static_cast<double>(value) * kSubPixels);
}

// The corners on the image in 1/64 pixel, or nothing when the cell cannot show it.
std::optional<std::array<Fixed, 4>> imageCorners(const CalibratedMap& map, const MapImage& image,
                                                 const MapCell& cell) {
    std::array<Fixed, 4> corners;
    for (int i = 0; i < kCornerCount; ++i) {
        MapPixel pixel;
        if (!map.geoToPixel(cell[i].latitude, cell[i].longitude, pixel)) return std::nullopt;
        const auto x = toSubPixels(pixel.x), y = toSubPixels(pixel.y);
        if (!x || !y) return std::nullopt;
        corners[i] = {*x, *y};
    }
    const std::int64_t limitX = std::int64_t{image.width() - 1} * 64;
    const std::int64_t limitY = std::int64_t{image.height() - 1} * 64;
    auto all = [&corners](auto test) { return std::all_of(corners.begin(), corners.end(), test); };
    if (all([](Fixed c) { return c.x < 0; }) || all([](Fixed c) { return c.y < 0; }) ||
        all([&](Fixed c) { return c.x >= limitX; }) || all([&](Fixed c) { return c.y >= limitY; }))
        return std::nullopt;
    const double spanX = double(corners[3].x - corners[0].x);
    const double spanY = double(corners[3].y - corners[0].y);
    if (std::hypot(spanX, spanY) > kMaxCornerSpan) return std::nullopt;
    for (Fixed& c : corners) c = {c.x * kCornerToFixed, c.y * kCornerToFixed};
    return corners;
}

Fixed lerp(Fixed a, Fixed b, double t) {
    return {a.x + std::llround(double(b.x - a.x) * t), a.y + std::llround(double(b.y - a.y) * t)};
}

struct TrueColourRows {
    static constexpr bool kDirect = true;
    const MapImage& image;
    using Row = const Pixel16*;
    Row row(std::int64_t storageRow) const { return image.pixelRow(int(storageRow)); }
    Pixel16 at(Row row, std::int64_t column) const { return row[column]; }
};

struct PaletteRows {
    static constexpr bool kDirect = false;
    const MapImage& image;
    const Pixel16* palette = image.palette();
    using Row = const std::uint8_t*;
    Row row(std::int64_t storageRow) const { return image.indexRow(int(storageRow)); }
    Pixel16 at(Row row, std::int64_t column) const { return palette[row[column]]; }
};

// The painted part of one row: out[i] takes the map pixel at (x + sx*i, y + sy*i)
// for i in [0, count), all of them known to lie on the image.
struct RowWalk {
    Pixel16* out;
    std::int64_t count;
    std::int64_t x, sx, y, sy;
};


// One map pixel per screen pixel on a north-up map: a masked copy of part of a row.
// The count is kept in 16-bit lanes, a chunk at a time, so that it vectorises with
// the copy; processors with wider vectors get a copy of their own. The choice is made
// by the loader before ThreadSanitizer is set up, which crashes such a program, so the
// thread-checked build does with the one copy.
#if defined(__SANITIZE_THREAD__)
#define WENDRA_THREAD_CHECKED 1
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define WENDRA_THREAD_CHECKED 1
#endif
#endif
#if defined(WENDRA_THREAD_CHECKED)
#define WENDRA_WIDER_VECTOR_COPY
#else
#define WENDRA_WIDER_VECTOR_COPY __attribute__((target_clones("avx2", "default")))
#endif
WENDRA_WIDER_VECTOR_COPY std::int64_t paintContiguous(Pixel16* __restrict out,
                                                      const Pixel16* __restrict from,
                                                      std::int64_t count) {
    constexpr std::int64_t kChunk = 0x8000;
    std::int64_t painted = 0;
    for (std::int64_t start = 0; start < count; start += kChunk) {
        const std::int64_t end = std::min(count, start + kChunk);
        std::uint16_t chunk = 0;
        for (std::int64_t i = start; i < end; ++i) {
            const Pixel16 old = out[i];
            const Pixel16 unpainted = (old & kUnpaintedBit) ? 0xFFFF : 0;
            out[i] = static_cast<Pixel16>((from[i] & unpainted) | (old & ~unpainted));
            chunk = static_cast<std::uint16_t>(chunk + (unpainted & 1));
        }
        painted += chunk;
    }
    return painted;
}

// How the map's pixels go into the view. Masked: only into pixels still marked
// unpainted, the others keep what a better map put there. Fresh: over a cell that
// holds nothing yet, so every pixel is written and none has to be read back.
struct MaskedStore {
    static constexpr bool kMasked = true;
    // Without a branch, so that the loops stay straight. Returns 1 when it painted.
    static std::int64_t put(Pixel16* __restrict out, Pixel16 mapPixel) {
        const Pixel16 old = *out;
        const bool unpainted = (old & kUnpaintedBit) != 0;
        *out = unpainted ? mapPixel : old;
        return unpainted;
    }
    static std::int64_t copy(Pixel16* __restrict out, const Pixel16* __restrict from,
                             std::int64_t count) {
        return paintContiguous(out, from, count);
    }
};

struct FreshStore {
    static constexpr bool kMasked = false;
    static std::int64_t put(Pixel16* __restrict out, Pixel16 mapPixel) {
        *out = mapPixel;
        return 1;
    }
    static std::int64_t copy(Pixel16* __restrict out, const Pixel16* __restrict from,
                             std::int64_t count) {
        std::memcpy(out, from, static_cast<std::size_t>(count) * sizeof(Pixel16));
        return count;
    }
};

// The most map pixels gathered at a time: a whole screen row for any view of today.
constexpr std::int64_t kGatherCapacity = 4096;

// Map pixels along a bitmap row, gathered into a straight run for the masked copy.
// A step of one pixel in 2^k screen pixels repeats each map pixel 2^k times from a
// start known to the half (quarter...) pixel, so it is written as a duplicating loop
// that vectorises; any other step takes the stepped gather (true colour) or the
// general walk (palette).
template <typename Rows>
void gatherContiguous(const Rows& rows, typename Rows::Row row, std::int64_t column,
                      std::int64_t count, Pixel16* __restrict to) {
    for (std::int64_t i = 0; i < count; ++i) to[i] = rows.at(row, column + i);
}

template <int kShift>
void repeatPixels(const Pixel16* __restrict from, std::int64_t x, std::int64_t count,
                  Pixel16* __restrict to) {
    constexpr std::int64_t kRepeat = std::int64_t{1} << kShift;
    // With a step of kOne >> kShift, pixel i shows column (sub + i) >> kShift exactly.
    const std::int64_t sub = x >> (kFractionBits - kShift);
    const std::int64_t phase = sub & (kRepeat - 1);
    std::int64_t column = sub >> kShift, i = 0;
    if (phase != 0) {
        // The first map pixel shows only its remaining repeats.
        for (; i < kRepeat - phase && i < count; ++i) to[i] = from[column];
        ++column;
    }
    const std::int64_t whole = (count - i) >> kShift;
    Pixel16* __restrict run = to + i;
    for (std::int64_t k = 0; k < whole; ++k) {
        const Pixel16 pixel = from[column + k];
        for (std::int64_t r = 0; r < kRepeat; ++r) run[k * kRepeat + r] = pixel;
    }
    column += whole;
    for (i += whole << kShift; i < count; ++i) to[i] = from[column];
}

template <int kShift, typename Rows>
void gatherRepeated(const Rows& rows, typename Rows::Row row, std::int64_t x, std::int64_t count,
                    Pixel16* __restrict to) {
    if constexpr (Rows::kDirect) {
        repeatPixels<kShift>(row, x, count, to);
    } else {
        // Colours looked up in a loop of their own, once per map pixel, vectorise;
        // looked up inside the duplicating loop they do not.
        const std::int64_t first = x >> kFractionBits;
        const std::int64_t last = (x + (count - 1) * (kOne >> kShift)) >> kFractionBits;
        Pixel16 colours[kGatherCapacity / 2 + 2];
        gatherContiguous(rows, row, first, last - first + 1, colours);
        repeatPixels<kShift>(colours, x - (first << kFractionBits), count, to);
    }
}

template <typename Rows>
void gatherRow(const Rows& rows, typename Rows::Row row, std::int64_t x, std::int64_t sx,
               std::int64_t count, Pixel16* __restrict to) {
    if (sx == kOne) return gatherContiguous(rows, row, x >> kFractionBits, count, to);
    if (sx == kOne / 2) return gatherRepeated<1>(rows, row, x, count, to);
    if (sx == kOne / 4) return gatherRepeated<2>(rows, row, x, count, to);
    if constexpr (Rows::kDirect) {
        return gatherStepped(row, rows.image.width(), x, sx, count, to);
    } else if (sx > 0 && sx < kOne) {
        // Zoomed in, the colours of the map pixels shown are fewer than the samples:
        // looked up once each, they are then gathered as a true colour row.
        const std::int64_t first = x >> kFractionBits;
        const std::int64_t last = (x + (count - 1) * sx) >> kFractionBits;
        Pixel16 colours[kGatherCapacity + 1];
        gatherContiguous(rows, row, first, last - first + 1, colours);
        return gatherStepped(colours, last - first + 1, x - (first << kFractionBits), sx, count,
                             to);
    }
    for (std::int64_t i = 0; i < count; ++i, x += sx) to[i] = rows.at(row, x >> kFractionBits);
}

// The last row gathered, kept for the next: zoomed north-up rows sample the same
// bitmap row with the same start and step several times running, and then only the
// copy has to run again. The masked store gathers into the buffer here; the fresh one
// straight into the view, whose previous row then serves as the copy's source.
struct GatheredRow {
    static constexpr std::int64_t kCapacity = kGatherCapacity;
    bool valid = false;
    std::int64_t storageRow = 0, x = 0, sx = 0, count = 0;
    const Pixel16* source = nullptr;
    Pixel16 pixels[kCapacity];

    bool holds(std::int64_t r, const RowWalk& w) const {
        return valid && storageRow == r && x == w.x && sx == w.sx && count == w.count;
    }
    void remember(std::int64_t r, const RowWalk& w, const Pixel16* at) {
        valid = true;
        storageRow = r;
        x = w.x;
        sx = w.sx;
        count = w.count;
        source = at;
    }
};

// Rows longer than the gathering buffers go a block at a time.
template <typename Rows>
void gatherBlocks(const Rows& rows, typename Rows::Row row, const RowWalk& w,
                  Pixel16* __restrict to) {
    for (std::int64_t start = 0; start < w.count; start += kGatherCapacity) {
        const std::int64_t n = std::min(kGatherCapacity, w.count - start);
        gatherRow(rows, row, w.x + w.sx * start, w.sx, n, to + start);
    }
}

template <typename Store, typename Rows>
std::int64_t paintAlongX(const RowWalk& w, const Rows& rows, GatheredRow& gathered) {
    const std::int64_t storageRow = w.y >> kFractionBits;
    const typename Rows::Row row = rows.row(storageRow);
    if constexpr (Rows::kDirect) {
        if (w.sx == kOne) return Store::copy(w.out, row + (w.x >> kFractionBits), w.count);
    }
    if (gathered.holds(storageRow, w)) return Store::copy(w.out, gathered.source, w.count);
    if constexpr (!Store::kMasked) {
        gatherBlocks(rows, row, w, w.out);
        gathered.remember(storageRow, w, w.out);
        return w.count;
    }
    if (w.count <= GatheredRow::kCapacity) {
        gatherRow(rows, row, w.x, w.sx, w.count, gathered.pixels);
        gathered.remember(storageRow, w, gathered.pixels);
        return Store::copy(w.out, gathered.pixels, w.count);
    }
    gathered.valid = false;
    std::int64_t painted = 0;
    for (std::int64_t start = 0; start < w.count; start += GatheredRow::kCapacity) {
        const std::int64_t n = std::min(GatheredRow::kCapacity, w.count - start);
        gatherRow(rows, row, w.x + w.sx * start, w.sx, n, gathered.pixels);
        painted += Store::copy(w.out + start, gathered.pixels, n);
    }
    return painted;
}

template <typename Store, typename Rows>
std::int64_t paintAlongY(const RowWalk& w, const Rows& rows) {
    const std::int64_t column = w.x >> kFractionBits;
    std::int64_t y = w.y, painted = 0;
    for (std::int64_t i = 0; i < w.count; ++i, y += w.sy)
        painted += Store::put(w.out + i, rows.at(rows.row(y >> kFractionBits), column));
    return painted;
}

template <typename Store, typename Rows>
std::int64_t paintAlongBoth(const RowWalk& w, const Rows& rows) {
    std::int64_t x = w.x, y = w.y, painted = 0;
    for (std::int64_t i = 0; i < w.count; ++i, x += w.sx, y += w.sy)
        painted +=
            Store::put(w.out + i, rows.at(rows.row(y >> kFractionBits), x >> kFractionBits));
    return painted;
}

template <typename Store, typename Rows>
std::int64_t paintRow(const RowWalk& w, const Rows& rows, GatheredRow& gathered) {
    if (w.sy == 0) return paintAlongX<Store>(w, rows, gathered);
    if (w.sx == 0) return paintAlongY<Store>(w, rows);
    return paintAlongBoth<Store>(w, rows);
}

// The cell in screen pixels, [left, right) x [top, bottom) of the buffer.
struct ScreenCell {
    std::int64_t left, top, right, bottom;
};

// The fresh store's background, on screen columns [from, to) of a row.
void fillColumns(Pixel16* row, std::int64_t from, std::int64_t to, Pixel16 background) {
    if (from < to) std::fill(row + from, row + to, background);
}

template <typename Store, typename Rows>
std::int64_t paintCell(const std::array<Fixed, 4>& c, const ScreenCell& cell,
                       platform::PixelBuffer& view, const Rows& rows, Pixel16 background) {
    const std::int64_t height = view.height();
    const std::int64_t columns = cell.right - cell.left;
    // The walk counts screen rows from the bottom of the buffer, as the image's.
    const std::int64_t topFromBottom = height - cell.top;
    const std::int64_t rowCount = cell.bottom - cell.top;
    const std::int64_t limitX = std::int64_t{rows.image.width()} << kFractionBits;
    const std::int64_t limitY = std::int64_t{rows.image.height()} << kFractionBits;
    const Span visible{std::max<std::int64_t>(0, -cell.left),
                       std::min<std::int64_t>(view.width(), cell.right) - cell.left};
    GatheredRow gathered;
    std::int64_t painted = 0;
    const std::int64_t firstRow = std::max<std::int64_t>(0, cell.top);
    const std::int64_t endRow = std::min(height, cell.bottom);
    for (std::int64_t screenRow = firstRow; screenRow < endRow; ++screenRow) {
        const std::int64_t fromBottom = height - screenRow;
        const double t = double(topFromBottom - fromBottom) / double(rowCount);
        const Fixed left = lerp(c[0], c[2], t), right = lerp(c[1], c[3], t);
        const std::int64_t sx = roundDiv(right.x - left.x, columns);
        const std::int64_t sy = roundDiv(right.y - left.y, columns);
        Span span = intersect(intersect(visible, insideSpan(left.x, sx, limitX)),
                              insideSpan(left.y, sy, limitY));
        Pixel16* line = view.row(int(screenRow));
        if (span.first >= span.end) span = {visible.end, visible.end};
        if constexpr (!Store::kMasked) {
            fillColumns(line, cell.left + visible.first, cell.left + span.first, background);
            fillColumns(line, cell.left + span.end, cell.left + visible.end, background);
        }
        if (span.first >= span.end) continue;
        Pixel16* out = line + (cell.left + span.first);
        painted += paintRow<Store>(RowWalk{out, span.end - span.first, left.x + sx * span.first,
                                           sx, left.y + sy * span.first, sy},
                                   rows, gathered);
    }
    return painted;
}

template <typename Rows>
std::int64_t paintCellAs(const std::array<Fixed, 4>& corners, const ScreenCell& cell,
                         platform::PixelBuffer& view, const Rows& rows,
                         std::optional<Pixel16> fresh) {
    if (fresh) return paintCell<FreshStore>(corners, cell, view, rows, *fresh);
    return paintCell<MaskedStore>(corners, cell, view, rows, 0);
}

}  // namespace

bool paintMapCell(const CalibratedMap& map, const MapImage& image, const MapCell& cell,
                  platform::PixelBuffer& view, std::int64_t& unpainted,
                  std::optional<Pixel16> fresh) {
    const ScreenCell screen{cell[0].x, cell[0].y, cell[3].x, cell[3].y};
    if (screen.right <= screen.left || screen.bottom <= screen.top || view.empty()) return false;
    // geoToPixel scales by the definition's size; a bitmap of another size would be
    // read out of its bounds.
    const MapDefinition& definition = map.definition();
    if (definition.width != image.width() || definition.height != image.height()) return false;
    if (outsideBox(map, cell)) return false;
    const std::optional<std::array<Fixed, 4>> corners = imageCorners(map, image, cell);
    if (!corners) return false;
    const std::int64_t painted =
        image.hasPalette() ? paintCellAs(*corners, screen, view, PaletteRows{image}, fresh)
                           : paintCellAs(*corners, screen, view, TrueColourRows{image}, fresh);
    unpainted -= painted;
    return painted > 0;
}

}  // namespace wendra::maps
