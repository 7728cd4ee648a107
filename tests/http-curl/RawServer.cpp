#include "RawServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdlib>

namespace ql::http::testing {
namespace {

constexpr auto kPollSlice = std::chrono::milliseconds(50);
constexpr int kMaxConnections = 64;

std::size_t contentLength(std::string_view head)
{
    constexpr std::string_view name = "\r\ncontent-length:";
    std::string lower(head);
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    const std::size_t at = lower.find(name);
    return at == std::string::npos ? 0 : std::strtoul(lower.c_str() + at + name.size(), nullptr, 10);
}

} // namespace

RawConnection::~RawConnection()
{
    if (socket_ >= 0)
        ::close(socket_);
}

bool RawConnection::waitReadable(std::chrono::milliseconds limit)
{
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!server_.stopping() && std::chrono::steady_clock::now() < deadline) {
        pollfd fd{socket_, POLLIN, 0};
        if (::poll(&fd, 1, static_cast<int>(kPollSlice.count())) > 0)
            return true;
    }
    return false;
}

std::string RawConnection::readRequest(std::chrono::milliseconds wait)
{
    for (;;) {
        const std::size_t headEnd = pending_.find("\r\n\r\n");
        if (headEnd != std::string::npos) {
            const std::size_t total = headEnd + 4 + contentLength(pending_.substr(0, headEnd + 2));
            if (pending_.size() >= total) {
                std::string request = pending_.substr(0, total);
                pending_.erase(0, total);
                server_.record(request);
                return request;
            }
        }
        if (socket_ < 0 || !waitReadable(wait))
            return {};
        char buffer[16384];
        const ssize_t got = ::recv(socket_, buffer, sizeof buffer, 0);
        if (got <= 0)
            return {};
        pending_.append(buffer, static_cast<std::size_t>(got));
    }
}

void RawConnection::send(std::string_view bytes)
{
    while (socket_ >= 0 && !bytes.empty()) {
        const ssize_t sent = ::send(socket_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (sent <= 0)
            return;
        bytes.remove_prefix(static_cast<std::size_t>(sent));
    }
}

void RawConnection::reset()
{
    const linger abortive{1, 0};
    ::setsockopt(socket_, SOL_SOCKET, SO_LINGER, &abortive, sizeof abortive);
    ::close(socket_);
    socket_ = -1;
}

void RawConnection::holdOpen(std::chrono::milliseconds limit)
{
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (socket_ >= 0 && std::chrono::steady_clock::now() < deadline) {
        if (!waitReadable(std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now())))
            return;
        char buffer[4096];
        if (::recv(socket_, buffer, sizeof buffer, 0) <= 0)
            return;
    }
}

RawServer::RawServer(Behaviour behaviour) : behaviour_(std::move(behaviour))
{
    listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
    const int on = 1;
    ::setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    ::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address);
    ::listen(listener_, 16);
    socklen_t length = sizeof address;
    ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this] { serve(); });
}

RawServer::~RawServer()
{
    stopping_ = true;
    thread_.join();
    ::close(listener_);
}

void RawServer::serve()
{
    for (int served = 0; served < kMaxConnections && !stopping_;) {
        pollfd fd{listener_, POLLIN, 0};
        if (::poll(&fd, 1, static_cast<int>(kPollSlice.count())) <= 0)
            continue;
        const int socket = ::accept(listener_, nullptr, nullptr);
        if (socket < 0)
            continue;
        ++served;
        RawConnection connection(socket, *this);
        behaviour_(connection);
    }
}

void RawServer::record(std::string request)
{
    const std::lock_guard lock(mutex_);
    requests_.push_back(std::move(request));
}

std::vector<std::string> RawServer::requests() const
{
    const std::lock_guard lock(mutex_);
    return requests_;
}

std::string httpResponse(std::string_view status, std::string_view headers, std::string_view body)
{
    return "HTTP/1.1 " + std::string(status) + "\r\n" + std::string(headers) + "Content-Length: "
        + std::to_string(body.size()) + "\r\n\r\n" + std::string(body);
}

} // namespace ql::http::testing
