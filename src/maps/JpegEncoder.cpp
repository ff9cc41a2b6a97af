#include "maps/JpegEncoder.h"

#include "maps/JpegLibrary.h"

namespace wendra::maps {

namespace {

bool startCompress(jpeg_compress_struct* info, JpegErrorJump* jump, std::FILE* file, int width,
                   int height, int quality) {
    if (setjmp(jump->back)) return false;
    jpeg_stdio_dest(info, file);
    info->image_width = static_cast<JDIMENSION>(width);
    info->image_height = static_cast<JDIMENSION>(height);
    info->input_components = 3;
    info->in_color_space = JCS_RGB;
    jpeg_set_defaults(info);
    jpeg_set_quality(info, quality, TRUE);
    jpeg_start_compress(info, TRUE);
    return true;
}

bool writeScanline(jpeg_compress_struct* info, JpegErrorJump* jump, const std::uint8_t* rgb) {
    if (setjmp(jump->back)) return false;
    JSAMPROW rows[1] = {const_cast<JSAMPROW>(rgb)};
    return jpeg_write_scanlines(info, rows, 1) == 1;
}

bool finishCompress(jpeg_compress_struct* info, JpegErrorJump* jump) {
    if (setjmp(jump->back)) return false;
    jpeg_finish_compress(info);
    return true;
}

}  // namespace

struct JpegEncoder::Library {
    jpeg_compress_struct info{};
    JpegErrorJump jump{};
};

JpegEncoder::JpegEncoder() : jpeg_(std::make_unique<Library>()) {
    jpeg_->info.err = jpegErrorJump(jpeg_->jump);
    jpeg_create_compress(&jpeg_->info);
}

JpegEncoder::~JpegEncoder() {
    jpeg_destroy_compress(&jpeg_->info);
    if (file_) std::fclose(file_);
}

bool JpegEncoder::start(const std::filesystem::path& path, int width, int height, int quality) {
    if (state_ == State::Writing || width <= 0 || height <= 0 || width > 65500 || height > 65500)
        return false;
    file_ = std::fopen(path.c_str(), "wb");
    if (!file_) return false;
    state_ = State::Writing;
    if (!startCompress(&jpeg_->info, &jpeg_->jump, file_, width, height, quality)) abandon();
    return state_ == State::Writing;
}

bool JpegEncoder::writeRow(const std::uint8_t* rgb) {
    // A row past the height is refused; the rows written so far stay good.
    if (state_ != State::Writing || jpeg_->info.next_scanline >= jpeg_->info.image_height)
        return false;
    if (!writeScanline(&jpeg_->info, &jpeg_->jump, rgb)) {
        abandon();
        return false;
    }
    return true;
}

bool JpegEncoder::close() {
    if (state_ != State::Writing) {
        state_ = State::Idle;
        return false;
    }
    const bool complete = jpeg_->info.next_scanline == jpeg_->info.image_height &&
                          finishCompress(&jpeg_->info, &jpeg_->jump);
    state_ = State::Idle;
    jpeg_abort_compress(&jpeg_->info);
    const bool flushed = std::fclose(file_) == 0;
    file_ = nullptr;
    return complete && flushed;
}

void JpegEncoder::abandon() {
    jpeg_abort_compress(&jpeg_->info);
    state_ = State::Failed;
    if (file_) std::fclose(file_);
    file_ = nullptr;
}

}  // namespace wendra::maps
