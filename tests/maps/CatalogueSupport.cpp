#include "maps/CatalogueSupport.h"

#include "support/TestPaths.h"

namespace wendra::test {

platform::Answer RecordingShell::ask(std::u16string_view text, std::u16string_view title,
                                     platform::Buttons buttons) {
    std::lock_guard<std::mutex> hold(mutex_);
    boxes_.push_back({std::u16string(text), std::u16string(title)});
    return buttons == platform::Buttons::Ok ? platform::Answer::Ok : answer;
}

void RecordingShell::trace(std::string_view line) {
    std::lock_guard<std::mutex> hold(mutex_);
    traces_.emplace_back(line);
}

std::optional<maps::RankingView> RecordingShell::rankingView() const {
    if (!hasView.load()) return std::nullopt;
    return view;
}

std::vector<ShownBox> RecordingShell::boxes() const {
    std::lock_guard<std::mutex> hold(mutex_);
    return boxes_;
}

std::vector<std::string> RecordingShell::traces() const {
    std::lock_guard<std::mutex> hold(mutex_);
    return traces_;
}

namespace {

void put(std::string& b, std::size_t at, std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) b[at + i] = static_cast<char>(v >> (8 * i));
}

}  // namespace

void writeBmp(const std::filesystem::path& path, int width, int height, std::uint8_t red,
              std::uint8_t green, std::uint8_t blue) {
    const std::size_t pitch = (static_cast<std::size_t>(width) * 3 + 3) / 4 * 4;
    std::string b(54 + pitch * height, '\0');
    b[0] = 'B', b[1] = 'M';
    put(b, 2, static_cast<std::uint32_t>(b.size()), 4);
    put(b, 10, 54, 4);
    put(b, 14, 40, 4);
    put(b, 18, static_cast<std::uint32_t>(width), 4);
    put(b, 22, static_cast<std::uint32_t>(height), 4);
    put(b, 26, 1, 2);
    put(b, 28, 24, 2);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const std::size_t at = 54 + y * pitch + x * 3;
            b[at] = static_cast<char>(blue), b[at + 1] = static_cast<char>(green);
            b[at + 2] = static_cast<char>(red);
        }
    writeFile(path, b);
}

maps::MapDefinition squareMap(const std::filesystem::path& image, double latitude, double longitude,
                              double span, int width, bool stored) {
    maps::MapDefinition d;
    d.imagePath = std::u16string(image.u16string());
    d.userFlags = maps::kMapActive;
    const double h = span / 2;
    d.cornerLatitudes = {latitude + h, latitude + h, latitude - h, latitude - h};
    d.cornerLongitudes = {longitude - h, longitude + h, longitude - h, longitude + h};
    if (stored) {
        d.width = width;
        d.height = width;
        d.bytesPerPixel = 2;
    }
    return d;
}

}  // namespace wendra::test
