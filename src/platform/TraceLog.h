#pragma once
// The trace log "TraceLog.txt" and the breadcrumb ring: the last 20 short notes
// (at most 511 bytes each) that a sync failure dumps. Every thread may write; a
// guard bit taken with the sync protocol serialises them. No folder set: no file.

#include <array>
#include <atomic>
#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace wendra::platform {

class TraceLog {
public:
    static constexpr std::size_t kBreadcrumbCount = 20;
    static constexpr std::size_t kBreadcrumbBytes = 511;
    static constexpr std::string_view kFileName = "TraceLog.txt";

    // Creates "TraceLog.txt" empty in the folder, clears the ring and records "Init".
    // False when the file cannot be created (then nothing is written to disk).
    bool start(const std::filesystem::path& folder);
    // Forgets the file; later writes only reach the ring and the boxes.
    void stop();
    std::filesystem::path path() const;

    // Appends the text as one line.
    void write(std::string_view text);
    // Remembers a note in the ring, cut to 511 bytes, overwriting the oldest.
    void breadcrumb(std::string_view text);
    // The notes, oldest first, empty ones included (20 of them).
    std::vector<std::string> breadcrumbs() const;

    // ".Sync.Error", the label, the 20 notes oldest first; the ring is cleared.
    void writeSyncError(std::u16string_view label);

private:
    bool lockGuard() const;
    void unlockGuard() const;
    void appendLines(const std::vector<std::string>& lines);
    std::vector<std::string> takeSyncErrorLines(std::u16string_view label);

    mutable std::atomic<bool> guard_{false};
    std::filesystem::path path_;
    std::array<std::string, kBreadcrumbCount> ring_{};
    std::size_t position_ = 0;  // the slot the next note goes to: the oldest one
};

// The program's trace log.
TraceLog& traceLog();

}  // namespace wendra::platform
