#include "TlsServer.h"

#include <httplib.h>

#include <cstdlib>
#include <string>

namespace ql::http::testing {
namespace {

std::filesystem::path makeTemporaryFolder()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "fault-tls-XXXXXX").string();
    return ::mkdtemp(pattern.data()) ? std::filesystem::path(pattern) : std::filesystem::path();
}

bool makeSelfSignedCertificate(const std::filesystem::path& folder)
{
    const std::string command = "openssl req -x509 -newkey rsa:2048 -nodes -days 1 -subj /CN=127.0.0.1"
                                " -addext subjectAltName=IP:127.0.0.1 -keyout '"
        + (folder / "key.pem").string() + "' -out '" + (folder / "cert.pem").string() + "' > /dev/null 2>&1";
    return std::system(command.c_str()) == 0;
}

} // namespace

TlsServer::TlsServer(Handler handler) : folder_(makeTemporaryFolder())
{
    if (folder_.empty() || !makeSelfSignedCertificate(folder_))
        return;
    server_ = std::make_unique<httplib::SSLServer>((folder_ / "cert.pem").c_str(), (folder_ / "key.pem").c_str());
    if (!server_->is_valid())
        return;
    server_->set_read_timeout(5, 0);
    server_->Get(".*", [this, handler = std::move(handler)](const httplib::Request& request,
                                                            httplib::Response& response) {
        ++requests_;
        handler(request, response);
    });
    const int port = server_->bind_to_any_port("127.0.0.1");
    if (port <= 0)
        return;
    // The socket listens already: connections wait in its queue until the
    // thread accepts them.
    thread_ = std::thread([this] { server_->listen_after_bind(); });
    port_ = port;
}

TlsServer::~TlsServer()
{
    if (server_)
        server_->stop();
    if (thread_.joinable())
        thread_.join();
    if (!folder_.empty())
        std::filesystem::remove_all(folder_);
}

} // namespace ql::http::testing
