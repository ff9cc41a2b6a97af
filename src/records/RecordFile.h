#pragma once
// The buffered file every loader and saver uses: record lines in text files, and
// length-prefixed records in binary files (first byte 0xFF). One file at a time; a
// write that the system refuses makes every later write and close() report failure.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/ReplacingFile.h"

namespace wendra {

enum class RecordFileMode {
    WriteText = 1,    // create or replace
    Read = 2,         // a leading 0xFF is skipped and marks the file binary
    WriteBinary = 3,  // create or replace, starting with the 0xFF marker
    ReadBinary = 4,   // no marker expected; flagged binary
};

constexpr size_t kRecordFileBufferSize = 65536;
constexpr unsigned char kBinaryFileMarker = 0xFF;
// The line capacities the loaders use: list and track files, and everything else.
constexpr size_t kShortLineCapacity = 512;
constexpr size_t kLongLineCapacity = 8704;
// The code of the memory error box a caller shows when a file got no buffer.
constexpr int kRecordFileMemoryError = 201;

// Removes the half-written files that a save interrupted by a kill left in the folder
// ("<name>.tmp-PID-N" of a process that no longer runs); a live process's are kept.
// Returns how many were removed.
int sweepLeftoverTemporaries(const std::string& folder);

class RecordFile {
public:
    RecordFile();
    ~RecordFile();
    RecordFile(const RecordFile&) = delete;
    RecordFile& operator=(const RecordFile&) = delete;

    // Closes any file already held first. The write modes build the new content
    // beside the old file and put it in place only when close() succeeds, so a
    // failed save keeps the previous good copy (devices and other special files
    // are written in place).
    bool open(const std::string& path, RecordFileMode mode);
    // Flushes, then closes; false when any write of this file failed (the old
    // file, if any, is then left untouched). True when nothing is open.
    bool close();
    bool isOpen() const { return fd_ >= 0; }
    // False when the buffer could not be allocated: every open() then fails, and the
    // caller says so with memory error kRecordFileMemoryError.
    bool hasBuffer() const { return buffer_ != nullptr; }
    bool isBinary() const { return binary_; }

    // Replaces `line` with the next line, newline kept, and returns 1; 0 at the end
    // of the file with nothing read. A line (newline included) longer than
    // capacity - 2 bytes comes back in pieces of that size. A zero byte ends the line
    // and is consumed but not returned, as a C reader would see it.
    int readLine(std::string& line, size_t capacity);
    // Up to `size` bytes; fewer only at the end of the file or on a read error.
    size_t readBytes(void* out, size_t size);

    // Text modes only. False when the file is not open for text writing or a write
    // failed. A text longer than the buffer goes straight to the file.
    bool writeText(std::string_view text);
    // Keeps the low byte of each unit, as every text file of the program does.
    bool writeWide(std::u16string_view text);
    // Binary write mode only; the same buffering as writeText.
    bool writeBytes(const void* data, size_t size);

    // Offset of the next byte a read returns (the marker counts), for progress.
    uint64_t bytesConsumed() const { return consumed_; }
    // Size when opened for reading; bytes written so far when writing.
    uint64_t fileSize() const { return size_; }

private:
    bool refill();
    bool flush();
    bool append(const char* data, size_t size);
    bool writeAll(const char* data, size_t size);
    bool openForWriting(const std::string& path, RecordFileMode mode);
    bool openForReading(const std::string& path, RecordFileMode mode);
    bool isReading() const;
    void reset();

    std::unique_ptr<char[]> buffer_;
    int fd_ = -1;
    RecordFileMode mode_ = RecordFileMode::Read;
    size_t fill_ = 0;  // bytes in the buffer
    size_t pos_ = 0;   // next byte to hand out when reading
    uint64_t consumed_ = 0;
    uint64_t size_ = 0;
    bool binary_ = false;
    bool failed_ = false;
    bool atEnd_ = false;
    platform::ReplacingFile saving_;  // the save in progress in the write modes
};

}  // namespace wendra
