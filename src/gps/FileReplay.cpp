#include "gps/FileReplay.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace wendra {

namespace {

constexpr std::size_t kReadBytes = 65536;

// Why the file cannot be played; empty when it can, or when only opening it will tell
// (it is not there, it may not be read). Asked before opening: opening a FIFO waits.
std::string unplayable(const std::string& path) {
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(path, error);
    if (error) return {};
    if (std::filesystem::is_directory(status)) return "is a folder, not a receiver log";
    if (!std::filesystem::is_regular_file(status)) return "is not a regular file";
    if (std::filesystem::file_size(path, error) == 0 && !error) return "is empty";
    return {};
}

}  // namespace

bool FileReplay::open(const std::string& path, std::string& error) {
    file_.reset();
    if (const std::string why = unplayable(path); !why.empty()) {
        error = "\"" + path + "\" " + why;
        return false;
    }
    file_.reset(std::fopen(path.c_str(), "rb"));
    if (!file_) {
        error = "cannot read \"" + path + "\": " + std::strerror(errno);
        return false;
    }
    buffer_.resize(kReadBytes);
    fill_ = at_ = 0;
    return true;
}

bool FileReplay::refill() {
    if (!file_) return false;
    fill_ = std::fread(buffer_.data(), 1, buffer_.size(), file_.get());
    at_ = 0;
    return fill_ > 0;
}

std::optional<std::string> FileReplay::nextLine() {
    std::string line;
    while (line.size() < kMaxLineBytes) {
        if (at_ == fill_ && !refill()) break;
        const char* start = buffer_.data() + at_;
        const std::size_t available = std::min(fill_ - at_, kMaxLineBytes - line.size());
        const auto* newline = static_cast<const char*>(std::memchr(start, '\n', available));
        const std::size_t span =
            newline ? static_cast<std::size_t>(newline - start) + 1 : available;
        line.append(start, span);
        at_ += span;
        if (newline) break;
    }
    if (line.empty()) return std::nullopt;
    return line;
}

void FileReplay::rewind() {
    if (file_) std::rewind(file_.get());
    fill_ = at_ = 0;
}

}  // namespace wendra
