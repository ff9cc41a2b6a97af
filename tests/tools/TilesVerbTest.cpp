// wendra-tool tiles url and tiles fetch: a tile's addresses, a view's tiles fetched
// from the test tile server into a data folder (over HTTP and HTTPS with the test's
// certificate), and a fetch killed for real while it converts, which leaves the
// previous cache and its index whole.

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <thread>

#include "netmaps/SourceRecords.h"
#include "netmaps/TileImages.h"
#include "support/DirectConnection.h"
#include "platform/Utf8.h"
#include "support/TestPaths.h"
#include "support/TileServer.h"

namespace wendra::test {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

TEST(TilesVerb, UrlShowsBothAddressesAndTheWebNumbering) {
    struct Case {
        std::vector<std::string> args;
        int status;
        std::vector<std::string> expected;  // pieces of the line, or of the message
    };
    const Case cases[] = {
        {{"4", "3", "3", "1"},
         0,
         {"\"base\":\"https://", "/2/3/2.png\"", "\"overlay\":\"\"",
          "\"zoom\":2,\"column\":3,\"row\":2"}},
        // The piste overlay takes slot 4's template as its base.
        {{"OSM-Piste", "5", "10", "5"},
         0,
         {"\"source\":\"OSM-Piste\"", "/4/10/10.png\"", "\"overlay\":\"https://", "\"row\":10"}},
        {{"12", "3", "3", "1"}, 1, {"SOURCE"}},
        {{"Nowhere", "3", "3", "1"}, 1, {"SOURCE"}},
        {{"4", "22", "0", "0"}, 1, {"LEVEL"}},
        {{"4", "3", "4", "1"}, 1, {"0 to 3"}},
        {{"4", "3", "3"}, 1, {"expected"}},
    };
    for (const auto& item : cases) {
        std::vector<std::string> args = {"tiles", "url"};
        args.insert(args.end(), item.args.begin(), item.args.end());
        SCOPED_TRACE(args[2]);
        const ToolResult result = runTool(args);
        EXPECT_EQ(result.status, item.status) << result.err;
        for (const auto& piece : item.expected)
            EXPECT_NE((item.status == 0 ? result.out : result.err).find(piece), std::string::npos)
                << piece << " in " << result.out << result.err;
    }
}

// A data folder whose index points slot 4 at the server and the cache into the folder.
void prepareHome(const fs::path& home, const TileServer& server) {
    netmaps::TileServiceFields fields;
    fields.settingsFlags = 1;
    fields.cacheFolder = fromUtf8((home / "cache").string());
    netmaps::SourceSettings sources;
    sources.templates[4] = server.url("/tiles/*ZM1*/*GMX*/*GMY*.png");
    sources.updateSite.clear();
    std::string text = netmaps::netBmpMgrRecord(fields, sources);
    for (const auto& line : netmaps::sourceRecords(sources)) text += line;
    fs::create_directories(home);
    writeFile(home / "Wendra.net", text);
}

std::vector<std::string> fetchArgs(const fs::path& home, const std::string& at,
                                   const std::string& size) {
    return {"tiles",   "fetch", "--home", home.string(), "--at",     at,
            "--scale", "30000", "--size", size,          "--passes", "400"};
}

int countOf(const std::string& text, const std::string& piece) {
    int count = 0;
    for (auto at = text.find(piece); at != std::string::npos; at = text.find(piece, at + 1))
        ++count;
    return count;
}

TEST(TilesVerb, FetchFillsTheCacheOverHttpAndHttpsAndKeepsTheIndex) {
    TempDir folder;
    ASSERT_TRUE(makeTestCertificate(folder / "cert.pem", folder / "key.pem"));
    TileServerOptions secure;
    secure.certificate = folder / "cert.pem";
    secure.key = folder / "key.pem";
    TileServer plain;
    TileServer tls(secure);
    ASSERT_TRUE(plain.running() && tls.running());
    for (const TileServer* server : {&plain, &tls}) {
        SCOPED_TRACE(server->url(""));
        const fs::path home = folder / std::to_string(server->port());
        prepareHome(home, *server);
        auto args = fetchArgs(home, "45.3,7.2", "128x128");
        if (server == &tls) args.insert(args.end(), {"--ca-file", (folder / "cert.pem").string()});
        const ToolResult fetched = runTool(args);
        ASSERT_EQ(fetched.status, 0) << fetched.err;
        const int tiles = countOf(fetched.out, "\"status\":\"cached\"");
        EXPECT_GE(tiles, 4);
        EXPECT_EQ(countOf(fetched.out, "\n"), tiles) << fetched.out;
        const ToolResult listed = runTool({"tiles", "cache", "--home", home.string()});
        EXPECT_EQ(countOf(listed.out, "\"exists\":true"), tiles) << listed.out;
        // Everything held: a second fetch of the same view asks for nothing.
        const int asked = server->count("/tiles/");
        EXPECT_EQ(runTool(args).out, "");
        EXPECT_EQ(server->count("/tiles/"), asked);
    }
    // The test's certificate is no system one: without it the handshake fails.
    const fs::path home = folder / "untrusted";
    prepareHome(home, tls);
    const ToolResult refused = runTool(fetchArgs(home, "45.3,7.2", "128x128"));
    EXPECT_EQ(refused.status, 0);
    EXPECT_NE(refused.out.find("\"status\":\"failed\",\"error\":3"), std::string::npos)
        << refused.out;
    EXPECT_NE(refused.err.find("could not be reached"), std::string::npos);
}

std::map<fs::path, std::string> filesUnder(const fs::path& root) {
    std::map<fs::path, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(root))
        if (entry.is_regular_file()) files[entry.path()] = readFile(entry.path());
    return files;
}

TEST(TilesVerb, AFetchKilledWhileConvertingLeavesThePreviousCacheWhole) {
    TileServer server;
    ASSERT_TRUE(server.running());
    TempDir folder;
    const fs::path home = folder / "home";
    prepareHome(home, server);
    ASSERT_EQ(runTool(fetchArgs(home, "45.3,7.2", "128x128")).status, 0);
    const std::string index = readFile(home / "Wendra.net");
    const auto before = filesUnder(home / "cache");
    ASSERT_FALSE(before.empty());

    // Elsewhere, killed right after the server answered its n-th tile: the tool is then
    // converting that tile.
    for (int n : {1, 3, 7, 12}) {
        SCOPED_TRACE(n);
        const int start = server.count("/tiles/");
        const pid_t child = spawnTool(fetchArgs(home, "46.1,8.4", "800x480"));
        const auto deadline = std::chrono::steady_clock::now() + 30s;
        while (server.count("/tiles/") < start + n + 1 &&
               std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(1ms);
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
        EXPECT_EQ(readFile(home / "Wendra.net"), index);
        const auto after = filesUnder(home / "cache");
        for (const auto& [path, bytes] : before) EXPECT_EQ(after.at(path), bytes) << path;
        // A file under a tile's own name is a whole tile, never a half-written one.
        for (const auto& [path, bytes] : after) {
            if (path.extension() == ".jpg") {
                EXPECT_FALSE(decodeTileRgb(path).empty()) << path;
            }
        }
    }
    const ToolResult listed = runTool({"tiles", "cache", "--home", home.string()});
    EXPECT_EQ(countOf(listed.out, "\"exists\":true"), static_cast<int>(before.size()));
}

}  // namespace
}  // namespace wendra::test
