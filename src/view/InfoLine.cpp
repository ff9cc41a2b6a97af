#include "view/InfoLine.h"

#include <algorithm>
#include <cmath>

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
                     platform::ColorRef ink, int multiplier) {
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
    const int middle = gauge.top + gauge.height() / 2 - kGaugeMarkHeight / 2;
    surface.fillRect(Rect{gauge.left, middle, gauge.right, middle + kGaugeMarkHeight},
                     kGaugeMarkColour);
}

void drawBatteryGauge(platform::DrawingSurface& surface, const Rect& gauge, int battery,
                      platform::ColorRef ink) {
    const bool external = battery >= ViewScene::kExternalPower;
    const int percent =
        std::clamp(external ? battery - ViewScene::kExternalPower : battery, 0, kFullBattery);
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

std::u16string infoLineText(const ViewScene& scene) {
    std::u16string text;
    if (scene.position == PositionMark::Shown)
        appendPosition(text, scene.fix.latitude, scene.fix.longitude, scene.coordinateFormat);
    if (text.empty()) text = u"?-?";
    return text;
}

void drawInfoLine(platform::DrawingSurface& surface, const ViewScene& scene,
                  platform::ColorRef bandColour, int multiplier) {
    if (scene.infoLineMode == 0) return;
    const int m = multiplier;
    const platform::Size size = surface.size();
    const Rect band{0, size.height - kInfoLineHeight * m, size.width, size.height};
    surface.fillRect(band, bandColour);

    const Rect signal{band.right - kSignalGaugeWidth * m, band.top, band.right, band.bottom};
    const bool shown = scene.position == PositionMark::Shown;
    drawSignalGauge(surface, signal, shown ? signalLevel(scene.fix.signal) : 0, scene.colours.draw,
                    m);
    const bool battery = scene.battery != ViewScene::kNoBattery;
    const Rect gauge{band.left, band.top, band.left + kBatteryGaugeWidth * m, band.bottom};
    if (battery) drawBatteryGauge(surface, gauge, scene.battery, scene.colours.draw);

    const Rect text{gauge.right + m, band.top, signal.left - m, band.bottom};
    if (text.empty()) return;
    surface.setFont(
        platform::Font{std::max(1, text.width() / kLettersAcross), kInfoLineHeight * m, false});
    surface.setTextColour(scene.colours.draw);
    surface.setTransparentText(true);
    surface.setClip(text);
    surface.drawText(
        infoLineText(scene), text,
        platform::text::kCentre | platform::text::kVCentre | platform::text::kSingleLine);
    surface.setClip(std::nullopt);
}

}  // namespace wendra
