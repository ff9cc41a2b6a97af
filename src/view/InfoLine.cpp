#include "view/InfoLine.h"

#include <algorithm>
#include <cmath>

#include "view/ViewColours.h"

namespace wendra {

namespace {

using platform::Brush;
using platform::Pen;
using platform::PenStyle;
using platform::Rect;

constexpr float kSignalFloor = 31.0f;
constexpr int kLettersAcross = 33;
constexpr int kGaugeMarkHeight = 2;
constexpr int kFullBattery = 100;

void drawSignalGauge(platform::DrawingSurface& surface, const Rect& gauge, int level,
                     platform::ColorRef ink, bool mark, int multiplier) {
    const int step = std::max(1, gauge.width() / kSignalBars);
    const int barWidth = std::max(1, step - multiplier);
    const int usable = gauge.height() - 2;
    for (int bar = 1; bar <= kSignalBars; ++bar) {
        const int left = gauge.left + (bar - 1) * step;
        // An empty bar keeps only its foot, so the five places stay visible.
        const int height = bar <= level ? std::max(1, usable * bar / kSignalBars) : multiplier;
        surface.fillRect(Rect{left, gauge.bottom - 1 - height, left + barWidth, gauge.bottom - 1},
                         ink);
    }
    if (!mark) return;
    const int middle = gauge.top + gauge.height() / 2 - kGaugeMarkHeight / 2;
    surface.fillRect(Rect{gauge.left, middle, gauge.right, middle + kGaugeMarkHeight},
                     kGaugeMarkColour);
}

void drawBatteryGauge(platform::DrawingSurface& surface, const Rect& gauge, int battery,
                      platform::ColorRef ink) {
    const bool external = battery >= kExternalPower;
    const int percent = std::clamp(external ? battery - kExternalPower : battery, 0, kFullBattery);
    surface.setPen(Pen{PenStyle::Solid, 1, ink});
    surface.setBrush(Brush{true, ink});
    surface.rectangle(gauge);
    const int height = percent * (gauge.height() - 2) / kFullBattery;
    if (height <= 0) return;
    surface.fillRect(
        Rect{gauge.left + 1, gauge.bottom - 1 - height, gauge.right - 1, gauge.bottom - 1},
        external ? kExternalPowerColour : kBatteryColour);
}

}  // namespace

int signalLevel(float signal) {
    if (!std::isfinite(signal)) return 0;
    const float level = (signal - kSignalFloor) * kSignalBars / 10.0f;
    return static_cast<int>(std::clamp(level, 0.0f, static_cast<float>(kSignalBars)));
}

void drawInfoBand(platform::DrawingSurface& surface, const InfoBand& info, int multiplier) {
    const int m = multiplier;
    const Rect& band = info.band;
    surface.fillRect(band, info.fill);
    int right = band.right;
    if (info.signalShown) {
        const Rect signal{band.right - kSignalGaugeWidth * m, band.top, band.right, band.bottom};
        drawSignalGauge(surface, signal, info.signal, info.ink, info.markShown, m);
        right = signal.left;
    }
    const Rect gauge{band.left, band.top, band.left + kBatteryGaugeWidth * m, band.bottom};
    if (info.battery != kNoBattery) drawBatteryGauge(surface, gauge, info.battery, info.ink);

    const Rect text{gauge.right + m, band.top, right - m, band.bottom};
    if (text.empty() || info.fields.empty()) return;
    surface.setFont(
        platform::Font{std::max(1, text.width() / kLettersAcross), kInfoLineHeight * m, false});
    surface.setTextColour(info.ink);
    surface.setTransparentText(true);
    const int columns = static_cast<int>(info.fields.size());
    for (int i = 0; i < columns; ++i) {
        const Rect cell{text.left + text.width() * i / columns, text.top,
                        text.left + text.width() * (i + 1) / columns, text.bottom};
        surface.setClip(cell);
        surface.drawText(
            info.fields[static_cast<std::size_t>(i)], cell,
            platform::text::kCentre | platform::text::kVCentre | platform::text::kSingleLine);
    }
    surface.setClip(std::nullopt);
}

}  // namespace wendra
