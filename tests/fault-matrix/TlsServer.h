#pragma once
// An https loopback server with a certificate of its own, made for the test
// run by the openssl command (self-signed, for 127.0.0.1), and a handler
// that answers every request. Counts the requests it saw.

#include <atomic>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <thread>

namespace httplib {
class SSLServer;
struct Request;
struct Response;
} // namespace httplib

namespace ql::http::testing {

class TlsServer {
public:
    using Handler = std::function<void(const httplib::Request&, httplib::Response&)>;

    explicit TlsServer(Handler handler);
    ~TlsServer();
    TlsServer(const TlsServer&) = delete;
    TlsServer& operator=(const TlsServer&) = delete;

    // False when the certificate could not be made or the server not started.
    bool running() const { return port_ > 0; }
    std::string origin() const { return "https://127.0.0.1:" + std::to_string(port_); }
    // The certificate, to be trusted by a layer that should accept it.
    std::string certificateFile() const { return (folder_ / "cert.pem").string(); }
    int requests() const { return requests_; }

private:
    std::filesystem::path folder_;
    std::unique_ptr<httplib::SSLServer> server_;
    std::thread thread_;
    std::atomic<int> requests_{0};
    int port_ = 0;
};

} // namespace ql::http::testing
