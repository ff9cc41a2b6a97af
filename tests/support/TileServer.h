#pragma once
// The test tile server (tests/support/tile_server.py) as a child process on a port of
// its choosing, over HTTP or, with a certificate, HTTPS; stopped with the object. Its
// request log tells a test what reached it.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include <sys/types.h>

namespace wendra::test {

struct TileServerOptions {
    std::filesystem::path tiles;    // <z>/<x>/<y>.png|.jpg served first
    int realZoom = 19;              // generated tiles up to this web zoom, then placeholders
    std::filesystem::path control;  // a mode that overrides every request's, when not empty
    std::string retryAfter = "1";
    double trickleDelay = 0.02;
    std::filesystem::path certificate;  // with key: HTTPS
    std::filesystem::path key;
};

// A self-signed certificate for 127.0.0.1 and localhost, made with openssl; false
// when openssl is missing or failed.
bool makeTestCertificate(const std::filesystem::path& certificate,
                         const std::filesystem::path& key);

class TileServer {
public:
    explicit TileServer(const TileServerOptions& options = {});
    ~TileServer();
    TileServer(const TileServer&) = delete;
    TileServer& operator=(const TileServer&) = delete;

    // False when the server did not come up (no python3, a bad option).
    bool running() const { return port_ > 0; }
    int port() const { return port_; }
    // "http://127.0.0.1:<port><path>" (https with a certificate).
    std::string url(std::string_view path) const;
    // The request lines so far: path, If-None-Match, If-Modified-Since, User-Agent.
    std::vector<std::string> log() const;
    // Requests whose path starts with the prefix.
    int count(std::string_view prefix) const;
    // Writes the control file: every request answers in this mode ("" for its own).
    void setMode(std::string_view mode) const;

private:
    std::filesystem::path folder_;
    std::filesystem::path logFile_;
    std::filesystem::path control_;
    bool https_ = false;
    pid_t pid_ = -1;
    int port_ = 0;
};

}  // namespace wendra::test
