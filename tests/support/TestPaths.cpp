#include "support/TestPaths.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

namespace wendra::test {

namespace fs = std::filesystem;

fs::path sharedData() {
    if (const char* env = std::getenv("WENDRA_SHARED_DATA"); env && *env) return env;
    return WENDRA_SHARED_DATA;
}

fs::path testData() { return fs::path(WENDRA_SOURCE_DIR) / "tests" / "data"; }

fs::path toolPath() { return WENDRA_TOOL_PATH; }

TempDir::TempDir() {
    std::string pattern = (fs::temp_directory_path() / "wendra-test-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
}

TempDir::~TempDir() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path.string());
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void writeFile(const fs::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
    if (!out) throw std::runtime_error("cannot write " + path.string());
}

namespace {

std::string drain(int fd) {
    std::string text;
    char buffer[65536];
    for (;;) {
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n <= 0) break;
        text.append(buffer, static_cast<size_t>(n));
    }
    close(fd);
    return text;
}

}  // namespace

int spawnTool(const std::vector<std::string>& args, const std::filesystem::path& output) {
    const pid_t child = fork();
    if (child == 0) {
        const int null = open("/dev/null", O_RDWR);
        const int out =
            output.empty() ? null : open(output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(null, 0);
        dup2(out, 1);
        dup2(null, 2);
        std::vector<std::string> strings{toolPath().string()};
        strings.insert(strings.end(), args.begin(), args.end());
        std::vector<char*> argv;
        for (auto& s : strings) argv.push_back(s.data());
        argv.push_back(nullptr);
        execv(argv[0], argv.data());
        _exit(127);
    }
    return child;
}

ToolResult runTool(const std::vector<std::string>& args, const std::string& input,
                   const std::filesystem::path& output) {
    int outPipe[2], errPipe[2], inPipe[2];
    if (pipe(outPipe) || pipe(errPipe) || pipe(inPipe)) throw std::runtime_error("pipe failed");
    const pid_t child = fork();
    if (child == 0) {
        dup2(inPipe[0], 0);
        const int outFd = output.empty() ? outPipe[1] : open(output.c_str(), O_WRONLY);
        dup2(outFd, 1);
        dup2(errPipe[1], 2);
        for (int fd : {outPipe[0], outPipe[1], errPipe[0], errPipe[1], inPipe[0], inPipe[1]})
            close(fd);
        std::vector<std::string> argvStrings{toolPath().string()};
        argvStrings.insert(argvStrings.end(), args.begin(), args.end());
        std::vector<char*> argv;
        for (auto& a : argvStrings) argv.push_back(a.data());
        argv.push_back(nullptr);
        execv(argv[0], argv.data());
        _exit(127);
    }
    close(outPipe[1]);
    close(errPipe[1]);
    close(inPipe[0]);
    std::thread feeder([fd = inPipe[1], &input] {
        size_t done = 0;
        while (done < input.size()) {
            const ssize_t n = write(fd, input.data() + done, input.size() - done);
            if (n <= 0) break;
            done += static_cast<size_t>(n);
        }
        close(fd);
    });
    ToolResult result;
    std::thread errReader([&] { result.err = drain(errPipe[0]); });
    result.out = drain(outPipe[0]);
    errReader.join();
    feeder.join();
    int status = 0;
    waitpid(child, &status, 0);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

StartedChild startForFirstLine(const std::vector<std::string>& argv, int milliseconds) {
    StartedChild started;
    int out[2];
    if (pipe(out) != 0) return started;
    started.pid = fork();
    if (started.pid == 0) {
        dup2(out[1], 1);
        close(out[0]);
        close(out[1]);
        std::vector<std::string> strings = argv;
        std::vector<char*> args;
        for (auto& s : strings) args.push_back(s.data());
        args.push_back(nullptr);
        execvp(args[0], args.data());
        _exit(127);
    }
    close(out[1]);
    if (started.pid > 0) {
        char c;
        pollfd watch{out[0], POLLIN, 0};
        while (poll(&watch, 1, milliseconds) > 0 && read(out[0], &c, 1) == 1 && c != '\n')
            started.firstLine.push_back(c);
    }
    close(out[0]);
    return started;
}

void stopChild(int pid) {
    if (pid <= 0) return;
    kill(pid, SIGTERM);
    int status = 0;
    waitpid(pid, &status, 0);
}

}  // namespace wendra::test
