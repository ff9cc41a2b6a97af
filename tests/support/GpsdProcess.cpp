#include "support/GpsdProcess.h"

#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "platform/linux/GpsdDevice.h"

namespace wendra::test {

std::string gpsdBinary() {
    for (const char* path : {"/usr/sbin/gpsd", "/usr/bin/gpsd", "/usr/local/sbin/gpsd"}) {
        if (access(path, X_OK) == 0) return path;
    }
    return {};
}

int freePort() {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (bind(fd, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
        getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        close(fd);
        return 0;
    }
    close(fd);
    return ntohs(address.sin_port);
}

// In the foreground, read-only, polling the device without waiting for clients.
GpsdProcess::GpsdProcess(const std::string& binary, int port, const std::string& device)
    : port_(port) {
    pid_ = fork();
    if (pid_ == 0) {
        const int null = open("/dev/null", O_RDWR);
        dup2(null, 1);
        dup2(null, 2);
        const std::string portText = std::to_string(port);
        execl(binary.c_str(), binary.c_str(), "-N", "-n", "-b", "-S", portText.c_str(),
              device.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
}

GpsdProcess::~GpsdProcess() {
    if (pid_ <= 0) return;
    kill(pid_, SIGTERM);
    int status = 0;
    waitpid(pid_, &status, 0);
}

bool GpsdProcess::answers() const {
    for (int i = 0; i < 50; ++i) {
        if (platform::gpsdAnswers({"127.0.0.1", port_}, std::chrono::milliseconds(200)))
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return false;
}

}  // namespace wendra::test
