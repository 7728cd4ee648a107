// The exact bytes the layer puts on the wire, captured by a raw server.

#include "LayerClient.h"
#include "RawServer.h"

#include "http/CurlWinHttpLayer.h"

#include <gtest/gtest.h>

namespace ql::http::testing {
namespace {

class WireFormatTest : public ::testing::Test {
protected:
    std::string capture(LayerCall call)
    {
        call.url = server.origin() + call.url;
        const LayerOutcome outcome = runThroughLayer(layer, call);
        EXPECT_EQ(outcome.failedAt, Stage::None);
        EXPECT_EQ(outcome.body, "ok");
        const auto requests = server.requests();
        return requests.empty() ? std::string() : requests.back();
    }
    std::string host() const { return "Host: 127.0.0.1:" + std::to_string(server.port()) + "\r\n"; }

    CurlWinHttpLayer layer;
    RawServer server{[](RawConnection& connection) {
        while (!connection.readRequest().empty())
            connection.send(httpResponse("200 OK", "", "ok"));
    }};
};

TEST_F(WireFormatTest, GetCarriesOnlyHostAndKeepAlive)
{
    EXPECT_EQ(capture({.url = "/a/b?x=1"}),
              "GET /a/b?x=1 HTTP/1.1\r\n" + host() + "Connection: Keep-Alive\r\n\r\n");
}

TEST_F(WireFormatTest, CallerHeadersKeepTheirOrder)
{
    EXPECT_EQ(capture({.url = "/", .headers = "User-Agent: ql\r\nAccept: */*\r\nX-B:  2"}),
              "GET / HTTP/1.1\r\n" + host() + "User-Agent: ql\r\nAccept: */*\r\nX-B: 2\r\nConnection: Keep-Alive\r\n\r\n");
}

TEST_F(WireFormatTest, PostWithBodyHasNoFormTypeOfItsOwn)
{
    EXPECT_EQ(capture({.url = "/form", .verb = "POST", .body = "a=1&b=2"}),
              "POST /form HTTP/1.1\r\n" + host() + "Connection: Keep-Alive\r\nContent-Length: 7\r\n\r\na=1&b=2");
}

TEST_F(WireFormatTest, PostWithCallerContentType)
{
    EXPECT_EQ(capture({.url = "/form", .verb = "POST", .body = "x",
                       .headers = "Content-Type: application/x-www-form-urlencoded"}),
              "POST /form HTTP/1.1\r\n" + host()
                  + "Content-Type: application/x-www-form-urlencoded\r\nConnection: Keep-Alive\r\n"
                    "Content-Length: 1\r\n\r\nx");
}

TEST_F(WireFormatTest, PostWithoutBodySaysContentLengthZero)
{
    EXPECT_EQ(capture({.url = "/", .verb = "POST"}),
              "POST / HTTP/1.1\r\n" + host() + "Connection: Keep-Alive\r\nContent-Length: 0\r\n\r\n");
}

TEST_F(WireFormatTest, PutWithoutBodySaysContentLengthZero)
{
    EXPECT_EQ(capture({.url = "/", .verb = "PUT"}),
              "PUT / HTTP/1.1\r\n" + host() + "Connection: Keep-Alive\r\nContent-Length: 0\r\n\r\n");
}

TEST_F(WireFormatTest, LargeBodyGoesWithoutExpect)
{
    const std::string body(200000, 'b');
    const std::string request = capture({.url = "/big", .verb = "POST", .body = body});
    EXPECT_EQ(request, "POST /big HTTP/1.1\r\n" + host() + "Connection: Keep-Alive\r\nContent-Length: 200000\r\n\r\n"
                           + body);
}

TEST_F(WireFormatTest, CustomVerbWithBody)
{
    EXPECT_EQ(capture({.url = "/x", .verb = "OPTIONS", .body = "b"}),
              "OPTIONS /x HTTP/1.1\r\n" + host() + "Connection: Keep-Alive\r\nContent-Length: 1\r\n\r\nb");
}

TEST_F(WireFormatTest, CustomVerbWithoutBody)
{
    EXPECT_EQ(capture({.url = "/x", .verb = "DELETE"}),
              "DELETE /x HTTP/1.1\r\n" + host() + "Connection: Keep-Alive\r\n\r\n");
}

TEST_F(WireFormatTest, QuestionTextArrivesAsOneRequestLine)
{
    // blanks, '#', '%', Chinese characters and a CR/LF that tries to start a header
    const std::string request =
        capture({.url = "/qwg/chazhao.php?w=a b#c%d\xE9\xA2\x98\xE7\x9B\xAE\r\nX-Evil: 1"}); // "题目"
    EXPECT_EQ(request, "GET /qwg/chazhao.php?w=a%20b%23c%d%E9%A2%98%E7%9B%AE%0D%0AX-Evil:%201 HTTP/1.1\r\n" + host()
                           + "Connection: Keep-Alive\r\n\r\n");
}

TEST_F(WireFormatTest, CallerHostReplacesCurls)
{
    EXPECT_EQ(capture({.url = "/", .headers = "Host: example.test"}),
              "GET / HTTP/1.1\r\nHost: example.test\r\nConnection: Keep-Alive\r\n\r\n");
}

TEST_F(WireFormatTest, ServerCredentialsGoAsBasic)
{
    EXPECT_EQ(capture({.url = "/", .userName = "user", .password = "pass"}),
              "GET / HTTP/1.1\r\n" + host() + "Authorization: Basic dXNlcjpwYXNz\r\nConnection: Keep-Alive\r\n\r\n");
}

TEST(LayerHeaders, HeadHasNoBodyToWaitFor)
{
    RawServer server([](RawConnection& connection) {
        connection.readRequest();
        // a HEAD reply announces a length but sends nothing
        connection.send("HTTP/1.1 200 OK\r\nContent-Length: 1000\r\n\r\n");
        connection.holdOpen();
    });
    CurlWinHttpLayer layer;
    const LayerOutcome outcome = runThroughLayer(layer, {.url = server.origin() + "/h", .verb = "HEAD"});
    EXPECT_EQ(outcome.failedAt, Stage::None);
    EXPECT_EQ(outcome.body, "");
    EXPECT_EQ(outcome.rawHeaders, "HTTP/1.1 200 OK\r\nContent-Length: 1000\r\n\r\n");
    ASSERT_EQ(server.requests().size(), 1u);
    EXPECT_EQ(server.requests()[0],
              "HEAD /h HTTP/1.1\r\nHost: 127.0.0.1:" + std::to_string(server.port()) + "\r\nConnection: Keep-Alive\r\n\r\n");
}

} // namespace
} // namespace ql::http::testing
