#pragma once
// The fuzz input as a file that readers open by path: one in-memory file per target,
// rewritten before every run.

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <string>

namespace wendra::fuzz {

class MemoryInput {
public:
    explicit MemoryInput(const char* name) : fd_(memfd_create(name, 0)) {
        if (fd_ < 0) std::abort();
        path_ = "/proc/self/fd/" + std::to_string(fd_);
    }

    const std::string& path() const { return path_; }

    void store(const void* data, size_t size) const {
        if (ftruncate(fd_, 0) != 0) std::abort();
        if (size && pwrite(fd_, data, size, 0) != static_cast<ssize_t>(size)) std::abort();
    }

private:
    int fd_;
    std::string path_;
};

}  // namespace wendra::fuzz
