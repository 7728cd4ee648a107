// The body as it streams in, and the ways it can break off.

#include "HttplibServer.h"
#include "LayerClient.h"
#include "RoutedRawServer.h"

#include "http/CurlWinHttpLayer.h"

#include <gtest/gtest.h>

#include <thread>

namespace ql::http::testing {
namespace {

constexpr std::size_t kLargeBodySize = 64u << 20;

char patternByte(std::size_t offset) { return static_cast<char>((offset * 131 + (offset >> 12)) & 0xFF); }

std::uint64_t fnv1a(std::string_view bytes)
{
    std::uint64_t hash = 14695981039346656037ull;
    for (char c : bytes)
        hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    return hash;
}

class StreamedBodyTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto& routes = server.routes();
        routes.Get("/chunked", [](const httplib::Request&, httplib::Response& res) {
            res.set_chunked_content_provider("text/plain", [](std::size_t offset, httplib::DataSink& sink) {
                if (offset >= 30000)
                    sink.done();
                else
                    sink.write(std::string(10000, static_cast<char>('a' + offset / 10000)).data(), 10000);
                return true;
            });
        });
        routes.Get("/large", [](const httplib::Request&, httplib::Response& res) {
            res.set_content_provider(kLargeBodySize, "application/octet-stream",
                                     [](std::size_t offset, std::size_t length, httplib::DataSink& sink) {
                                         std::string piece(std::min<std::size_t>(length, 1 << 16), '\0');
                                         for (std::size_t i = 0; i < piece.size(); ++i)
                                             piece[i] = patternByte(offset + i);
                                         sink.write(piece.data(), piece.size());
                                         return true;
                                     });
        });
        ASSERT_TRUE(server.start());
    }

    HttplibServer server;
    CurlWinHttpLayer layer;
};

TEST_F(StreamedBodyTest, ChunkedBodyArrivesWhole)
{
    const LayerOutcome outcome = runThroughLayer(layer, {.url = server.origin() + "/chunked"});
    ASSERT_EQ(outcome.failedAt, Stage::None);
    EXPECT_EQ(outcome.body, std::string(10000, 'a') + std::string(10000, 'b') + std::string(10000, 'c'));
    EXPECT_NE(outcome.rawHeaders.find("Transfer-Encoding: chunked\r\n"), std::string::npos);
}

TEST_F(StreamedBodyTest, LargeBodyArrivesWhole)
{
    const LayerOutcome outcome = runThroughLayer(layer, {.url = server.origin() + "/large"});
    ASSERT_EQ(outcome.failedAt, Stage::None);
    ASSERT_EQ(outcome.body.size(), kLargeBodySize);
    std::string expected(kLargeBodySize, '\0');
    for (std::size_t i = 0; i < expected.size(); ++i)
        expected[i] = patternByte(i);
    EXPECT_EQ(fnv1a(outcome.body), fnv1a(expected));
}

TEST(BodyEnd, CompressedBodyStaysAsSent)
{
    const std::string gzipped("\x1f\x8b\x08\x00 not inflated", 17);
    RawServer server(answerEach([&gzipped](const std::string&) {
        return httpResponse("200 OK", "Content-Encoding: gzip\r\n", gzipped);
    }));
    CurlWinHttpLayer layer;
    const LayerOutcome outcome =
        runThroughLayer(layer, {.url = server.origin() + "/", .headers = "Accept-Encoding: gzip"});
    ASSERT_EQ(outcome.failedAt, Stage::None);
    EXPECT_EQ(outcome.body, gzipped);
}

// Each case sends a reply head and part of a body, then breaks off.
struct BrokenBodyCase {
    const char* name;
    const char* head;
    const char* bodyPart;
    enum class End { Reset, Close, Stall } end;
    std::string_view delivered;
    WinHttpError error;
};

const BrokenBodyCase kBrokenBodyCases[] = {
    {"ResetMidBody", "Content-Length: 1000\r\n", "partial", BrokenBodyCase::End::Reset, "partial",
     WinHttpError::ConnectionError},
    {"ContentLengthNotReached", "Content-Length: 1000\r\n", "partial", BrokenBodyCase::End::Close, "partial",
     WinHttpError::ConnectionError},
    {"TruncatedChunkedBody", "Transfer-Encoding: chunked\r\n", "5\r\nhello\r\n", BrokenBodyCase::End::Close, "hello",
     WinHttpError::ConnectionError},
    {"StallMidBody", "Content-Length: 1000\r\n", "partial", BrokenBodyCase::End::Stall, "partial",
     WinHttpError::Timeout},
};

class BrokenBodyTest : public ::testing::TestWithParam<BrokenBodyCase> {};

TEST_P(BrokenBodyTest, ReportedByTheReadWithTheBytesBefore)
{
    const BrokenBodyCase& c = GetParam();
    RawServer server([&c](RawConnection& connection) {
        connection.readRequest();
        connection.send(std::string("HTTP/1.1 200 OK\r\n") + c.head + "\r\n" + c.bodyPart);
        if (c.end == BrokenBodyCase::End::Reset) {
            // let the bytes before the reset reach the client first
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
            connection.reset();
        } else if (c.end == BrokenBodyCase::End::Stall) {
            connection.holdOpen();
        }
    });
    CurlWinHttpLayer layer;
    const LayerOutcome outcome = runThroughLayer(layer, {.url = server.origin() + "/", .timeoutMs = 1000});
    EXPECT_EQ(outcome.failedAt, Stage::Read);
    EXPECT_EQ(outcome.error, c.error);
    EXPECT_EQ(outcome.body, c.delivered);
    EXPECT_TRUE(outcome.rawHeaders.starts_with("HTTP/1.1 200 OK\r\n"));
}

INSTANTIATE_TEST_SUITE_P(Cases, BrokenBodyTest, ::testing::ValuesIn(kBrokenBodyCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(BodyEnd, CloseDelimitedBodyEndsCleanly)
{
    RawServer server([](RawConnection& connection) {
        connection.readRequest();
        connection.send("HTTP/1.1 200 OK\r\nConnection: close\r\n\r\nuntil the end");
    });
    CurlWinHttpLayer layer;
    const LayerOutcome outcome = runThroughLayer(layer, {.url = server.origin() + "/"});
    EXPECT_EQ(outcome.failedAt, Stage::None);
    EXPECT_EQ(outcome.body, "until the end");
}

TEST(BodyEnd, NoContentAndNotModifiedHaveNoBody)
{
    for (const char* status : {"204 No Content", "304 Not Modified"}) {
        RawServer server([status](RawConnection& connection) {
            connection.readRequest();
            connection.send(std::string("HTTP/1.1 ") + status + "\r\n\r\n");
            connection.holdOpen();
        });
        CurlWinHttpLayer layer;
        const LayerOutcome outcome = runThroughLayer(layer, {.url = server.origin() + "/"});
        EXPECT_EQ(outcome.failedAt, Stage::None) << status;
        EXPECT_EQ(outcome.body, "") << status;
    }
}

TEST(BodyEnd, PausesBetweenPiecesShorterThanTheTimeoutAreNoFailure)
{
    RawServer server([](RawConnection& connection) {
        connection.readRequest();
        connection.send("HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\n");
        for (char c : std::string_view("slow!")) {
            std::this_thread::sleep_for(std::chrono::milliseconds(250));
            connection.send(std::string(1, c));
        }
    });
    CurlWinHttpLayer layer;
    const LayerOutcome outcome = runThroughLayer(layer, {.url = server.origin() + "/", .timeoutMs = 1500});
    EXPECT_EQ(outcome.failedAt, Stage::None);
    EXPECT_EQ(outcome.body, "slow!");
}

} // namespace
} // namespace ql::http::testing
