#pragma once
// The letters of laid-out texts, kept as runs of pixels so that a text drawn again
// (the labels of the map view, frame after frame) is a few fills instead of a Qt
// layout and two image passes. A text's runs and the box it takes are relative to the
// top left of the box it was laid out in, and do not depend on its colour; the cache
// forgets everything when it grows past its limit.

#include <cstdint>
#include <string>
#include <tuple>
#include <unordered_map>
#include <vector>

#include "platform/Geometry.h"

namespace wendra::platform::qt {

struct TextRuns {
    struct Run {
        int y = 0;
        int left = 0;
        int right = 0;  // excluded
    };
    Rect taken{};  // the box the text took
    std::vector<Run> runs;
    bool measured = false;  // taken is known
    bool drawn = false;     // runs are known too
};

struct TextKey {
    int fontWidth = 0;
    int fontHeight = 0;
    bool bold = false;
    std::uint32_t flags = 0;
    int boxWidth = 0;
    int boxHeight = 0;
    std::u16string text;

    bool operator==(const TextKey&) const = default;
};

struct TextKeyHash {
    std::size_t operator()(const TextKey& k) const {
        std::size_t h = std::hash<std::u16string>()(k.text);
        for (const std::size_t v :
             {std::size_t(k.fontWidth), std::size_t(k.fontHeight), std::size_t(k.bold),
              std::size_t(k.flags), std::size_t(k.boxWidth), std::size_t(k.boxHeight)})
            h = h * 1000003u ^ v;
        return h;
    }
};

class TextRunCache {
public:
    static constexpr std::size_t kMostTexts = 8192;

    // The entry for the key, made empty when new.
    TextRuns& entry(const TextKey& key) {
        if (texts_.size() >= kMostTexts && !texts_.count(key)) texts_.clear();
        return texts_[key];
    }
    const TextRuns* find(const TextKey& key) const {
        const auto found = texts_.find(key);
        return found == texts_.end() ? nullptr : &found->second;
    }

private:
    std::unordered_map<TextKey, TextRuns, TextKeyHash> texts_;
};

}  // namespace wendra::platform::qt
