#include "maps/JpegDecoder.h"

#include <jerror.h>

#include "maps/JpegLibrary.h"

namespace wendra::maps {

namespace {

constexpr long kMaxLibraryMemory = 1L << 30;

[[noreturn]] void jumpBack(j_common_ptr info) {
    std::longjmp(reinterpret_cast<JpegErrorJump*>(info->err)->back, 1);
}

void noteWarning(j_common_ptr info, int level) {
    if (level < 0 && info->err->msg_code == JWRN_JPEG_EOF)
        reinterpret_cast<JpegErrorJump*>(info->err)->endedEarly = true;
}

// The steps that may jump: no C++ object with a destructor lives in them.
bool startDecompress(jpeg_decompress_struct* info, JpegErrorJump* jump, std::FILE* file,
                     J_COLOR_SPACE colour) {
    if (setjmp(jump->back)) return false;
    jpeg_stdio_src(info, file);
    if (jpeg_read_header(info, TRUE) != JPEG_HEADER_OK) return false;
    if (info->image_width > 65535 || info->image_height > 65535) return false;
    info->out_color_space = info->num_components == 1 ? JCS_GRAYSCALE : colour;
    return jpeg_start_decompress(info) != 0;
}

bool readScanline(jpeg_decompress_struct* info, JpegErrorJump* jump, std::uint8_t* row) {
    if (setjmp(jump->back)) return false;
    JSAMPROW rows[1] = {row};
    return jpeg_read_scanlines(info, rows, 1) == 1;
}

}  // namespace

jpeg_error_mgr* jpegErrorJump(JpegErrorJump& jump) {
    jpeg_error_mgr* manager = jpeg_std_error(&jump.manager);
    manager->error_exit = jumpBack;
    manager->emit_message = noteWarning;
    jump.endedEarly = false;
    return manager;
}

struct JpegDecoder::Library {
    jpeg_decompress_struct info{};
    JpegErrorJump jump{};
};

JpegDecoder::JpegDecoder() : jpeg_(std::make_unique<Library>()) {
    jpeg_->info.err = jpegErrorJump(jpeg_->jump);
    jpeg_create_decompress(&jpeg_->info);
    // A progressive stream keeps every coefficient until the end; a header that lies
    // about its size must fail here rather than take the machine's memory.
    jpeg_->info.mem->max_memory_to_use = kMaxLibraryMemory;
}

JpegDecoder::~JpegDecoder() {
    jpeg_destroy_decompress(&jpeg_->info);
    if (file_) std::fclose(file_);
}

OpenResult JpegDecoder::open(const std::filesystem::path& path) {
    file_ = std::fopen(path.c_str(), "rb");
    if (!file_) return OpenResult::CannotOpen;
    const J_COLOR_SPACE colour = fourBytePixels_ ? JCS_EXT_RGBX : JCS_RGB;
    if (!startDecompress(&jpeg_->info, &jpeg_->jump, file_, colour)) return OpenResult::Unsupported;
    started_ = true;
    const jpeg_decompress_struct& info = jpeg_->info;
    shape_ = {static_cast<int>(info.output_width), static_cast<int>(info.output_height),
              info.output_components == 1};
    pixelBytes_ = fourBytePixels_ ? 4 : 3;
    if (!shape_.valid() || (!shape_.palette && info.output_components != pixelBytes_))
        return OpenResult::Unsupported;
    if (shape_.palette) setGreyPalette();
    return OpenResult::Opened;
}

int JpegDecoder::nextRowIndex() const {
    if (!started_ || jpeg_->info.output_scanline >= jpeg_->info.output_height) return -1;
    return static_cast<int>(jpeg_->info.output_scanline);
}

int JpegDecoder::readRow(std::uint8_t* row) {
    const int index = nextRowIndex();
    if (index < 0 || !readScanline(&jpeg_->info, &jpeg_->jump, row) || jpeg_->jump.endedEarly)
        return -1;
    return index;
}

bool JpegDecoder::startEncoding(const std::filesystem::path& path, int width, int height) {
    return encoder_.start(path, width, height);
}

bool JpegDecoder::writeRow(const std::uint8_t* rgb) {
    return encoder_.writeRow(rgb);
}

bool JpegDecoder::close() {
    // A decoding has nothing to finish.
    return encoder_.idle() || encoder_.close();
}

}  // namespace wendra::maps
