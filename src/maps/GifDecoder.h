#pragma once
// The program's own GIF reader: images with a 256-entry global colour table (others
// are unsupported), first frame only, interlaced or not. The frame's own colour table
// replaces the global one; screen rows and columns the frame does not cover get the
// background colour.

#include <cstdint>
#include <vector>

#include "maps/GifLzw.h"
#include "maps/ImageFile.h"
#include "maps/MapImageDecoder.h"

namespace wendra::maps {

class GifDecoder final : public MapImageDecoder {
public:
    OpenResult open(const std::filesystem::path& path) override;
    int nextRowIndex() const override;
    int readRow(std::uint8_t* row) override;

private:
    struct Frame {
        int left = 0, top = 0, width = 0, height = 0;
        bool interlaced = false;
    };
    OpenResult readScreen();
    OpenResult findFrame();
    bool skipSubBlocks();
    void planRows();
    int dataByte();

    ImageFile file_;
    Frame frame_;
    std::uint8_t background_ = 0;
    GifLzw lzw_;
    int blockLeft_ = 0;
    bool dataEnded_ = false;
    // Screen rows in delivery order: uncovered rows (background) first, then the
    // frame's rows in file order; -1 marks a frame row below the screen.
    std::vector<int> order_;
    std::vector<std::uint8_t> frameRow_;
    std::size_t delivered_ = 0;
};

}  // namespace wendra::maps
