#pragma once
// The HTTP request over libcurl: http:// and https://, redirects followed (at most 5,
// never to another scheme), the proxy of the environment, no cached answer. Each
// attempt runs in libcurl's multi loop so that a cancel is seen within one 50 ms poll.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include <curl/curl.h>

#include "platform/HttpRequest.h"

namespace wendra::platform {

class CurlHttp final : public HttpRequest {
public:
    static constexpr const char* kAgent = "Wendra";
    static constexpr long kMaxRedirects = 5;
    static constexpr std::chrono::milliseconds kPoll{50};

    explicit CurlHttp(HttpSession& session);
    ~CurlHttp() override;

    // HTTP status of the last attempt's final answer (0 when none arrived).
    long status() const { return status_; }

protected:
    int attempt(const std::string& url, std::vector<std::uint8_t>& buffer, std::size_t& length,
                bool freshConnection) override;
    void wake() override;

private:
    struct Transfer;
    static std::size_t onBody(char* data, std::size_t size, std::size_t count, void* transfer);
    static int onProgress(void* transfer, std::int64_t downTotal, std::int64_t downNow,
                          std::int64_t upTotal, std::int64_t upNow);
    void setOptions(const std::string& url, Transfer& transfer, bool freshConnection);
    int runTransfer(Transfer& transfer);

    CURL* easy_ = nullptr;
    CURLM* multi_ = nullptr;
    curl_slist* headers_ = nullptr;  // the no-cache lines
    long status_ = 0;
};

}  // namespace wendra::platform
