#include "platform/linux/CurlHttp.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <ctime>
#include <mutex>

#include "version/Version.h"

namespace wendra::platform {
namespace {

constexpr long kNotModified = 304;
constexpr long kNotFound = 404;
constexpr long kGone = 410;
constexpr long kTooManyRequests = 429;
constexpr long kFirstRedirect = 300;
constexpr long kFirstClientError = 400;
constexpr long kFirstServerError = 500;

void initialiseOnce() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

// The HTTP status of a complete answer in the program's codes. A missing tile is
// "no tile"; a busy or failing server is the request's failure (3), as is a refusal
// (403 and the like): counting those as missing tiles would send the coarser-level
// search through more requests to a server that already refuses us.
int errorForStatus(long status, HttpAnswer& answer) {
    if (status == kNotModified) {
        answer.notModified = true;
        return HttpRequest::kOk;
    }
    if (status == kNotFound || status == kGone) return HttpRequest::kNoTile;
    if (status == kTooManyRequests) {
        answer.retryable = false;
        return HttpRequest::kSendFailed;
    }
    if (status >= kFirstServerError) return HttpRequest::kSendFailed;
    if (status >= kFirstClientError) {
        answer.retryable = false;
        return HttpRequest::kSendFailed;
    }
    // A redirect without a place to go, or any other answer that is not the thing.
    if (status >= kFirstRedirect) return HttpRequest::kNoTile;
    return HttpRequest::kOk;
}

// libcurl's failures in the program's codes. Before the answer's head arrived a
// failure is the connect, send or request step's (3); after it, the read's (4). Name
// resolution stands for the routing step that had no connection to offer (2).
int errorFor(CURLcode code, HttpAnswer& answer, bool overflow) {
    if (overflow) return HttpRequest::kReadFailed;
    switch (code) {
        case CURLE_OK:
            return errorForStatus(answer.status, answer);
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
            return answer.status != 0 ? HttpRequest::kReadFailed : HttpRequest::kSendFailed;
    }
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front())))
        text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
        text.remove_suffix(1);
    return text;
}

bool sameNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

}  // namespace

std::chrono::seconds retryAfterSeconds(std::string_view value, std::int64_t now) {
    value = trimmed(value);
    if (value.empty()) return std::chrono::seconds(-1);
    std::int64_t seconds = 0;
    const auto [end, problem] = std::from_chars(value.data(), value.data() + value.size(), seconds);
    if (problem == std::errc() && end == value.data() + value.size())
        return std::chrono::seconds(std::max<std::int64_t>(seconds, 0));
    if (problem == std::errc::result_out_of_range) return HttpRequest::kMaxRetryAfter;
    const std::string date(value);
    const std::time_t when = curl_getdate(date.c_str(), nullptr);
    if (when == -1) return std::chrono::seconds(-1);
    return std::chrono::seconds(std::max<std::int64_t>(when - now, 0));
}

struct CurlHttp::Transfer {
    CurlHttp* request;
    std::vector<std::uint8_t>* buffer;
    HttpAnswer* answer;
    std::chrono::steady_clock::time_point lastActivity;
    std::int64_t lastDown = 0;
    std::int64_t lastUp = 0;
    bool overflow = false;
};

std::string CurlHttp::agent() {
    return "Wendra/" + std::string(kVersionNumber);
}

CurlHttp::CurlHttp(HttpSession& session) : HttpRequest(session) {
    initialiseOnce();
    easy_ = curl_easy_init();
    multi_ = curl_multi_init();
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

// Each header line of each answer (redirects included): the validators and the
// Retry-After of the last answer are kept.
std::size_t CurlHttp::onHeader(char* data, std::size_t size, std::size_t count, void* opaque) {
    auto& answer = *static_cast<Transfer*>(opaque)->answer;
    const std::size_t bytes = size * count;
    const std::string_view line(data, bytes);
    if (line.rfind("HTTP/", 0) == 0) {
        answer.validators = {};
        answer.retryAfter = std::chrono::seconds(-1);
        return bytes;
    }
    const std::size_t colon = line.find(':');
    if (colon == std::string_view::npos) return bytes;
    const std::string_view name = trimmed(line.substr(0, colon));
    const std::string_view value = trimmed(line.substr(colon + 1));
    if (sameNoCase(name, "ETag"))
        answer.validators.etag = value;
    else if (sameNoCase(name, "Last-Modified"))
        answer.validators.lastModified = value;
    else if (sameNoCase(name, "Retry-After"))
        answer.retryAfter = retryAfterSeconds(value, std::time(nullptr));
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

void CurlHttp::setOptions(const Attempt& what, Transfer& transfer) {
    const auto& timings = session().timings();
    curl_easy_reset(easy_);
    curl_easy_setopt(easy_, CURLOPT_URL, what.url.c_str());
    static const std::string kAgent = agent();
    curl_easy_setopt(easy_, CURLOPT_USERAGENT, kAgent.c_str());
    curl_easy_setopt(easy_, CURLOPT_HTTPGET, 1L);
    curl_slist_free_all(headers_);
    headers_ = nullptr;
    // The validators come from the server's own headers: a line break in them would
    // start a header of the server's choosing, so such a value is not sent.
    const auto clean = [](const std::string& v) { return v.find_first_of("\r\n") == v.npos; };
    if (!what.conditions.lastModified.empty() && clean(what.conditions.lastModified))
        headers_ = curl_slist_append(
            headers_, ("If-Modified-Since: " + what.conditions.lastModified).c_str());
    if (!what.conditions.etag.empty() && clean(what.conditions.etag))
        headers_ = curl_slist_append(headers_, ("If-None-Match: " + what.conditions.etag).c_str());
    if (headers_) curl_easy_setopt(easy_, CURLOPT_HTTPHEADER, headers_);
    curl_easy_setopt(easy_, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(easy_, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(easy_, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(easy_, CURLOPT_MAXREDIRS, kMaxRedirects);
    curl_easy_setopt(easy_, CURLOPT_NOSIGNAL, 1L);
    if (!session().certificateFile().empty())
        curl_easy_setopt(easy_, CURLOPT_CAINFO, session().certificateFile().c_str());
    curl_easy_setopt(easy_, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(timings.connect.count()));
    curl_easy_setopt(easy_, CURLOPT_LOW_SPEED_LIMIT, timings.lowSpeedBytes);
    curl_easy_setopt(easy_, CURLOPT_LOW_SPEED_TIME,
                     std::max(1L, static_cast<long>(timings.lowSpeedTime.count() / 1000)));
    curl_easy_setopt(easy_, CURLOPT_MAXFILESIZE_LARGE,
                     static_cast<curl_off_t>(HttpSession::kMaxBodyBytes));
    curl_easy_setopt(easy_, CURLOPT_FRESH_CONNECT, what.freshConnection ? 1L : 0L);
    curl_easy_setopt(easy_, CURLOPT_WRITEFUNCTION, &CurlHttp::onBody);
    curl_easy_setopt(easy_, CURLOPT_WRITEDATA, &transfer);
    curl_easy_setopt(easy_, CURLOPT_HEADERFUNCTION, &CurlHttp::onHeader);
    curl_easy_setopt(easy_, CURLOPT_HEADERDATA, &transfer);
    curl_easy_setopt(easy_, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(easy_, CURLOPT_XFERINFOFUNCTION, &CurlHttp::onProgress);
    curl_easy_setopt(easy_, CURLOPT_XFERINFODATA, &transfer);
}

// Drives the multi loop until the transfer ends, is cancelled or stays idle too long.
int CurlHttp::runTransfer(Transfer& transfer) {
    const auto idle = session().timings().idle;
    auto& answer = *transfer.answer;
    int running = 1;
    while (running) {
        if (curl_multi_perform(multi_, &running) != CURLM_OK) return kSendFailed;
        if (cancelRequested()) return kCancelled;
        if (!running) break;
        if (std::chrono::steady_clock::now() - transfer.lastActivity > idle) {
            curl_easy_getinfo(easy_, CURLINFO_RESPONSE_CODE, &answer.status);
            return answer.status != 0 ? kReadFailed : kSendFailed;
        }
        curl_multi_poll(multi_, nullptr, 0, static_cast<int>(kPoll.count()), nullptr);
    }
    int left = 0;
    CURLcode code = CURLE_OK;
    while (CURLMsg* message = curl_multi_info_read(multi_, &left))
        if (message->msg == CURLMSG_DONE) code = message->data.result;
    curl_easy_getinfo(easy_, CURLINFO_RESPONSE_CODE, &answer.status);
    return errorFor(code, answer, transfer.overflow);
}

int CurlHttp::attempt(const Attempt& what, std::vector<std::uint8_t>& buffer, std::size_t& length,
                      HttpAnswer& answer) {
    if (!easy_ || !multi_) return kSendFailed;
    Transfer transfer{this, &buffer, &answer, std::chrono::steady_clock::now()};
    setOptions(what, transfer);
    if (curl_multi_add_handle(multi_, easy_) != CURLM_OK) return kSendFailed;
    const int error = runTransfer(transfer);
    curl_multi_remove_handle(multi_, easy_);
    // A body that came with a refusal is the server's page, not the thing asked for.
    length = error == kOk ? buffer.size() : 0;
    return error;
}

}  // namespace wendra::platform
