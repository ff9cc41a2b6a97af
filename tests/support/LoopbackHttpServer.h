#pragma once
// A real HTTP server on 127.0.0.1 for tests: one thread takes connections one after
// the other and hands each, with its request head read, to the test's handler. The
// handler decides what the client gets: an answer, a cut body, or nothing at all.

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace wendra::test {

class LoopbackHttpServer {
public:
    class Connection {
    public:
        Connection(int fd, std::string head, const std::atomic<bool>& stopping)
            : fd_(fd), head_(std::move(head)), stopping_(stopping) {}
        const std::string& head() const { return head_; }
        // The path of the request line ("GET /a HTTP/1.1" gives "/a").
        std::string path() const;
        // False once the client has gone.
        bool send(std::string_view bytes);
        // A complete answer with Content-Length and "Connection: close".
        bool answer(int status, std::string_view body, std::string_view extraHead = {});
        // Says nothing until the client closes or the server stops.
        void holdOpen();

    private:
        int fd_;
        std::string head_;
        const std::atomic<bool>& stopping_;
    };
    using Handler = std::function<void(Connection&)>;

    explicit LoopbackHttpServer(Handler handler);
    ~LoopbackHttpServer();
    LoopbackHttpServer(const LoopbackHttpServer&) = delete;
    LoopbackHttpServer& operator=(const LoopbackHttpServer&) = delete;

    int port() const { return port_; }
    std::string url(std::string_view path) const;
    int requestCount() const { return requests_.load(); }
    std::vector<std::string> heads() const;

private:
    void serve();
    std::string readHead(int fd) const;

    Handler handler_;
    int listener_ = -1;
    int port_ = 0;
    std::atomic<bool> stopping_{false};
    std::atomic<int> requests_{0};
    mutable std::mutex mutex_;
    std::vector<std::string> heads_;
    std::thread thread_;
};

}  // namespace wendra::test
