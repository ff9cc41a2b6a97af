#include "gps/FileReplay.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace wendra {

namespace {

constexpr std::size_t kReadBytes = 65536;

// Why `info` cannot be played; empty when it can.
std::string unplayable(const struct stat& info) {
    if (S_ISDIR(info.st_mode)) return "is a folder, not a receiver log";
    if (!S_ISREG(info.st_mode)) return "is not a regular file";
    if (info.st_size == 0) return "is empty";
    return {};
}

}  // namespace

bool FileReplay::open(const std::string& path, std::string& error) {
    file_.reset(std::fopen(path.c_str(), "rb"));
    struct stat info {};
    if (!file_ || ::fstat(::fileno(file_.get()), &info) != 0) {
        error = "cannot read \"" + path + "\": " + std::strerror(errno);
        file_.reset();
        return false;
    }
    if (const std::string why = unplayable(info); !why.empty()) {
        error = "\"" + path + "\" " + why;
        file_.reset();
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
        const std::size_t span = newline ? static_cast<std::size_t>(newline - start) + 1 : available;
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
