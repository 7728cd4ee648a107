// Failures before the body: where each one surfaces and as what.

#include "LayerClient.h"
#include "RawServer.h"

#include "http/CurlWinHttpLayer.h"

#include <gtest/gtest.h>

#include <thread>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace ql::http::testing {
namespace {

// A loopback port nobody listens on: bound once, then released.
int closedPort()
{
    const int probe = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(probe, reinterpret_cast<sockaddr*>(&address), sizeof address);
    socklen_t length = sizeof address;
    ::getsockname(probe, reinterpret_cast<sockaddr*>(&address), &length);
    ::close(probe);
    return ntohs(address.sin_port);
}

TEST(ConnectionFailure, RefusedConnectionFailsTheSend)
{
    CurlWinHttpLayer layer;
    const LayerOutcome outcome =
        runThroughLayer(layer, {.url = "http://127.0.0.1:" + std::to_string(closedPort()) + "/"});
    EXPECT_EQ(outcome.failedAt, Stage::Send);
    EXPECT_EQ(outcome.error, WinHttpError::CannotConnect);
}

TEST(ConnectionFailure, SilentServerFailsTheResponseAfterTheTimeout)
{
    RawServer server([](RawConnection& connection) {
        connection.readRequest();
        connection.holdOpen();
    });
    CurlWinHttpLayer layer;
    const LayerOutcome outcome = runThroughLayer(layer, {.url = server.origin() + "/", .timeoutMs = 2000});
    EXPECT_EQ(outcome.failedAt, Stage::Receive);
    EXPECT_EQ(outcome.error, WinHttpError::Timeout);
    EXPECT_EQ(server.requests().size(), 1u);
}

TEST(ConnectionFailure, ServerClosingWithoutReplyFailsTheResponse)
{
    RawServer server([](RawConnection& connection) { connection.readRequest(); });
    CurlWinHttpLayer layer;
    const LayerOutcome outcome = runThroughLayer(layer, {.url = server.origin() + "/"});
    EXPECT_EQ(outcome.failedAt, Stage::Receive);
    EXPECT_EQ(outcome.error, WinHttpError::InvalidServerResponse);
}

TEST(ConnectionFailure, StallInsideTheHeadersFailsTheResponse)
{
    RawServer server([](RawConnection& connection) {
        connection.readRequest();
        connection.send("HTTP/1.1 200 OK\r\nContent-");
        connection.holdOpen();
    });
    CurlWinHttpLayer layer;
    const LayerOutcome outcome = runThroughLayer(layer, {.url = server.origin() + "/", .timeoutMs = 1000});
    EXPECT_EQ(outcome.failedAt, Stage::Receive);
    EXPECT_EQ(outcome.error, WinHttpError::Timeout);
}

TEST(ConnectionFailure, UploadThatStopsMovingFailsTheSend)
{
    RawServer server([&](RawConnection&) {
        // never reads: the upload stalls once the socket buffers are full
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (std::chrono::steady_clock::now() < until && !server.stopping())
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
    });
    CurlWinHttpLayer layer;
    const LayerOutcome outcome = runThroughLayer(
        layer, {.url = server.origin() + "/", .verb = "POST", .body = std::string(32u << 20, 'u'), .timeoutMs = 1000});
    EXPECT_EQ(outcome.failedAt, Stage::Send);
    EXPECT_EQ(outcome.error, WinHttpError::Timeout);
}

} // namespace
} // namespace ql::http::testing
