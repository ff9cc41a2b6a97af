#include "support/LoopbackHttpServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstring>

namespace wendra::test {
namespace {

constexpr int kPollMs = 20;
constexpr std::size_t kMaxHead = 65536;

// Waits for the socket to become readable; false when the server stops first.
bool waitReadable(int fd, const std::atomic<bool>& stopping) {
    while (!stopping.load()) {
        pollfd entry{fd, POLLIN, 0};
        if (::poll(&entry, 1, kPollMs) > 0) return true;
    }
    return false;
}

}  // namespace

std::string LoopbackHttpServer::Connection::path() const {
    const auto first = head_.find(' ');
    if (first == std::string::npos) return {};
    const auto second = head_.find(' ', first + 1);
    return head_.substr(first + 1, second - first - 1);
}

bool LoopbackHttpServer::Connection::send(std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t sent = ::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (sent <= 0) return false;
        bytes.remove_prefix(static_cast<std::size_t>(sent));
    }
    return true;
}

bool LoopbackHttpServer::Connection::answer(int status, std::string_view body,
                                            std::string_view extraHead) {
    std::string head = "HTTP/1.1 " + std::to_string(status) +
                       " X\r\nContent-Length: " + std::to_string(body.size()) +
                       "\r\nConnection: close\r\n";
    head += extraHead;
    head += "\r\n";
    return send(head) && send(body);
}

void LoopbackHttpServer::Connection::holdOpen() {
    char scratch[256];
    while (waitReadable(fd_, stopping_))
        if (::recv(fd_, scratch, sizeof scratch, 0) <= 0) return;
}

LoopbackHttpServer::LoopbackHttpServer(Handler handler) : handler_(std::move(handler)) {
    listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    ::bind(listener_, reinterpret_cast<sockaddr*>(&address), size);
    ::listen(listener_, 8);
    ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &size);
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this] { serve(); });
}

LoopbackHttpServer::~LoopbackHttpServer() {
    stopping_.store(true);
    thread_.join();
    ::close(listener_);
}

std::string LoopbackHttpServer::url(std::string_view path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + std::string(path);
}

std::vector<std::string> LoopbackHttpServer::heads() const {
    std::lock_guard lock(mutex_);
    return heads_;
}

std::string LoopbackHttpServer::readHead(int fd) const {
    std::string head;
    char piece[1024];
    while (head.find("\r\n\r\n") == std::string::npos && head.size() < kMaxHead) {
        if (!waitReadable(fd, stopping_)) break;
        const ssize_t got = ::recv(fd, piece, sizeof piece, 0);
        if (got <= 0) break;
        head.append(piece, static_cast<std::size_t>(got));
    }
    return head;
}

void LoopbackHttpServer::serve() {
    while (waitReadable(listener_, stopping_)) {
        const int fd = ::accept(listener_, nullptr, nullptr);
        if (fd < 0) continue;
        std::string head = readHead(fd);
        {
            std::lock_guard lock(mutex_);
            heads_.push_back(head);
        }
        requests_.fetch_add(1);
        Connection connection(fd, std::move(head), stopping_);
        handler_(connection);
        ::close(fd);
    }
}

}  // namespace wendra::test
