// The libcurl request against a real server on 127.0.0.1: what each kind of answer
// becomes, the headers sent, the counters, cancel from another thread and the cap.

#include "platform/linux/CurlHttp.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <future>
#include <string>
#include <thread>
#include <utility>

#include "support/DirectConnection.h"
#include "support/LoopbackHttpServer.h"
#include "support/WaitUntil.h"
#include "version/Version.h"

namespace wendra::platform {
namespace {

using test::LoopbackHttpServer;
using Connection = LoopbackHttpServer::Connection;

// Short enough that the failing cases do not drag; still far above loopback delays.
const HttpTimings kQuick{std::chrono::milliseconds(2000), std::chrono::milliseconds(400),
                         std::chrono::milliseconds(50), std::chrono::milliseconds(1000), 1024};

// Sends the head, then the body a byte every 100 ms: never idle, always too slow.
void trickle(Connection& c) {
    if (!c.send("HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\n")) return;
    for (int i = 0; i < 100 && c.send("x"); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
}

std::string pattern(std::size_t size) {
    std::string text(size, '\0');
    for (std::size_t i = 0; i < size; ++i) text[i] = static_cast<char>((i * 7919) >> 3);
    return text;
}

std::string bodyOf(const HttpRequest& request) {
    const auto body = request.body();
    return {reinterpret_cast<const char*>(body.data()), body.size()};
}

struct AnswerCase {
    const char* legend;
    LoopbackHttpServer::Handler handler;
    int error;
    int connections;  // seen by the server: the attempts, and the redirects followed
    std::string body;
};

TEST(CurlHttp, EachKindOfAnswerGivesItsCode) {
    const std::string large = pattern(3u << 20);
    const AnswerCase cases[] = {
        {"a plain answer is read whole", [](Connection& c) { c.answer(200, "one\ntwo\n"); },
         HttpRequest::kOk, 1, "one\ntwo\n"},
        {"a large body arrives intact", [&](Connection& c) { c.answer(200, large); },
         HttpRequest::kOk, 1, large},
        {"an empty body is a success", [](Connection& c) { c.answer(200, ""); }, HttpRequest::kOk,
         1, ""},
        {"a missing page is no usable answer and is not retried",
         [](Connection& c) { c.answer(404, "<html>gone</html>"); }, HttpRequest::kNoTile, 1, ""},
        {"a server error is retried, then reported as the request's",
         [](Connection& c) { c.answer(500, "busy"); }, HttpRequest::kSendFailed, 3, ""},
        {"a tile gone for good is no tile", [](Connection& c) { c.answer(410, "<html/>"); },
         HttpRequest::kNoTile, 1, ""},
        {"a refusal is the request's failure and is not asked again at once",
         [](Connection& c) { c.answer(403, "<html>blocked</html>"); }, HttpRequest::kSendFailed, 1,
         ""},
        {"too many requests is not asked again at once",
         [](Connection& c) { c.answer(429, "<html>slow down</html>"); }, HttpRequest::kSendFailed,
         1, ""},
        {"a body trickling under the low-speed limit fails the read", trickle,
         HttpRequest::kReadFailed, 3, ""},
        {"a server that closes mid-body fails the read",
         [](Connection& c) { c.send("HTTP/1.1 200 OK\r\nContent-Length: 1000\r\n\r\n0123456789"); },
         HttpRequest::kReadFailed, 3, ""},
        {"a server that never answers times out in the request",
         [](Connection& c) { c.holdOpen(); }, HttpRequest::kSendFailed, 3, ""},
        {"a server that stalls after the head times out in the read",
         [](Connection& c) {
             c.send("HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\nabc");
             c.holdOpen();
         },
         HttpRequest::kReadFailed, 3, ""},
        {"a redirect is followed",
         [](Connection& c) {
             if (c.path() == "/start")
                 c.answer(302, "", "Location: /moved\r\n");
             else
                 c.answer(200, "here");
         },
         HttpRequest::kOk, 2, "here"},
        {"a redirect to another scheme is refused",
         [](Connection& c) { c.answer(302, "", "Location: file:///etc/passwd\r\n"); },
         HttpRequest::kBadUrl, 3, ""},
        {"a body announced above the cap is refused before it is read",
         [](Connection& c) {
             c.send("HTTP/1.1 200 OK\r\nContent-Length: 17000000\r\n\r\n");
             c.holdOpen();
         },
         HttpRequest::kReadFailed, 3, ""},
        {"a body without a length that passes the cap is cut off",
         [](Connection& c) {
             c.send("HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n");
             const std::string piece(1 << 16, 'x');
             while (c.send(piece)) {
             }
         },
         HttpRequest::kReadFailed, 3, ""},
    };
    for (const auto& item : cases) {
        SCOPED_TRACE(item.legend);
        LoopbackHttpServer server(item.handler);
        HttpSession session(kQuick);
        CurlHttp request(session);
        EXPECT_EQ(request.request(server.url("/start"), HttpSession::kTileSlot), item.error);
        EXPECT_EQ(request.error(), item.error);
        EXPECT_EQ(server.requestCount(), item.connections);
        EXPECT_EQ(bodyOf(request), item.body);
        EXPECT_EQ(request.body().data()[request.length()], 0);
    }
}

TEST(CurlHttp, SendsTheAgentAndNoCacheHeaders) {
    LoopbackHttpServer server([](Connection& c) { c.answer(200, "x"); });
    HttpSession session(kQuick);
    CurlHttp request(session);
    ASSERT_EQ(request.request(server.url("/tiles/1/2/3.png?k=v"), HttpSession::kSecondSlot),
              HttpRequest::kOk);
    const auto heads = server.heads();
    ASSERT_EQ(heads.size(), 1u);
    EXPECT_EQ(heads[0].rfind("GET /tiles/1/2/3.png?k=v HTTP/1.1\r\n", 0), 0u) << heads[0];
    EXPECT_NE(heads[0].find("\r\nUser-Agent: Wendra/" + std::string(kVersionNumber) + "\r\n"),
              std::string::npos)
        << heads[0];
    // Tile servers' usage policies forbid asking past their caches.
    EXPECT_EQ(heads[0].find("no-cache"), std::string::npos);
    EXPECT_EQ(heads[0].find("If-"), std::string::npos);
    EXPECT_EQ(request.status(), 200);
}

TEST(CurlHttp, ConditionalRequestsLearnTheValidatorsAndA304) {
    LoopbackHttpServer server([](Connection& c) {
        const std::string validators =
            "ETag: \"v1\"\r\nLast-Modified: Tue, 01 Dec 2026 10:00:00 GMT\r\n";
        if (c.head().find("\r\nIf-None-Match: \"v1\"\r\n") != std::string::npos)
            c.answer(304, "", validators);
        else
            c.answer(200, "tile", validators);
    });
    HttpSession session(kQuick);
    CurlHttp request(session);
    ASSERT_EQ(request.request(server.url("/t"), HttpSession::kTileSlot), HttpRequest::kOk);
    EXPECT_FALSE(request.notModified());
    const HttpValidators learned = request.answer().validators;
    EXPECT_EQ(learned.etag, "\"v1\"");
    EXPECT_EQ(learned.lastModified, "Tue, 01 Dec 2026 10:00:00 GMT");

    request.setConditions(learned);
    ASSERT_EQ(request.request(server.url("/t"), HttpSession::kTileSlot), HttpRequest::kOk);
    EXPECT_TRUE(request.notModified());
    EXPECT_EQ(request.status(), 304);
    EXPECT_EQ(request.length(), 0u);
    EXPECT_EQ(request.answer().validators.etag, "\"v1\"");
    const auto heads = server.heads();
    ASSERT_EQ(heads.size(), 2u);
    EXPECT_NE(heads[1].find("\r\nIf-Modified-Since: Tue, 01 Dec 2026 10:00:00 GMT\r\n"),
              std::string::npos);

    // The conditions serve one request; a validator with a line break is not sent.
    request.request(server.url("/t"), HttpSession::kTileSlot);
    request.setConditions({"x\r\nX-Injected: 1", "\"v2\"\nX-Injected: 2"});
    request.request(server.url("/t"), HttpSession::kTileSlot);
    const auto later = server.heads();
    ASSERT_EQ(later.size(), 4u);
    EXPECT_EQ(later[2].find("If-"), std::string::npos);
    EXPECT_EQ(later[3].find("X-Injected"), std::string::npos) << later[3];
}

TEST(CurlHttp, RetryAfterKeepsTheHostAloneUntilItPasses) {
    std::atomic<int> answers{0};
    LoopbackHttpServer server([&](Connection& c) {
        if (answers++ == 0)
            c.answer(503, "<html>maintenance</html>", "Retry-After: 1\r\n");
        else
            c.answer(200, "back");
    });
    HttpSession session(kQuick);
    CurlHttp request(session);
    EXPECT_EQ(request.request(server.url("/a"), HttpSession::kTileSlot), HttpRequest::kSendFailed);
    EXPECT_EQ(request.answer().retryAfter, std::chrono::seconds(1));
    EXPECT_EQ(server.requestCount(), 1) << "the server named its time: no retry in a second";
    EXPECT_EQ(request.request(server.url("/b"), HttpSession::kTileSlot), HttpRequest::kSendFailed);
    EXPECT_EQ(server.requestCount(), 1);
    std::this_thread::sleep_for(std::chrono::milliseconds(1100));
    EXPECT_EQ(request.request(server.url("/c"), HttpSession::kTileSlot), HttpRequest::kOk);
    EXPECT_EQ(bodyOf(request), "back");
}

TEST(CurlHttp, RetryAfterIsSecondsOrAnHttpDate) {
    // 1445412480 is Wed, 21 Oct 2015 07:28:00 GMT.
    constexpr std::int64_t kNow = 1445412480;
    const std::pair<const char*, long> cases[] = {
        {"120", 120},
        {" 7 ", 7},
        {"0", 0},
        {"-5", 0},                               // nonsense: ask again at once
        {"Wed, 21 Oct 2015 07:30:00 GMT", 120},  // two minutes later
        {"Wed, 21 Oct 2015 07:00:00 GMT", 0},    // already past
        {"99999999999999999999999", 3600},       // held to the longest wait
        {"soon", -1},
        {"", -1},
    };
    for (const auto& [text, seconds] : cases)
        EXPECT_EQ(retryAfterSeconds(text, kNow).count(), seconds) << text;
}

TEST(CurlHttp, CountsTheRunsBytesAndCompletedRequests) {
    LoopbackHttpServer server([](Connection& c) {
        if (c.path() == "/bad")
            c.answer(500, "12345");
        else
            c.answer(200, "0123456789");
    });
    HttpSession session(kQuick);
    CurlHttp request(session);
    request.request(server.url("/a"), HttpSession::kTileSlot);
    request.request(server.url("/bad"), HttpSession::kTileSlot);
    request.request(server.url("/b"), HttpSession::kSecondSlot);
    // Failed attempts still cost their bytes; only complete requests count.
    EXPECT_EQ(session.bytesDownloaded(), 10u + 3 * 5u + 10u);
    EXPECT_EQ(session.requestsCompleted(), 2u);
}

TEST(CurlHttp, CancelFromAnotherThreadEndsTheRequestAndLaterOnes) {
    LoopbackHttpServer server([](Connection& c) { c.holdOpen(); });
    // Time-outs far beyond the test's patience: only the cancel can end it.
    HttpSession session(
        {std::chrono::seconds(60), std::chrono::seconds(60), std::chrono::seconds(60)});
    CurlHttp request(session);
    auto result = std::async(std::launch::async, [&] {
        return request.request(server.url("/slow"), HttpSession::kTileSlot);
    });
    ASSERT_TRUE(test::waitUntil([&] { return server.requestCount() == 1; }));
    request.cancel();
    ASSERT_EQ(result.wait_for(test::kWaitDeadline), std::future_status::ready);
    EXPECT_EQ(result.get(), HttpRequest::kCancelled);
    EXPECT_EQ(request.request(server.url("/again"), HttpSession::kTileSlot),
              HttpRequest::kCancelled);
    EXPECT_EQ(server.requestCount(), 1);
}

TEST(CurlHttp, UnreachableServersFailInTheirOwnSteps) {
    HttpSession session(kQuick);
    CurlHttp request(session);
    int closedPort = 0;
    {
        LoopbackHttpServer gone([](Connection&) {});
        closedPort = gone.port();
    }
    const std::string base = "http://127.0.0.1:" + std::to_string(closedPort);
    EXPECT_EQ(request.request(base + "/", HttpSession::kTileSlot), HttpRequest::kSendFailed);
    // https is accepted and fails in the handshake with a server that speaks plain HTTP.
    LoopbackHttpServer plain([](Connection& c) { c.answer(200, "not tls"); });
    EXPECT_EQ(request.request("https://127.0.0.1:" + std::to_string(plain.port()) + "/",
                              HttpSession::kTileSlot),
              HttpRequest::kSendFailed);
    EXPECT_EQ(request.request("http://wendra-no-such-host.invalid/", HttpSession::kTileSlot),
              HttpRequest::kNoConnection);
}

}  // namespace
}  // namespace wendra::platform
