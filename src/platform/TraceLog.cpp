#include "platform/TraceLog.h"

#include <fstream>

#include "platform/MessageBox.h"
#include "platform/Sync.h"

namespace wendra::platform {

namespace {

constexpr std::u16string_view kGuardLabel = u".TraceLog";

// The log is a byte file; the program's labels are Latin-1.
std::string bytesOf(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char16_t unit : text) out.push_back(unit < 0x100 ? static_cast<char>(unit) : '?');
    return out;
}

}  // namespace

bool TraceLog::start(const std::filesystem::path& folder) {
    const bool timely = lockGuard();
    path_ = folder / kFileName;
    std::ofstream file(path_, std::ios::binary | std::ios::trunc);
    if (!file) path_.clear();
    for (std::string& entry : ring_) entry.clear();
    position_ = 0;
    unlockGuard();
    if (!timely) reportSyncFailure(kGuardLabel);
    breadcrumb("Init");
    return !path_.empty();
}

void TraceLog::stop() {
    const bool timely = lockGuard();
    path_.clear();
    unlockGuard();
    if (!timely) reportSyncFailure(kGuardLabel);
}

std::filesystem::path TraceLog::path() const {
    const bool timely = lockGuard();
    std::filesystem::path copy = path_;
    unlockGuard();
    if (!timely) reportSyncFailure(kGuardLabel);
    return copy;
}

void TraceLog::write(std::string_view text) {
    const bool timely = lockGuard();
    appendLines({std::string(text)});
    unlockGuard();
    if (!timely) reportSyncFailure(kGuardLabel);
}

void TraceLog::breadcrumb(std::string_view text) {
    const bool timely = lockGuard();
    ring_[position_].assign(text.substr(0, kBreadcrumbBytes));
    position_ = (position_ + 1) % kBreadcrumbCount;
    unlockGuard();
    if (!timely) reportSyncFailure(kGuardLabel);
}

std::vector<std::string> TraceLog::breadcrumbs() const {
    const bool timely = lockGuard();
    std::vector<std::string> entries;
    for (std::size_t i = 0; i < kBreadcrumbCount; ++i)
        entries.push_back(ring_[(position_ + i) % kBreadcrumbCount]);
    unlockGuard();
    if (!timely) reportSyncFailure(kGuardLabel);
    return entries;
}

// A stuck guard must not send this back through reportSyncFailure, which would wait
// for the same guard again: its own failure is written here, inside the forced guard.
void TraceLog::writeSyncError(std::u16string_view label) {
    const bool timely = lockGuard();
    if (!timely) appendLines(takeSyncErrorLines(kGuardLabel));
    appendLines(takeSyncErrorLines(label));
    unlockGuard();
    if (!timely) {
        messageBoxes().show(Message{std::u16string(kGuardLabel), u".Sync error!", Buttons::Ok,
                                    Icon::Warning, true});
    }
}

bool TraceLog::lockGuard() const {
    const auto take = [this] { return !guard_.exchange(true, std::memory_order_acquire); };
    if (take()) return true;
    const bool timely = pollUntil(take);
    guard_.store(true, std::memory_order_release);  // taken anyway after a give-up
    return timely;
}

void TraceLog::unlockGuard() const {
    guard_.store(false, std::memory_order_release);
}

void TraceLog::appendLines(const std::vector<std::string>& lines) {
    if (path_.empty()) return;
    std::ofstream file(path_, std::ios::binary | std::ios::app);
    for (const std::string& line : lines) file << line << '\n';
}

std::vector<std::string> TraceLog::takeSyncErrorLines(std::u16string_view label) {
    std::vector<std::string> lines{".Sync.Error", bytesOf(label)};
    for (std::size_t i = 0; i < kBreadcrumbCount; ++i) {
        std::string& entry = ring_[(position_ + i) % kBreadcrumbCount];
        lines.push_back(std::move(entry));
        entry.clear();
    }
    position_ = 0;
    return lines;
}

TraceLog& traceLog() {
    static TraceLog instance;
    return instance;
}

}  // namespace wendra::platform
