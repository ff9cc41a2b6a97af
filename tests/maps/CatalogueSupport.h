#pragma once
// What the catalogue tests share: a shell that records what the maps ask of the
// program, small BMP files and maps of a given place, size and resolution.

#include <atomic>
#include <filesystem>
#include <mutex>
#include <string>
#include <vector>

#include "maps/MapCatalogue.h"
#include "maps/MapShell.h"

namespace wendra::test {

struct ShownBox {
    std::u16string text;
    std::u16string title;
};

class RecordingShell final : public maps::MapShell {
public:
    platform::Answer ask(std::u16string_view text, std::u16string_view title,
                         platform::Buttons buttons) override;
    void trace(std::string_view line) override;
    void requestPass(maps::ManagerLevel) override { passes.fetch_add(1); }
    maps::NightMode nightMode() const override { return night.load(); }
    std::optional<maps::RankingView> rankingView() const override;

    std::vector<ShownBox> boxes() const;
    std::vector<std::string> traces() const;

    std::atomic<int> passes{0};
    std::atomic<maps::NightMode> night{maps::NightMode::None};
    std::atomic<bool> hasView{false};
    maps::RankingView view;  // set before hasView
    platform::Answer answer = platform::Answer::No;

private:
    mutable std::mutex mutex_;
    std::vector<ShownBox> boxes_;
    std::vector<std::string> traces_;
};

// A 24-bit BMP of one colour.
void writeBmp(const std::filesystem::path& path, int width, int height, std::uint8_t red,
              std::uint8_t green, std::uint8_t blue);

// An upright map of `span` degrees square around the centre, `width` pixels wide
// (square pixels at the equator), active unless told otherwise. A stored size keeps
// the image file untouched until the map loads.
maps::MapDefinition squareMap(const std::filesystem::path& image, double latitude, double longitude,
                              double span, int width, bool stored = true);

// The view scale at which a map of `width` pixels over `span` degrees fits exactly.
inline float fittingScale(int width, double span) {
    return static_cast<float>(width * 180.0 / span);
}

inline bool loaded(const maps::MapEntry& map) {
    return map.status() == maps::MapStatus::ActiveLoaded;
}

}  // namespace wendra::test
