// The gpsd connection against a stand-in service on a local port: the request it
// sends, the service's JSON lines dropped even when split across reads, and how a
// missing or wrong service is told apart.

#include "platform/linux/GpsdDevice.h"

#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <vector>

namespace wendra::test {
namespace {

using namespace std::chrono_literals;

// Accepts one client, records what it says, and sends the pieces with pauses between.
class StandInService {
public:
    explicit StandInService(std::vector<std::string> pieces) : pieces_(std::move(pieces)) {
        listener_ = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        bind(listener_, reinterpret_cast<sockaddr*>(&address), length);
        getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
        port_ = ntohs(address.sin_port);
        listen(listener_, 1);
        thread_ = std::thread([this] { serve(); });
    }
    ~StandInService() {
        thread_.join();
        close(listener_);
    }
    int port() const { return port_; }
    std::string request() {
        thread_.join();
        thread_ = std::thread([] {});
        return request_;
    }

private:
    void serve() {
        pollfd p{listener_, POLLIN, 0};
        if (poll(&p, 1, 3000) <= 0) return;
        const int client = accept(listener_, nullptr, nullptr);
        for (const std::string& piece : pieces_) {
            send(client, piece.data(), piece.size(), MSG_NOSIGNAL);
            std::this_thread::sleep_for(30ms);  // so that each piece arrives on its own
            receive(client, 0);
        }
        // The request may come after the last piece: wait for its whole line.
        while (request_.find('\n') == std::string::npos && receive(client, 3000)) {
        }
        close(client);
    }
    // Appends what the client said within `waitMs`; false when it said nothing.
    bool receive(int client, int waitMs) {
        pollfd p{client, POLLIN, 0};
        if (poll(&p, 1, waitMs) <= 0) return false;
        char buffer[256];
        const ssize_t n = recv(client, buffer, sizeof buffer, MSG_DONTWAIT);
        if (n <= 0) return false;
        request_.append(buffer, static_cast<size_t>(n));
        return true;
    }

    std::vector<std::string> pieces_;
    int listener_ = -1;
    int port_ = 0;
    std::thread thread_;
    std::string request_;
};

const std::string kGreeting =
    "{\"class\":\"VERSION\",\"release\":\"3.22\",\"proto_major\":3,\"proto_minor\":14}\r\n";

std::string readAll(platform::SerialDevice& device) {
    std::string bytes;
    char buffer[64];  // small reads: lines are cut across them
    for (int i = 0; i < 100; ++i) {
        const long n = device.read(buffer, sizeof buffer);
        if (n < 0) break;
        bytes.append(buffer, static_cast<size_t>(n));
    }
    return bytes;
}

TEST(GpsdDevice, AsksForSentencesAndDropsTheServicesOwnLines) {
    StandInService service({kGreeting,
                            "{\"class\":\"DEVICES\",\"devices\":[{\"path\":\"/dev/pts/3\"}]}\n$GPG",
                            "GA,1*00\r\n{\"class\":\"WA", "TCH\",\"enable\":true}\n$GPRMC,2*00\r\n",
                            "{\"class\":\"ERROR\",\"message\":\"$GPRMC,3 inside\"}\n"});
    platform::SerialOpenResult opened = platform::openGpsdDevice({"127.0.0.1", service.port()});
    ASSERT_TRUE(opened.device);
    EXPECT_EQ(readAll(*opened.device), "$GPGGA,1*00\r\n$GPRMC,2*00\r\n");
    EXPECT_EQ(service.request(), "?WATCH={\"enable\":true,\"nmea\":true}\n");
    EXPECT_EQ(opened.device->write("$PSRF", 5), -1) << "the service takes no raw commands";
}

// A port that was free a moment ago: nothing listens there.
int closedPort() {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    bind(fd, reinterpret_cast<sockaddr*>(&address), length);
    getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    close(fd);
    return ntohs(address.sin_port);
}

TEST(GpsdDevice, ServiceThatIsNotThereIsNotFound) {
    const int port = closedPort();
    EXPECT_EQ(platform::openGpsdDevice({"127.0.0.1", port}).error,
              platform::SerialOpenError::NotFound);
    EXPECT_FALSE(platform::gpsdAnswers({"127.0.0.1", port}, 200ms));
}

TEST(GpsdDevice, OnlyAServiceThatGreetsLikeGpsdAnswersASearch) {
    StandInService gpsd({kGreeting});
    EXPECT_TRUE(platform::gpsdAnswers({"127.0.0.1", gpsd.port()}, 1000ms));
    StandInService web({"HTTP/1.1 400 Bad Request\r\n\r\n"});
    EXPECT_FALSE(platform::gpsdAnswers({"127.0.0.1", web.port()}, 1000ms));
}

}  // namespace
}  // namespace wendra::test
