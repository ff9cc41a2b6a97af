// The request's own part, with attempts scripted: which URLs reach the network, when
// it tries again, how the body is kept, cut into lines and saved.

#include "platform/HttpRequest.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <utility>
#include <vector>

namespace wendra::platform {
namespace {

// Answers each attempt with the next scripted code and body; records the attempts.
class ScriptedHttp final : public HttpRequest {
public:
    ScriptedHttp(HttpSession& session, std::vector<std::pair<int, std::string>> script)
        : HttpRequest(session), script_(std::move(script)) {}
    std::vector<std::string> urls;
    std::vector<bool> fresh;

protected:
    int attempt(const Attempt& what, std::vector<std::uint8_t>& buffer, std::size_t& length,
                HttpAnswer&) override {
        urls.push_back(what.url);
        fresh.push_back(what.freshConnection);
        const auto& [code, body] = script_.at(std::min(urls.size(), script_.size()) - 1);
        buffer.assign(body.begin(), body.end());
        length = buffer.size();
        return code;
    }

private:
    std::vector<std::pair<int, std::string>> script_;
};

const HttpTimings kNoPause{std::chrono::milliseconds(1), std::chrono::milliseconds(1),
                           std::chrono::milliseconds(0)};

std::string bodyOf(const HttpRequest& request) {
    const auto body = request.body();
    return {reinterpret_cast<const char*>(body.data()), body.size()};
}

TEST(HttpRequest, OnlyHttpUrlsWithAHostReachTheNetwork) {
    struct Case {
        const char* url;
        int error;
        const char* host;
        const char* path;
    };
    const std::string longHost = "http://" + std::string(256, 'h') + "/";
    const std::string longPath = "http://h/" + std::string(2047, 'p');
    const Case cases[] = {
        {"", HttpRequest::kNoTile, "", ""},  // empty: nothing to fetch
        {"ftp://host/x", HttpRequest::kBadUrl, "", ""},
        {"host/x", HttpRequest::kBadUrl, "", ""},
        {"http://", HttpRequest::kBadUrl, "", ""},
        {"http:///path", HttpRequest::kBadUrl, "", ""},
        {"http://host/a b", HttpRequest::kBadUrl, "", ""},
        {"http://host/a\r\nX-Injected: 1", HttpRequest::kBadUrl, "", ""},
        {longHost.c_str(), HttpRequest::kBadUrl, "", ""},
        {longPath.c_str(), HttpRequest::kBadUrl, "", ""},
        {"http://host", HttpRequest::kOk, "host", ""},
        {"http://host:8080/a/b.png?x=1", HttpRequest::kOk, "host:8080", "/a/b.png?x=1"},
        {"HTTPS://Tile.Example/1/2/3", HttpRequest::kOk, "Tile.Example", "/1/2/3"},
    };
    for (const auto& item : cases) {
        SCOPED_TRACE(item.url);
        HttpSession session(kNoPause);
        ScriptedHttp request(session, {{HttpRequest::kOk, "body"}});
        EXPECT_EQ(request.request(item.url, HttpSession::kTileSlot), item.error);
        EXPECT_EQ(request.urls.size(), item.error == HttpRequest::kOk ? 1u : 0u);
        EXPECT_EQ(request.host(), item.host);
        EXPECT_EQ(request.path(), item.path);
    }
}

TEST(HttpRequest, TriesAgainUnlessTheAnswerIsFinal) {
    struct Case {
        const char* legend;
        std::vector<std::pair<int, std::string>> script;
        int error;
        std::size_t attempts;
        std::string body;
    };
    const Case cases[] = {
        {"success at once", {{0, "ok"}}, 0, 1, "ok"},
        {"success at the third attempt", {{3, "junk"}, {4, "half"}, {0, "ok"}}, 0, 3, "ok"},
        {"three failures keep the last code and no body",
         {{3, ""}, {2, ""}, {4, "half"}},
         4,
         3,
         ""},
        {"no usable answer is final", {{5, "page"}}, 5, 1, ""},
        {"a cancel seen by the attempt is final", {{6, ""}}, 6, 1, ""},
    };
    for (const auto& item : cases) {
        SCOPED_TRACE(item.legend);
        HttpSession session(kNoPause);
        ScriptedHttp request(session, item.script);
        EXPECT_EQ(request.request("http://h/t", HttpSession::kTileSlot), item.error);
        EXPECT_EQ(request.urls.size(), item.attempts);
        EXPECT_EQ(bodyOf(request), item.body);
        EXPECT_EQ(request.body().data()[request.length()], 0);
        // Only the first attempt may use a kept connection.
        for (std::size_t i = 0; i < request.fresh.size(); ++i) EXPECT_EQ(request.fresh[i], i > 0);
        EXPECT_EQ(session.requestsCompleted(), item.error == 0 ? 1u : 0u);
    }
}

TEST(HttpRequest, ACancelStaysUntilCleared) {
    HttpSession session(kNoPause);
    ScriptedHttp request(session, {{HttpRequest::kOk, "ok"}});
    request.cancel();
    EXPECT_EQ(request.request("http://h/", HttpSession::kTileSlot), HttpRequest::kCancelled);
    EXPECT_TRUE(request.urls.empty());
    request.clearCancel();
    EXPECT_EQ(request.request("http://h/", HttpSession::kTileSlot), HttpRequest::kOk);
}

TEST(HttpRequest, SlotsKeepTheirBodiesApart) {
    HttpSession session(kNoPause);
    ScriptedHttp first(session, {{0, "tile"}});
    ScriptedHttp second(session, {{0, "positions"}});
    first.request("http://h/1", HttpSession::kTileSlot);
    second.request("http://h/2", HttpSession::kSecondSlot);
    EXPECT_EQ(bodyOf(first), "tile");
    EXPECT_EQ(bodyOf(second), "positions");
}

TEST(HttpRequest, ReadsTheBodyLineByLine) {
    struct Case {
        const char* legend;
        std::string body;
        std::size_t size;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"control bytes are dropped, empty lines kept",
         "ab\r\ncd\n\n\tef",
         10,
         {"ab", "cd", "", "ef"}},
        {"a long line goes on in the next one", "abcdefgh\nz", 5, {"abc", "def", "gh", "z"}},
        {"a line exactly at the limit ends at its newline", "abc\nxy\n", 5, {"abc", "xy"}},
        {"bytes above 127 are text", "caf\xc3\xa9\n", 20, {"caf\xc3\xa9"}},
        {"an empty body has no line", "", 10, {}},
    };
    for (const auto& item : cases) {
        SCOPED_TRACE(item.legend);
        HttpSession session(kNoPause);
        ScriptedHttp request(session, {{0, item.body}});
        ASSERT_EQ(request.request("http://h/", HttpSession::kTileSlot), 0);
        std::vector<std::string> lines;
        std::string line;
        while (request.readLine(line, item.size) && lines.size() < 10) lines.push_back(line);
        EXPECT_EQ(lines, item.lines);
    }
}

TEST(HttpRequest, SavesTheBodyCreatingItsFolders) {
    const auto folder = std::filesystem::path(::testing::TempDir()) / "wendra-http-save";
    std::filesystem::remove_all(folder);
    const std::string body("\x89PNG\0\r\n", 7);
    HttpSession session(kNoPause);
    ScriptedHttp request(session, {{0, body}});
    ASSERT_EQ(request.request("http://h/", HttpSession::kTileSlot), 0);
    const auto file = folder / "a" / "NetBmp";
    ASSERT_TRUE(request.saveBody(file));
    std::ifstream in(file, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), body);
    EXPECT_FALSE(request.saveBody(folder / "a"));  // a folder is no file
    std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace wendra::platform
