#include "maps/GifDecoder.h"

#include <algorithm>
#include <cstring>

namespace wendra::maps {

namespace {

constexpr int kExtension = 0x21;
constexpr int kImageDescriptor = 0x2C;
// Global colour table present, with 2^(7+1) = 256 entries.
constexpr std::uint8_t kGlobal256 = 0x87;
constexpr std::uint8_t kLocalTable = 0x80;
constexpr std::uint8_t kInterlaced = 0x40;

struct Pass {
    int start, step;
};
constexpr Pass kInterlacePasses[] = {{0, 8}, {4, 8}, {2, 4}, {1, 2}};

int u16At(const std::uint8_t* b) {
    return b[0] | b[1] << 8;
}

}  // namespace

OpenResult GifDecoder::open(const std::filesystem::path& path) {
    if (!file_.open(path)) return OpenResult::CannotOpen;
    if (const OpenResult r = readScreen(); r != OpenResult::Opened) return r;
    if (const OpenResult r = findFrame(); r != OpenResult::Opened) return r;
    const int minimumCodeSize = file_.byte();
    if (!lzw_.start(minimumCodeSize)) return OpenResult::Unsupported;
    planRows();
    frameRow_.resize(frame_.width);
    return OpenResult::Opened;
}

OpenResult GifDecoder::readScreen() {
    std::uint8_t head[13];
    if (!file_.read(head, sizeof head) || std::memcmp(head, "GIF", 3) != 0)
        return OpenResult::Unsupported;
    shape_ = {u16At(head + 6), u16At(head + 8), true};
    if (!shape_.valid() || (head[10] & kGlobal256) != kGlobal256) return OpenResult::Unsupported;
    background_ = head[11];
    return file_.read(palette_.data(), palette_.size()) ? OpenResult::Opened
                                                        : OpenResult::Unsupported;
}

bool GifDecoder::skipSubBlocks() {
    for (;;) {
        const int length = file_.byte();
        if (length < 0) return false;
        if (length == 0) return true;
        if (!file_.skip(length)) return false;
    }
}

OpenResult GifDecoder::findFrame() {
    for (;;) {
        const int introducer = file_.byte();
        if (introducer == kExtension) {
            if (file_.byte() < 0 || !skipSubBlocks()) return OpenResult::Unsupported;
            continue;
        }
        if (introducer != kImageDescriptor) return OpenResult::Unsupported;
        std::uint8_t d[9];
        if (!file_.read(d, sizeof d)) return OpenResult::Unsupported;
        frame_ = {u16At(d), u16At(d + 2), u16At(d + 4), u16At(d + 6), (d[8] & kInterlaced) != 0};
        if (d[8] & kLocalTable) {
            palette_.fill(0);
            const std::size_t bytes = 3u << ((d[8] & 7) + 1);
            if (!file_.read(palette_.data(), bytes)) return OpenResult::Unsupported;
        }
        return OpenResult::Opened;
    }
}

void GifDecoder::planRows() {
    const int height = shape_.height;
    std::vector<bool> covered(height, false);
    std::vector<int> frameRows;
    const auto add = [&](int r) {
        const int screenRow = frame_.top + r;
        // A frame without columns on the screen only has to be decoded past.
        const bool onScreen = screenRow < height && frame_.left < shape_.width && frame_.width > 0;
        frameRows.push_back(onScreen ? screenRow : -1);
        if (onScreen) covered[screenRow] = true;
    };
    if (frame_.interlaced) {
        for (const Pass& pass : kInterlacePasses) {
            for (int r = pass.start; r < frame_.height; r += pass.step) add(r);
        }
    } else {
        for (int r = 0; r < frame_.height; ++r) add(r);
    }
    for (int r = 0; r < height; ++r) {
        if (!covered[r]) order_.push_back(r);
    }
    order_.insert(order_.end(), frameRows.begin(), frameRows.end());
}

int GifDecoder::dataByte() {
    if (dataEnded_) return -1;
    if (blockLeft_ == 0) {
        blockLeft_ = file_.byte();
        if (blockLeft_ <= 0) {
            dataEnded_ = true;
            return -1;
        }
    }
    --blockLeft_;
    const int b = file_.byte();
    if (b < 0) dataEnded_ = true;
    return b;
}

int GifDecoder::nextRowIndex() const {
    for (std::size_t i = delivered_; i < order_.size(); ++i) {
        if (order_[i] >= 0) return order_[i];
    }
    return -1;
}

int GifDecoder::readRow(std::uint8_t* row) {
    const GifLzw::ByteSource source = [this] { return dataByte(); };
    const int coveredStart = static_cast<int>(order_.size()) - frame_.height;
    while (delivered_ < order_.size()) {
        const int screenRow = order_[delivered_];
        const bool fromFrame = static_cast<int>(delivered_) >= coveredStart;
        ++delivered_;
        if (!fromFrame) {
            std::memset(row, background_, shape_.width);
            return screenRow;
        }
        if (lzw_.decode(frameRow_.data(), frame_.width, source) != frame_.width) return -1;
        if (screenRow < 0) continue;  // below the screen: decoded only to get past it
        std::memset(row, background_, shape_.width);
        const int visible = std::min(frame_.width, shape_.width - frame_.left);
        std::memcpy(row + frame_.left, frameRow_.data(), visible);
        return screenRow;
    }
    return -1;
}

}  // namespace wendra::maps
