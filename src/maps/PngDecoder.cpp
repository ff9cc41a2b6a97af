#include "maps/PngDecoder.h"

#include <png.h>

#include <cstring>
#include <new>

namespace wendra::maps {

namespace {

constexpr std::size_t kSignatureBytes = 8;

void readFromFile(png_structp png, png_bytep to, png_size_t bytes) {
    auto* file = static_cast<std::FILE*>(png_get_io_ptr(png));
    if (std::fread(to, 1, bytes, file) != bytes) png_error(png, "Read Error");
}

void stayQuiet(png_structp, png_const_charp) {}

[[noreturn]] void jumpBack(png_structp png, png_const_charp) {
    png_longjmp(png, 1);
}

// The steps that may jump back: no C++ object with a destructor lives in them.
bool readHeader(png_structp png, png_infop info, bool& indexed, int& passes) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_set_sig_bytes(png, kSignatureBytes);
    png_set_user_limits(png, kMaxImageSide, kMaxImageSide);
    png_read_info(png, info);
    const int type = png_get_color_type(png, info);
    const bool transparent = png_get_valid(png, info, PNG_INFO_tRNS) != 0;
    png_set_strip_16(png);
    indexed = type == PNG_COLOR_TYPE_PALETTE || (type == PNG_COLOR_TYPE_GRAY && !transparent);
    if (type == PNG_COLOR_TYPE_PALETTE) {
        png_set_packing(png);
    } else if (indexed) {
        png_set_expand_gray_1_2_4_to_8(png);
    } else {
        png_set_expand(png);  // grey below 8 bits, and tRNS to alpha
        png_set_gray_to_rgb(png);
        png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
    }
    passes = png_set_interlace_handling(png);
    png_read_update_info(png, info);
    return true;
}

bool readLibraryRow(png_structp png, png_bytep row) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_read_row(png, row, nullptr);
    return true;
}

}  // namespace

struct PngDecoder::Library {
    png_structp png = nullptr;
    png_infop info = nullptr;
    std::FILE* file = nullptr;
};

PngDecoder::PngDecoder() : png_(std::make_unique<Library>()) {
    alpha_.fill(255);
}

PngDecoder::~PngDecoder() {
    if (png_->png) png_destroy_read_struct(&png_->png, &png_->info, nullptr);
    if (png_->file) std::fclose(png_->file);
}

OpenResult PngDecoder::open(const std::filesystem::path& path) {
    Library& l = *png_;
    l.file = std::fopen(path.c_str(), "rb");
    if (!l.file) return OpenResult::CannotOpen;
    png_byte signature[kSignatureBytes];
    if (std::fread(signature, 1, kSignatureBytes, l.file) != kSignatureBytes ||
        png_sig_cmp(signature, 0, kSignatureBytes) != 0)
        return OpenResult::Unsupported;
    l.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, jumpBack, stayQuiet);
    if (l.png) l.info = png_create_info_struct(l.png);
    if (!l.info) return OpenResult::Unsupported;
    png_set_read_fn(l.png, l.file, readFromFile);
    bool indexed = false;
    if (!readHeader(l.png, l.info, indexed, passes_)) return OpenResult::Unsupported;
    shape_ = {static_cast<int>(png_get_image_width(l.png, l.info)),
              static_cast<int>(png_get_image_height(l.png, l.info)), indexed};
    const std::size_t rowBytes = png_get_rowbytes(l.png, l.info);
    if (!shape_.valid() || rowBytes != static_cast<std::size_t>(shape_.width) * (indexed ? 1 : 4))
        return OpenResult::Unsupported;
    interlaced_ = png_get_interlace_type(l.png, l.info) != PNG_INTERLACE_NONE;
    line_.resize(rowBytes);
    if (png_get_color_type(l.png, l.info) == PNG_COLOR_TYPE_PALETTE) {
        takePalette();
    } else if (indexed) {
        setGreyPalette();
    }
    return OpenResult::Opened;
}

void PngDecoder::takePalette() {
    png_colorp entries = nullptr;
    int count = 0;
    if (png_get_PLTE(png_->png, png_->info, &entries, &count) == PNG_INFO_PLTE) {
        for (int i = 0; i < count && i < 256; ++i) {
            palette_[i * 3] = entries[i].red;
            palette_[i * 3 + 1] = entries[i].green;
            palette_[i * 3 + 2] = entries[i].blue;
        }
    }
    png_bytep alphas = nullptr;
    int alphaCount = 0;
    if (png_get_tRNS(png_->png, png_->info, &alphas, &alphaCount, nullptr) == PNG_INFO_tRNS) {
        for (int i = 0; i < alphaCount && i < 256; ++i) alpha_[i] = alphas[i];
    }
}

std::uint64_t PngDecoder::workingMemory() const {
    return interlaced_ ? static_cast<std::uint64_t>(line_.size()) * shape_.height : 0;
}

int PngDecoder::nextRowIndex() const {
    return rowsRead_ < shape_.height ? rowsRead_ : -1;
}

const std::uint8_t* PngDecoder::nextRow() {
    if (nextRowIndex() < 0) return nullptr;
    if (!interlaced_) {
        return readLibraryRow(png_->png, line_.data()) ? line_.data() : nullptr;
    }
    if (wholeImage_.empty() && !assembleInterlaced()) return nullptr;
    return &wholeImage_[rowsRead_ * line_.size()];
}

bool PngDecoder::assembleInterlaced() {
    try {
        wholeImage_.resize(line_.size() * shape_.height);
    } catch (const std::bad_alloc&) {
        return false;
    }
    // Each pass refines rows already read; an unload is looked at between rows.
    for (int pass = 0; pass < passes_; ++pass) {
        for (int y = 0; y < shape_.height; ++y) {
            if (cancelled() || !readLibraryRow(png_->png, &wholeImage_[y * line_.size()]))
                return false;
        }
    }
    return true;
}

int PngDecoder::readRow(std::uint8_t* row) {
    const std::uint8_t* from = nextRow();
    if (!from) return -1;
    if (shape_.palette) {
        std::memcpy(row, from, shape_.width);
    } else {
        for (int x = 0; x < shape_.width; ++x) std::memcpy(row + x * 3, from + x * 4, 3);
    }
    return rowsRead_++;
}

int PngDecoder::readRowWithAlpha(std::uint8_t* rgba) {
    const std::uint8_t* from = nextRow();
    if (!from) return -1;
    if (!shape_.palette) {
        std::memcpy(rgba, from, line_.size());
        return rowsRead_++;
    }
    for (int x = 0; x < shape_.width; ++x) {
        std::memcpy(rgba + x * 4, &palette_[from[x] * 3], 3);
        rgba[x * 4 + 3] = alpha_[from[x]];
    }
    return rowsRead_++;
}

}  // namespace wendra::maps
