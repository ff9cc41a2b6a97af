#pragma once
// One HTTP GET at a time with at most three attempts, the program's error codes, the
// body in one of the session's two shared buffers, and cancel from any other thread.
// Owns the URL checks, the retry loop and the servers' Retry-After; a machine
// implementation does one attempt and reads the HTTP status into the codes.

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/HttpSession.h"

namespace wendra::platform {

// What a server said about its copy, to ask later whether it changed. Texts as the
// server sent them; empty when it sent none.
struct HttpValidators {
    std::string lastModified;
    std::string etag;

    bool empty() const { return lastModified.empty() && etag.empty(); }
};

// What one attempt learned besides the body.
struct HttpAnswer {
    long status = 0;                      // HTTP status of the final answer, 0 when none arrived
    bool notModified = false;             // 304 to a conditional request
    bool retryable = true;                // false: another attempt now would be refused again
    std::chrono::seconds retryAfter{-1};  // the server's Retry-After, -1 when none
    HttpValidators validators;
};

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
    // A Retry-After beyond this is taken as this: a wrong clock or a hostile server
    // cannot stop the downloads for days.
    static constexpr std::chrono::seconds kMaxRetryAfter{3600};
    static constexpr std::size_t kMaxHostLength = 255;
    static constexpr std::size_t kMaxPathLength = 2047;  // queries of the searches

    explicit HttpRequest(HttpSession& session) : session_(session) {}
    virtual ~HttpRequest() = default;
    HttpRequest(const HttpRequest&) = delete;
    HttpRequest& operator=(const HttpRequest&) = delete;

    // GETs the URL into the buffer slot (HttpSession::kTileSlot or kSecondSlot) with
    // up to three attempts a second apart; returns the error code, also in error().
    // A cancel request set before the call ends it at once with kCancelled. A host
    // that answered with a Retry-After gets no request before that time: kSendFailed.
    int request(std::string_view url, int slot);
    // Makes the next request() conditional (If-Modified-Since, If-None-Match); a 304
    // then is kOk with notModified() and an empty body. Used by that request only.
    void setConditions(HttpValidators conditions) { conditions_ = std::move(conditions); }
    // The last request's answer: status, validators, 304.
    const HttpAnswer& answer() const { return answer_; }
    bool notModified() const { return error_ == kOk && answer_.notModified; }

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
    struct Attempt {
        const std::string& url;
        const HttpValidators& conditions;  // empty: an unconditional GET
        bool freshConnection;
    };
    // One attempt: fills the buffer from its start, sets length and what the answer
    // said; returns the error code (404 and 410 kNoTile, 429 and 5xx kSendFailed).
    // Looks at cancelRequested() at least every 100 ms while it waits.
    virtual int attempt(const Attempt& what, std::vector<std::uint8_t>& buffer, std::size_t& length,
                        HttpAnswer& answer) = 0;
    // Wakes the attempt in progress so that it sees the cancel request soon.
    virtual void wake() {}

private:
    int splitUrl(std::string_view url);
    bool pauseBeforeRetry();
    int runAttempts(const std::string& url, std::vector<std::uint8_t>& buffer);
    void noteRetryAfter();

    HttpSession& session_;
    std::atomic<bool> cancel_{false};
    int error_ = kOk;
    int slot_ = HttpSession::kTileSlot;
    std::size_t length_ = 0;
    std::size_t readPosition_ = 0;
    std::string host_;
    std::string path_;
    HttpValidators conditions_;
    HttpAnswer answer_;
};

}  // namespace wendra::platform
