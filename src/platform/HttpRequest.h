#pragma once
// One HTTP GET at a time with at most three attempts, the program's error codes, the
// body in one of the session's two shared buffers, and cancel from any other thread.
// Owns the URL checks and the retry loop; a machine implementation does one attempt.

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/HttpSession.h"

namespace wendra::platform {

class HttpRequest {
public:
    // Error codes, kept after each request; services keep them as their last result.
    static constexpr int kOk = 0;
    static constexpr int kBadUrl = 1;        // not http(s)://, no host, too long, spaces
    static constexpr int kNoConnection = 2;  // no route to the host: name not resolved
    static constexpr int kSendFailed = 3;    // connect, TLS, send, no answer, server error
    static constexpr int kReadFailed = 4;    // the body broke off, or passed the cap
    static constexpr int kNoTile = 5;        // empty URL, or the answer is not usable
    static constexpr int kCancelled = 6;

    static constexpr int kMaxAttempts = 3;
    static constexpr std::size_t kMaxHostLength = 255;
    static constexpr std::size_t kMaxPathLength = 2047;  // queries of the searches

    explicit HttpRequest(HttpSession& session) : session_(session) {}
    virtual ~HttpRequest() = default;
    HttpRequest(const HttpRequest&) = delete;
    HttpRequest& operator=(const HttpRequest&) = delete;

    // GETs the URL into the buffer slot (HttpSession::kTileSlot or kSecondSlot) with
    // up to three attempts a second apart; returns the error code, also in error().
    // A cancel request set before the call ends it at once with kCancelled.
    int request(std::string_view url, int slot);

    int error() const { return error_; }
    // The caller's own verdict on a body it cannot use (a placeholder tile: kNoTile).
    void setError(int code) { error_ = code; }
    const std::string& host() const { return host_; }
    const std::string& path() const { return path_; }

    // The body of the last request, valid until the next request into the same slot;
    // a zero byte follows it in the buffer.
    std::span<const std::uint8_t> body() const;
    std::size_t length() const { return length_; }

    // The next line of the body, at most size - 2 characters, bytes below ' ' left
    // out, '\n' ends it; false when the body is used up.
    bool readLine(std::string& line, std::size_t size);
    // Writes the body to the file, creating its folders; false when it cannot.
    bool saveBody(const std::filesystem::path& file) const;

    // From any thread: the request in progress ends with kCancelled within about
    // 100 ms; later requests end at once until clearCancel().
    void cancel();
    void clearCancel() { cancel_.store(false, std::memory_order_release); }
    bool cancelRequested() const { return cancel_.load(std::memory_order_acquire); }

    HttpSession& session() const { return session_; }

protected:
    // One attempt: fills the buffer from its start and sets length; returns the
    // error code. Looks at cancelRequested() at least every 100 ms while it waits.
    virtual int attempt(const std::string& url, std::vector<std::uint8_t>& buffer,
                        std::size_t& length, bool freshConnection) = 0;
    // Wakes the attempt in progress so that it sees the cancel request soon.
    virtual void wake() {}

private:
    int splitUrl(std::string_view url);
    bool pauseBeforeRetry();

    HttpSession& session_;
    std::atomic<bool> cancel_{false};
    int error_ = kOk;
    int slot_ = HttpSession::kTileSlot;
    std::size_t length_ = 0;
    std::size_t readPosition_ = 0;
    std::string host_;
    std::string path_;
};

}  // namespace wendra::platform
