#include "support/TileServer.h"

#include <cstdlib>
#include <fstream>
#include <random>

#include "support/TestPaths.h"

namespace fs = std::filesystem;

namespace wendra::test {
namespace {

constexpr int kStartMilliseconds = 15000;

fs::path serverScript() {
    return fs::path(WENDRA_SOURCE_DIR) / "tests" / "support" / "tile_server.py";
}

fs::path scratchFolder() {
    std::random_device random;
    const fs::path folder =
        fs::temp_directory_path() / ("wendra-tiles-" + std::to_string(random()));
    fs::create_directories(folder);
    return folder;
}

}  // namespace

bool makeTestCertificate(const fs::path& certificate, const fs::path& key) {
    const std::string command =
        "openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj /CN=127.0.0.1"
        " -addext subjectAltName=IP:127.0.0.1,DNS:localhost -keyout '" +
        key.string() + "' -out '" + certificate.string() + "' >/dev/null 2>&1";
    return std::system(command.c_str()) == 0 && fs::exists(certificate);
}

TileServer::TileServer(const TileServerOptions& options)
    : folder_(scratchFolder()),
      logFile_(folder_ / "requests.log"),
      control_(options.control.empty() ? folder_ / "mode" : options.control),
      https_(!options.certificate.empty()) {
    std::vector<std::string> args = {"python3",         serverScript().string(),
                                     "--log",           logFile_.string(),
                                     "--control",       control_.string(),
                                     "--real-zoom",     std::to_string(options.realZoom),
                                     "--retry-after",   options.retryAfter,
                                     "--trickle-delay", std::to_string(options.trickleDelay)};
    if (!options.tiles.empty()) args.insert(args.end(), {"--tiles", options.tiles.string()});
    if (https_)
        args.insert(args.end(),
                    {"--cert", options.certificate.string(), "--key", options.key.string()});
    const StartedChild server = startForFirstLine(args, kStartMilliseconds);
    pid_ = server.pid;
    // "PORT <n>" once it listens.
    if (server.firstLine.rfind("PORT ", 0) == 0) port_ = std::atoi(server.firstLine.c_str() + 5);
}

TileServer::~TileServer() {
    stopChild(pid_);
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
}

std::string TileServer::url(std::string_view path) const {
    return (https_ ? "https://127.0.0.1:" : "http://127.0.0.1:") + std::to_string(port_) +
           std::string(path);
}

std::vector<std::string> TileServer::log() const {
    std::vector<std::string> lines;
    std::ifstream in(logFile_);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

int TileServer::count(std::string_view prefix) const {
    int total = 0;
    for (const auto& line : log())
        if (line.rfind(prefix, 0) == 0) ++total;
    return total;
}

void TileServer::setMode(std::string_view mode) const {
    std::ofstream(control_, std::ios::trunc) << mode;
}

}  // namespace wendra::test
