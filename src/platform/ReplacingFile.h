#pragma once
// One save of one file that never destroys the previous good copy: the new content is
// assembled beside the file it replaces and renamed over it only when every byte is on
// the disk. A symbolic link is followed, so the link stays and its target gets the new
// content; a device, FIFO or other non-regular file is written directly (renaming over
// /dev/null would replace the device with a regular file). Not thread-safe.

#include <cstddef>
#include <string>

namespace wendra::platform {

class ReplacingFile {
public:
    // Temporary files are named "<target>.tmp-PID-N", so that a later start can tell a
    // dead process's leftovers (temporaryOwner) from a live one's.
    static constexpr const char* kTemporaryMark = ".tmp-";

    ReplacingFile() = default;
    ~ReplacingFile();  // an unfinished save is abandoned
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;

    // Starts the save of `path`; false (errno set) when nothing could be opened.
    bool open(const std::string& path);
    bool isOpen() const { return fd_ >= 0; }
    // The descriptor the content goes to, for callers with writers of their own.
    int fd() const { return fd_; }
    // All of it, or false (errno set); later commit() then fails too.
    bool write(const void* data, std::size_t size);
    // Flushes, closes and puts the content in place; false when any step failed (the
    // old file is then untouched). True when nothing is open.
    bool commit();
    // Drops the new content; the old file stays as it was.
    void abandon();

    // The file the content replaces: the path, or a link's resolved target.
    const std::string& target() const { return target_; }
    // True when the content goes straight into the target (not a regular file).
    bool inPlace() const { return isOpen() && temporary_.empty(); }

    // The process id a temporary file's name carries; 0 when the name is not one.
    static long temporaryOwner(const std::string& fileName);

private:
    int fd_ = -1;
    bool failed_ = false;
    std::string target_;
    std::string temporary_;  // empty when writing in place
};

}  // namespace wendra::platform
