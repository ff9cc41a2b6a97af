#pragma once
// Writes a JPEG file row by row through libjpeg-turbo, at the program's tile quality
// unless told otherwise. A failure of the library or of the disk makes the remaining
// calls fail; close() says whether the file is complete.

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>

namespace wendra::maps {

inline constexpr int kTileJpegQuality = 85;

class JpegEncoder {
public:
    JpegEncoder();
    ~JpegEncoder();
    JpegEncoder(const JpegEncoder&) = delete;
    JpegEncoder& operator=(const JpegEncoder&) = delete;

    bool start(const std::filesystem::path& path, int width, int height,
               int quality = kTileJpegQuality);
    // One row of `width` red, green, blue triplets, top row first.
    bool writeRow(const std::uint8_t* rgb);
    // Finishes the file; false when it is incomplete or anything failed since start.
    bool close();
    // Neither writing nor holding an unreported failure.
    bool idle() const { return state_ == State::Idle; }

private:
    enum class State { Idle, Writing, Failed };
    void abandon();

    struct Library;
    std::unique_ptr<Library> jpeg_;
    std::FILE* file_ = nullptr;
    State state_ = State::Idle;
};

}  // namespace wendra::maps
