#pragma once
// Where tests find real files and the command-line tool, and a scratch folder
// that removes itself.

#include <filesystem>
#include <string>
#include <vector>

namespace wendra::test {

// ../shared/data beside the checkout, or $WENDRA_SHARED_DATA when set.
std::filesystem::path sharedData();
// The repository's own test inputs, tests/data.
std::filesystem::path testData();
std::filesystem::path toolPath();

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

std::string readFile(const std::filesystem::path& path);
void writeFile(const std::filesystem::path& path, const std::string& bytes);

struct ToolResult {
    int status = -1;  // exit status, or -1 when the child did not exit normally
    std::string out;
    std::string err;
};
// Runs wendra-tool with the arguments; stdin is /dev/null unless input is given.
// Standard output goes to `output` when one is named (result.out stays empty).
// Starts wendra-tool without waiting (stdin and stderr /dev/null, stdout into `output`
// when one is named, else /dev/null); returns the child's pid for the caller to reap.
int spawnTool(const std::vector<std::string>& args, const std::filesystem::path& output = {});
ToolResult runTool(const std::vector<std::string>& args, const std::string& input = {},
                   const std::filesystem::path& output = {});

// A program started in the background that said where it listens in its first line.
struct StartedChild {
    int pid = -1;           // <= 0 when it could not start
    std::string firstLine;  // empty when none came in time
};
// Starts argv (looked up on PATH unless argv[0] holds a slash) with its standard
// output into a pipe, and waits up to `milliseconds` for its first line.
StartedChild startForFirstLine(const std::vector<std::string>& argv, int milliseconds);
// SIGTERM to a child started so, and waits for it; nothing for a pid <= 0.
void stopChild(int pid);

}  // namespace wendra::test
