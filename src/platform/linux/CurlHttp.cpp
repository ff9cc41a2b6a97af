#include "platform/linux/CurlHttp.h"

#include <mutex>

namespace wendra::platform {
namespace {

constexpr long kTooManyRequests = 429;
constexpr long kFirstClientError = 300;  // an answer that is not the thing asked for
constexpr long kFirstServerError = 500;

void initialiseOnce() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

// libcurl's failures in the program's codes. Before the answer's head arrived a
// failure is the connect, send or request step's (3); after it, the read's (4). Name
// resolution stands for the routing step that had no connection to offer (2).
int errorFor(CURLcode code, long status, bool overflow) {
    if (overflow) return HttpRequest::kReadFailed;
    switch (code) {
        case CURLE_OK:
            if (status >= kFirstServerError || status == kTooManyRequests)
                return HttpRequest::kSendFailed;
            if (status >= kFirstClientError) return HttpRequest::kNoTile;
            return HttpRequest::kOk;
        case CURLE_UNSUPPORTED_PROTOCOL:
        case CURLE_URL_MALFORMAT:
            return HttpRequest::kBadUrl;
        case CURLE_COULDNT_RESOLVE_HOST:
        case CURLE_COULDNT_RESOLVE_PROXY:
            return HttpRequest::kNoConnection;
        case CURLE_ABORTED_BY_CALLBACK:
            return HttpRequest::kCancelled;
        case CURLE_TOO_MANY_REDIRECTS:
            return HttpRequest::kSendFailed;
        case CURLE_FILESIZE_EXCEEDED:
            return HttpRequest::kReadFailed;
        default:
            return status != 0 ? HttpRequest::kReadFailed : HttpRequest::kSendFailed;
    }
}

}  // namespace

struct CurlHttp::Transfer {
    CurlHttp* request;
    std::vector<std::uint8_t>* buffer;
    std::chrono::steady_clock::time_point lastActivity;
    std::int64_t lastDown = 0;
    std::int64_t lastUp = 0;
    bool overflow = false;
};

CurlHttp::CurlHttp(HttpSession& session) : HttpRequest(session) {
    initialiseOnce();
    easy_ = curl_easy_init();
    multi_ = curl_multi_init();
    headers_ = curl_slist_append(headers_, "Cache-Control: no-cache");
    headers_ = curl_slist_append(headers_, "Pragma: no-cache");
}

CurlHttp::~CurlHttp() {
    if (multi_) curl_multi_cleanup(multi_);
    if (easy_) curl_easy_cleanup(easy_);
    curl_slist_free_all(headers_);
}

void CurlHttp::wake() {
    if (multi_) curl_multi_wakeup(multi_);
}

std::size_t CurlHttp::onBody(char* data, std::size_t size, std::size_t count, void* opaque) {
    auto& transfer = *static_cast<Transfer*>(opaque);
    const std::size_t bytes = size * count;
    auto& buffer = *transfer.buffer;
    if (bytes > HttpSession::kMaxBodyBytes - buffer.size()) {
        transfer.overflow = true;
        return 0;  // libcurl ends the transfer with a write error
    }
    buffer.insert(buffer.end(), data, data + bytes);
    transfer.request->session().addBytes(bytes);
    transfer.lastActivity = std::chrono::steady_clock::now();
    return bytes;
}

int CurlHttp::onProgress(void* opaque, std::int64_t, std::int64_t downNow, std::int64_t,
                         std::int64_t upNow) {
    auto& transfer = *static_cast<Transfer*>(opaque);
    if (downNow != transfer.lastDown || upNow != transfer.lastUp) {
        transfer.lastDown = downNow;
        transfer.lastUp = upNow;
        transfer.lastActivity = std::chrono::steady_clock::now();
    }
    return transfer.request->cancelRequested() ? 1 : 0;
}

void CurlHttp::setOptions(const std::string& url, Transfer& transfer, bool freshConnection) {
    curl_easy_reset(easy_);
    curl_easy_setopt(easy_, CURLOPT_URL, url.c_str());
    curl_easy_setopt(easy_, CURLOPT_USERAGENT, kAgent);
    curl_easy_setopt(easy_, CURLOPT_HTTPGET, 1L);
    curl_easy_setopt(easy_, CURLOPT_HTTPHEADER, headers_);
    curl_easy_setopt(easy_, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(easy_, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(easy_, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(easy_, CURLOPT_MAXREDIRS, kMaxRedirects);
    curl_easy_setopt(easy_, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(easy_, CURLOPT_CONNECTTIMEOUT_MS,
                     static_cast<long>(session().timings().connect.count()));
    curl_easy_setopt(easy_, CURLOPT_MAXFILESIZE_LARGE,
                     static_cast<curl_off_t>(HttpSession::kMaxBodyBytes));
    curl_easy_setopt(easy_, CURLOPT_FRESH_CONNECT, freshConnection ? 1L : 0L);
    curl_easy_setopt(easy_, CURLOPT_WRITEFUNCTION, &CurlHttp::onBody);
    curl_easy_setopt(easy_, CURLOPT_WRITEDATA, &transfer);
    curl_easy_setopt(easy_, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(easy_, CURLOPT_XFERINFOFUNCTION, &CurlHttp::onProgress);
    curl_easy_setopt(easy_, CURLOPT_XFERINFODATA, &transfer);
}

// Drives the multi loop until the transfer ends, is cancelled or stays idle too long.
int CurlHttp::runTransfer(Transfer& transfer) {
    const auto idle = session().timings().idle;
    int running = 1;
    while (running) {
        if (curl_multi_perform(multi_, &running) != CURLM_OK) return kSendFailed;
        if (cancelRequested()) return kCancelled;
        if (!running) break;
        if (std::chrono::steady_clock::now() - transfer.lastActivity > idle) {
            curl_easy_getinfo(easy_, CURLINFO_RESPONSE_CODE, &status_);
            return status_ != 0 ? kReadFailed : kSendFailed;
        }
        curl_multi_poll(multi_, nullptr, 0, static_cast<int>(kPoll.count()), nullptr);
    }
    int left = 0;
    CURLcode code = CURLE_OK;
    while (CURLMsg* message = curl_multi_info_read(multi_, &left))
        if (message->msg == CURLMSG_DONE) code = message->data.result;
    curl_easy_getinfo(easy_, CURLINFO_RESPONSE_CODE, &status_);
    return errorFor(code, status_, transfer.overflow);
}

int CurlHttp::attempt(const std::string& url, std::vector<std::uint8_t>& buffer,
                      std::size_t& length, bool freshConnection) {
    status_ = 0;
    if (!easy_ || !multi_ || !headers_) return kSendFailed;
    Transfer transfer{this, &buffer, std::chrono::steady_clock::now()};
    setOptions(url, transfer, freshConnection);
    if (curl_multi_add_handle(multi_, easy_) != CURLM_OK) return kSendFailed;
    const int error = runTransfer(transfer);
    curl_multi_remove_handle(multi_, easy_);
    length = error == kOk ? buffer.size() : 0;
    return error;
}

}  // namespace wendra::platform
