// The labels of the map view through the Qt surface the window uses, on a 1920x1080
// buffer, in the bold small font of the view's labels and the way the frame draws
// them: measured in the whole screen, then drawn centred in the box they take.
//
// NewLabel: one label never drawn before (its layout and letters are made).
// DrawnLabel/<count>: <count> labels drawn again at places spread over the screen, as
// in the frames after the first; the time is for one label.

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <algorithm>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "OffscreenApplication.h"
#include "platform/qt/QtDrawingSurface.h"

namespace {

using namespace wendra;

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;
const platform::Font kLabelFont{7, 13, true};


std::u16string labelText(int i) {
    std::u16string text = u"Group " + std::u16string(1, static_cast<char16_t>(u'0' + i % 7));
    text += u"\nPoint ";
    for (int n = i; n > 0; n /= 10) text += static_cast<char16_t>(u'0' + n % 10);
    return text;
}

struct Screen {
    Screen() {
        bench::ensureOffscreenApplication();
        surface.setFont(kLabelFont);
        surface.setTransparentText(true);
        surface.setTextColour(platform::rgb(200, 0, 0));
    }

    void label(const std::u16string& text, platform::Point at) {
        const platform::Rect room{0, 0, kWidth, kHeight};
        const platform::Rect needed = surface.measureText(text, room, platform::text::kCentre);
        const int left = std::clamp(at.x - needed.width() / 2, 0, kWidth - needed.width());
        const int top = std::clamp(at.y - needed.height(), 0, kHeight - needed.height());
        surface.drawText(text, {left, top, left + needed.width(), top + needed.height()},
                         platform::text::kCentre);
    }

    platform::PixelBuffer buffer{{kWidth, kHeight}};
    platform::qt::QtDrawingSurface surface{buffer};
};

void BM_NewLabel(benchmark::State& state) {
    Screen screen;
    int i = 1;
    for (auto _ : state) screen.label(labelText(i++), {kWidth / 2, kHeight / 2});
}

void BM_DrawnLabel(benchmark::State& state) {
    Screen screen;
    const int count = static_cast<int>(state.range(0));
    std::mt19937 random(7);
    std::uniform_int_distribution<int> across(0, kWidth - 1);
    std::uniform_int_distribution<int> down(0, kHeight - 1);
    std::vector<std::u16string> texts;
    std::vector<platform::Point> places;
    for (int i = 0; i < count; ++i) {
        texts.push_back(labelText(i + 1));
        places.push_back({across(random), down(random)});
    }
    for (int i = 0; i < count; ++i) screen.label(texts[i], places[i]);
    for (auto _ : state) {
        // The frame's other steps pass over the whole buffer between two labels' frames.
        state.PauseTiming();
        screen.buffer.fill(platform::toUnpaintedPixel16(platform::rgb(255, 255, 255)));
        state.ResumeTiming();
        for (int i = 0; i < count; ++i) screen.label(texts[i], places[i]);
    }
    state.SetItemsProcessed(state.iterations() * count);
}

}  // namespace

BENCHMARK(BM_NewLabel)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DrawnLabel)->Arg(1000)->Unit(benchmark::kMicrosecond);
