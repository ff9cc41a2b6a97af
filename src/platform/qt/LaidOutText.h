#pragma once
// The letters of laid-out texts, kept as a mask of pixels so that a text drawn again
// (the labels of the map view, frame after frame) is a blend of eight pixels a byte
// of mask instead of a Qt layout and two image passes. A text's mask and the box it takes are
// relative to the top left of the box it was laid out in, and do not depend on its colour; the
// cache forgets everything when it grows past its limit.

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/Geometry.h"

namespace wendra::platform::qt {

struct LaidOutText {
    Rect taken{};    // the box the text took
    Rect letters{};  // where the mask lies
    // One bit a pixel (the lowest bit of a byte first), set on a letter's pixel, row by
    // row over letters; each row starts a new byte. A bit a pixel keeps a label's mask
    // within a few cache lines, which the frame's other passes evict between frames.
    std::vector<std::uint8_t> mask;
    int bytesPerRow = 0;
    bool measured = false;                 // taken is known
    bool drawn = false;                    // the mask is known too
    std::unique_ptr<std::u16string> text;  // what the cache's key views
};

// What a layout depends on besides the box's place. The text is a view: a lookup
// copies nothing, the cache keeps its own copy.
struct TextKey {
    int fontWidth = 0;
    int fontHeight = 0;
    bool bold = false;
    std::uint32_t flags = 0;
    int boxWidth = 0;
    int boxHeight = 0;
    std::u16string_view text;

    bool operator==(const TextKey&) const = default;
};

class TextRunCache {
public:
    static constexpr std::size_t kMostTexts = 8192;

    TextRunCache() : stamp_(newStamp()) {}

    // Changes whenever entries are forgotten, and differs from every other cache's:
    // an entry taken with a stamp is alive while the stamp is the same.
    std::uint64_t stamp() const { return stamp_; }

    // The entry for the key, made empty when new.
    LaidOutText& entry(const TextKey& key) {
        if (const auto found = texts_.find(key); found != texts_.end()) return found->second;
        if (texts_.size() >= kMostTexts) {
            texts_.clear();
            stamp_ = newStamp();
        }
        // The stored key views the entry's own copy of the text.
        auto owned = std::make_unique<std::u16string>(key.text);
        TextKey stored = key;
        stored.text = *owned;
        LaidOutText& runs = texts_[stored];
        runs.text = std::move(owned);
        return runs;
    }

private:
    struct Hash {
        std::size_t operator()(const TextKey& k) const {
            std::size_t h = std::hash<std::u16string_view>()(k.text);
            for (const std::size_t v :
                 {std::size_t(k.fontWidth), std::size_t(k.fontHeight), std::size_t(k.bold),
                  std::size_t(k.flags), std::size_t(k.boxWidth), std::size_t(k.boxHeight)})
                h = h * 1000003u ^ v;
            return h;
        }
    };

    static std::uint64_t newStamp() {
        static std::atomic<std::uint64_t> next{1};
        return next++;
    }

    std::unordered_map<TextKey, LaidOutText, Hash> texts_;
    std::uint64_t stamp_;
};

}  // namespace wendra::platform::qt
