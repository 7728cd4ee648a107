#pragma once
// A cpp-httplib server on 127.0.0.1 and a free port, run on its own thread
// for the life of the object. Routes are added before start().

#include <httplib.h>

#include <memory>
#include <string>
#include <thread>

namespace ql::http::testing {

class HttplibServer {
public:
    HttplibServer() : server_(std::make_unique<httplib::Server>()) {}
    HttplibServer(const std::string& certificateFile, const std::string& keyFile)
        : server_(std::make_unique<httplib::SSLServer>(certificateFile.c_str(), keyFile.c_str())), secure_(true)
    {
    }
    ~HttplibServer()
    {
        server_->stop();
        if (thread_.joinable())
            thread_.join();
    }

    httplib::Server& routes() { return *server_; }
    // False when the server could not listen (an SSL server without a usable certificate).
    bool start()
    {
        port_ = server_->bind_to_any_port("127.0.0.1");
        if (port_ <= 0)
            return false;
        // The socket listens from bind on, so no request can come too early.
        thread_ = std::thread([this] { server_->listen_after_bind(); });
        return true;
    }
    int port() const { return port_; }
    std::string origin() const { return (secure_ ? "https://127.0.0.1:" : "http://127.0.0.1:") + std::to_string(port_); }

private:
    std::unique_ptr<httplib::Server> server_;
    bool secure_ = false;
    int port_ = 0;
    std::thread thread_;
};

} // namespace ql::http::testing
