#include "platform/HttpRequest.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <system_error>
#include <thread>

namespace wendra::platform {
namespace {

constexpr int kPauseSteps = 100;

bool startsWithNoCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (std::tolower(c) != prefix[i]) return false;
    }
    return true;
}

}  // namespace

int HttpRequest::splitUrl(std::string_view url) {
    host_.clear();
    path_.clear();
    if (url.empty()) return kNoTile;
    std::size_t schemeLength = 0;
    if (startsWithNoCase(url, "http://"))
        schemeLength = 7;
    else if (startsWithNoCase(url, "https://"))
        schemeLength = 8;
    else
        return kBadUrl;
    // A space or a control byte would let a template smuggle in a header line.
    if (std::any_of(url.begin(), url.end(),
                    [](char c) { return static_cast<unsigned char>(c) <= ' '; }))
        return kBadUrl;
    const std::string_view rest = url.substr(schemeLength);
    const std::size_t slash = rest.find('/');
    const std::string_view host = rest.substr(0, slash);
    const std::string_view path = slash == std::string_view::npos ? "" : rest.substr(slash);
    if (host.empty() || host.size() > kMaxHostLength || path.size() > kMaxPathLength)
        return kBadUrl;
    host_ = host;
    path_ = path;
    return kOk;
}

int HttpRequest::request(std::string_view url, int slot) {
    slot_ = slot >= 0 && slot < HttpSession::kSlotCount ? slot : HttpSession::kTileSlot;
    auto& buffer = session_.buffer(slot_);
    length_ = 0;
    readPosition_ = 0;
    answer_ = {};
    error_ = splitUrl(url);
    if (error_ == kOk) {
        if (session_.heldOff(host_, std::chrono::steady_clock::now()))
            error_ = cancelRequested() ? kCancelled : kSendFailed;
        else
            error_ = runAttempts(std::string(url), buffer);
    }
    conditions_ = {};
    if (error_ != kOk) length_ = 0;
    length_ = std::min(length_, buffer.size());
    buffer.resize(length_);
    buffer.push_back(0);
    if (error_ == kOk) session_.addCompletedRequest();
    return error_;
}

int HttpRequest::runAttempts(const std::string& url, std::vector<std::uint8_t>& buffer) {
    int error = kOk;
    for (int attemptNumber = 0; attemptNumber < kMaxAttempts; ++attemptNumber) {
        if (cancelRequested() || (attemptNumber > 0 && !pauseBeforeRetry())) return kCancelled;
        buffer.clear();
        length_ = 0;
        answer_ = {};
        error = attempt({url, conditions_, attemptNumber > 0}, buffer, length_, answer_);
        if (error == kCancelled || (error != kOk && cancelRequested())) return kCancelled;
        noteRetryAfter();
        if (error == kOk || error == kNoTile || !answer_.retryable) break;
        // A server that names its time is asked again then, not in a second.
        if (answer_.retryAfter.count() >= 0) break;
    }
    return error;
}

void HttpRequest::noteRetryAfter() {
    if (answer_.retryAfter.count() <= 0) return;
    const auto wait = std::min(answer_.retryAfter, kMaxRetryAfter);
    session_.holdOff(host_, std::chrono::steady_clock::now() + wait);
}

bool HttpRequest::pauseBeforeRetry() {
    const auto step = session_.timings().retryPause / kPauseSteps;
    for (int i = 0; i < kPauseSteps; ++i) {
        if (cancelRequested()) return false;
        std::this_thread::sleep_for(step);
    }
    return !cancelRequested();
}

void HttpRequest::cancel() {
    cancel_.store(true, std::memory_order_release);
    wake();
}

std::span<const std::uint8_t> HttpRequest::body() const {
    const auto& buffer = session_.buffer(slot_);
    return {buffer.data(), std::min(length_, buffer.size())};
}

bool HttpRequest::readLine(std::string& line, std::size_t size) {
    line.clear();
    const auto text = body();
    if (readPosition_ >= text.size()) return false;
    const std::size_t limit = std::max<std::size_t>(size, 3) - 2;
    while (readPosition_ < text.size() && line.size() < limit) {
        const auto c = static_cast<char>(text[readPosition_++]);
        if (c == '\n') return true;
        if (static_cast<unsigned char>(c) >= ' ') line.push_back(c);
    }
    // A line cut at the limit still ends at its own newline when that comes next.
    if (readPosition_ < text.size() && text[readPosition_] == '\n') ++readPosition_;
    return true;
}

bool HttpRequest::saveBody(const std::filesystem::path& file) const {
    std::error_code ignored;
    if (file.has_parent_path()) std::filesystem::create_directories(file.parent_path(), ignored);
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    const auto text = body();
    out.write(reinterpret_cast<const char*>(text.data()),
              static_cast<std::streamsize>(text.size()));
    out.close();
    return static_cast<bool>(out);
}

}  // namespace wendra::platform
