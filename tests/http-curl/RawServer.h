#pragma once
// A loopback server on raw sockets for the cases a normal server library
// cannot play: broken bodies, stalls, resets, proxies, and capturing the
// exact bytes of each request. Connections are served one after another
// on one thread, each by the behaviour given; everything is bounded in time.

#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace ql::http::testing {

class RawServer;

class RawConnection {
public:
    RawConnection(int socket, RawServer& server) : socket_(socket), server_(server) {}
    ~RawConnection();
    RawConnection(const RawConnection&) = delete;
    RawConnection& operator=(const RawConnection&) = delete;

    // The next request, head and Content-Length body; empty when the peer
    // closed or the wait ran out. The bytes are recorded on the server.
    std::string readRequest(std::chrono::milliseconds wait = std::chrono::seconds(10));
    void send(std::string_view bytes);
    // Closes at once with a TCP reset instead of an orderly close.
    void reset();
    // Waits until the peer closes or the server stops, at most `limit`.
    void holdOpen(std::chrono::milliseconds limit = std::chrono::seconds(10));

private:
    bool waitReadable(std::chrono::milliseconds limit);

    int socket_;
    RawServer& server_;
    std::string pending_;
};

class RawServer {
public:
    using Behaviour = std::function<void(RawConnection&)>;

    explicit RawServer(Behaviour behaviour);
    ~RawServer();
    RawServer(const RawServer&) = delete;
    RawServer& operator=(const RawServer&) = delete;

    int port() const { return port_; }
    std::string origin() const { return "http://127.0.0.1:" + std::to_string(port_); }
    std::vector<std::string> requests() const;
    bool stopping() const { return stopping_; }

private:
    friend class RawConnection;
    void serve();
    void record(std::string request);

    Behaviour behaviour_;
    int listener_ = -1;
    int port_ = 0;
    std::atomic<bool> stopping_{false};
    mutable std::mutex mutex_;
    std::vector<std::string> requests_;
    std::thread thread_;
};

// "HTTP/1.1 <status>\r\n<headers>Content-Length: n\r\n\r\n<body>"
std::string httpResponse(std::string_view status, std::string_view headers, std::string_view body);

} // namespace ql::http::testing
