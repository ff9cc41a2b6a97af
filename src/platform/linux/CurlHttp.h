#pragma once
// The HTTP request over libcurl: http:// and https:// (the system's certificates, or
// the session's certificate file), redirects followed (at most 5, never to another
// scheme), the proxy of the environment, the agent "Wendra/<version>", no cache
// headers of its own. Each attempt runs in libcurl's multi loop so that a cancel is
// seen within one 50 ms poll.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include <curl/curl.h>

#include "platform/HttpRequest.h"

namespace wendra::platform {

class CurlHttp final : public HttpRequest {
public:
    static constexpr long kMaxRedirects = 5;
    static constexpr std::chrono::milliseconds kPoll{50};

    // "Wendra/3.1.0": tile servers' usage policies ask for the program and version.
    static std::string agent();

    explicit CurlHttp(HttpSession& session);
    ~CurlHttp() override;

    // HTTP status of the last attempt's final answer (0 when none arrived).
    long status() const { return answer().status; }

protected:
    int attempt(const Attempt& what, std::vector<std::uint8_t>& buffer, std::size_t& length,
                HttpAnswer& answer) override;
    void wake() override;

private:
    struct Transfer;
    static std::size_t onBody(char* data, std::size_t size, std::size_t count, void* transfer);
    static std::size_t onHeader(char* data, std::size_t size, std::size_t count, void* transfer);
    static int onProgress(void* transfer, std::int64_t downTotal, std::int64_t downNow,
                          std::int64_t upTotal, std::int64_t upNow);
    void setOptions(const Attempt& what, Transfer& transfer);
    int runTransfer(Transfer& transfer);

    CURL* easy_ = nullptr;
    CURLM* multi_ = nullptr;
    curl_slist* headers_ = nullptr;  // the conditions of the attempt in progress
};

// The seconds a Retry-After value asks for: a number of seconds or an HTTP date
// (against `now`, seconds since 1970); -1 when it is neither. Past dates give 0.
std::chrono::seconds retryAfterSeconds(std::string_view value, std::int64_t now);

}  // namespace wendra::platform
