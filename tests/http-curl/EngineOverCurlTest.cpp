// httpRequest end to end over the real layer and loopback servers.

#include "HttplibServer.h"
#include "RoutedRawServer.h"

#include "http/CurlWinHttpLayer.h"
#include "http/HttpRequest.h"

#include <gtest/gtest.h>

#include <thread>

namespace ql::http::testing {
namespace {

// "711 发送请求失败!", "712 服务器未响应!", "713 读取数据失败!" in GBK
const Text kSendFailed("711 \xB7\xA2\xCB\xCD\xC7\xEB\xC7\xF3\xCA\xA7\xB0\xDC!");
const Text kNoResponse("712 \xB7\xFE\xCE\xF1\xC6\xF7\xCE\xB4\xCF\xEC\xD3\xA6!");
const Text kReadFailed("713 \xB6\xC1\xC8\xA1\xCA\xFD\xBE\xDD\xCA\xA7\xB0\xDC!");

const std::string kEngineHeaders =
    "User-Agent: Mozilla/5.0 (compatible; MSIE 9.0; Windows NT 6.1; WOW64; Trident/5.0)\r\n"
    "Accept: text/html, application/xhtml+xml, */*\r\n"
    "Accept-Encoding: gbk, GB2312\r\n"
    "Accept-Language: zh-cn\r\n";

struct Outputs {
    Text sentCookies, receivedCookies, responseHeaders, redirectLocation{"untouched"}, statusText;
    Bytes responseBody;

    HttpRequestArgs args()
    {
        HttpRequestArgs a;
        a.receivedCookies = &receivedCookies;
        a.responseHeaders = &responseHeaders;
        a.redirectLocation = &redirectLocation;
        a.statusText = &statusText;
        a.responseBody = &responseBody;
        return a;
    }
};

class EngineOverCurlTest : public ::testing::Test {
protected:
    std::string hostLine(const RawServer& server) const
    {
        return "Host: 127.0.0.1:" + std::to_string(server.port()) + "\r\n";
    }

    CurlWinHttpLayer layer;
    Outputs out;
};

TEST_F(EngineOverCurlTest, GetSendsTheDefaultHeaders)
{
    RawServer server(answerEach([](const std::string&) {
        return httpResponse("200 OK", "Content-Type: text/html\r\n", "hello");
    }));
    const Text result = httpRequest(layer, Text(server.origin() + "/q?x=1"), out.args());
    EXPECT_EQ(result, Text("hello"));
    EXPECT_EQ(out.statusText, Text("200 OK"));
    EXPECT_EQ(out.responseHeaders, Text("HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nContent-Length: 5\r\n\r\n"));
    EXPECT_EQ(out.redirectLocation, Text("untouched"));
    ASSERT_EQ(server.requests().size(), 1u);
    EXPECT_EQ(server.requests()[0], "GET /q?x=1 HTTP/1.1\r\n" + hostLine(server) + kEngineHeaders
                                        + "Cache-Control: no-cache\r\nConnection: Keep-Alive\r\n\r\n");
}

TEST_F(EngineOverCurlTest, PostSendsTheFormBody)
{
    RawServer server(answerEach([](const std::string&) { return httpResponse("201 Created", "", ""); }));
    HttpRequestArgs args = out.args();
    args.method = 1;
    args.postData = Text("a=1&b=2");
    EXPECT_EQ(httpRequest(layer, Text(server.origin() + "/f"), args), Text());
    EXPECT_EQ(out.statusText, Text("201 Created"));
    ASSERT_EQ(server.requests().size(), 1u);
    EXPECT_EQ(server.requests()[0], "POST /f HTTP/1.1\r\n" + hostLine(server) + kEngineHeaders
                                        + "Content-Type: application/x-www-form-urlencoded\r\n"
                                          "Cache-Control: no-cache\r\nConnection: Keep-Alive\r\nContent-Length: 7\r\n\r\n"
                                          "a=1&b=2");
}

TEST_F(EngineOverCurlTest, HeadAndOptionsGoOut)
{
    RawServer server(answerEach([](const std::string&) { return httpResponse("200 OK", "", ""); }));
    for (int method : {2, 4}) {
        HttpRequestArgs args = out.args();
        args.method = method;
        httpRequest(layer, Text(server.origin() + "/m"), args);
        EXPECT_EQ(out.statusText, Text("200 OK")) << method;
    }
    const auto requests = server.requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_TRUE(requests[0].starts_with("HEAD /m HTTP/1.1\r\n")) << requests[0];
    EXPECT_TRUE(requests[1].starts_with("OPTIONS /m HTTP/1.1\r\n")) << requests[1];
}

TEST_F(EngineOverCurlTest, QuestionTextArrivesAsOneRequestLine)
{
    RawServer server(answerEach([](const std::string&) { return httpResponse("200 OK", "", "r"); }));
    // "题目" in GBK, with blanks, '#', '%' and a CR/LF that tries to add a header
    const Text url(server.origin() + "/qwg/chazhao.php?w=a b#c%d\xCC\xE2\xC4\xBF\r\nX-Evil: 1");
    EXPECT_EQ(httpRequest(layer, url, out.args()), Text("r"));
    ASSERT_EQ(server.requests().size(), 1u);
    const std::string request = server.requests()[0];
    EXPECT_TRUE(request.starts_with("GET /qwg/chazhao.php?w=a%20b%23c%d%E9%A2%98%E7%9B%AE%0D%0AX-Evil:%201 HTTP/1.1\r\n"
                                    + hostLine(server)))
        << request;
    EXPECT_EQ(request.find("\r\nX-Evil"), std::string::npos);
}

TEST_F(EngineOverCurlTest, SetCookieVariantsAreCollected)
{
    RawServer server(answerEach([](const std::string&) {
        return httpResponse("200 OK", "Set-Cookie: a=1; path=/\r\nset-cookie: b=2\r\nSET-COOKIE: c=3; HttpOnly\r\n", "");
    }));
    httpRequest(layer, Text(server.origin() + "/"), out.args());
    EXPECT_EQ(out.receivedCookies, Text("a=1; b=2; c=3"));
    EXPECT_EQ(out.responseHeaders, Text("HTTP/1.1 200 OK\r\nSet-Cookie: a=1; path=/\r\nSet-Cookie: b=2\r\n"
                                        "Set-Cookie: c=3; HttpOnly\r\nContent-Length: 0\r\n\r\n"));
}

class EngineRedirectTest : public EngineOverCurlTest {
protected:
    RawServer server{answerEach([](const std::string& request) {
        const std::string target = requestTarget(request);
        if (target == "/start")
            return httpResponse("302 Found", "Location: /middle\r\nSet-Cookie: s=1; Path=/\r\n", "");
        if (target == "/middle")
            return httpResponse("301 Moved Permanently", "Location: /end\r\n", "");
        return httpResponse("200 OK", "X-End: 1\r\n", "end");
    })};
};

TEST_F(EngineRedirectTest, ChainEndsAtTheLastAddress)
{
    EXPECT_EQ(httpRequest(layer, Text(server.origin() + "/start"), out.args()), Text("end"));
    EXPECT_EQ(out.statusText, Text("200 OK"));
    EXPECT_EQ(out.redirectLocation, Text("untouched")); // the final reply names no Location
    EXPECT_EQ(server.requests().size(), 3u);
}

TEST_F(EngineRedirectTest, DisabledRedirectsGiveTheLocation)
{
    HttpRequestArgs args = out.args();
    args.disableRedirects = true;
    httpRequest(layer, Text(server.origin() + "/start"), args);
    EXPECT_EQ(out.statusText, Text("302 Found"));
    EXPECT_EQ(out.redirectLocation, Text("/middle"));
    EXPECT_EQ(out.receivedCookies, Text("s=1"));
}

TEST_F(EngineRedirectTest, SuppliedCookiesKeepTheRedirectsCookie)
{
    HttpRequestArgs args = out.args();
    out.sentCookies = Text("c=0");
    args.sentCookies = &out.sentCookies;
    httpRequest(layer, Text(server.origin() + "/start"), args);
    const auto requests = server.requests();
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_NE(requests[1].find("\r\nCookie: c=0; s=1\r\n"), std::string::npos) << requests[1];
}

TEST_F(EngineRedirectTest, CookiesLeftOutDisableTheJar)
{
    httpRequest(layer, Text(server.origin() + "/start"), out.args());
    const auto requests = server.requests();
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_EQ(requests[1].find("Cookie"), std::string::npos) << requests[1];
}

TEST_F(EngineOverCurlTest, RefusedConnectionIs711)
{
    // port 1 on the loopback: nothing listens there
    const Text result = httpRequest(layer, Text("http://127.0.0.1:1/"), out.args());
    EXPECT_EQ(result, Text());
    EXPECT_EQ(out.statusText, kSendFailed);
    EXPECT_EQ(out.responseHeaders, Text());
}

TEST_F(EngineOverCurlTest, SilentServerIs712)
{
    RawServer server([](RawConnection& connection) {
        connection.readRequest();
        connection.holdOpen();
    });
    HttpRequestArgs args = out.args();
    args.timeoutSeconds = 2;
    EXPECT_EQ(httpRequest(layer, Text(server.origin() + "/"), args), Text());
    EXPECT_EQ(out.statusText, kNoResponse);
}

TEST_F(EngineOverCurlTest, BodyBrokenOffIs713WithThePartialBody)
{
    RawServer server([](RawConnection& connection) {
        connection.readRequest();
        connection.send("HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\npartial");
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        connection.reset();
    });
    const Text result = httpRequest(layer, Text(server.origin() + "/"), out.args());
    EXPECT_EQ(out.statusText, kReadFailed);
    EXPECT_EQ(out.responseBody, Bytes(std::string("partial")));
    EXPECT_EQ(result, Text("partial"));
    EXPECT_EQ(out.responseHeaders, Text("HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\n"));
}

TEST_F(EngineOverCurlTest, StallMidBodyIs713)
{
    RawServer server([](RawConnection& connection) {
        connection.readRequest();
        connection.send("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n7\r\npartial\r\n");
        connection.holdOpen();
    });
    HttpRequestArgs args = out.args();
    args.timeoutSeconds = 1;
    httpRequest(layer, Text(server.origin() + "/"), args);
    EXPECT_EQ(out.statusText, kReadFailed);
    EXPECT_EQ(out.responseBody, Bytes(std::string("partial")));
}

TEST_F(EngineOverCurlTest, ProxyAndCredentialsReachTheWire)
{
    RawServer proxy(answerEach([](const std::string&) { return httpResponse("200 OK", "", "proxied"); }));
    HttpRequestArgs args = out.args();
    args.proxy = Text("127.0.0.1:" + std::to_string(proxy.port()));
    args.proxyUserName = Text("pu");
    args.proxyPassword = Text("pp");
    args.userName = Text("user");
    args.password = Text("pass");
    EXPECT_EQ(httpRequest(layer, Text("http://origin.test/p"), args), Text("proxied"));
    ASSERT_EQ(proxy.requests().size(), 1u);
    const std::string request = proxy.requests()[0];
    EXPECT_TRUE(request.starts_with("GET http://origin.test/p HTTP/1.1\r\nHost: origin.test\r\n"
                                    "Proxy-Authorization: Basic cHU6cHA=\r\nAuthorization: Basic dXNlcjpwYXNz\r\n"))
        << request;
}

TEST_F(EngineOverCurlTest, LargeBodyArrivesWhole)
{
    constexpr std::size_t size = 64u << 20;
    HttplibServer server;
    server.routes().Get("/large", [](const httplib::Request&, httplib::Response& res) {
        res.set_content_provider(size, "application/octet-stream",
                                 [](std::size_t offset, std::size_t length, httplib::DataSink& sink) {
                                     std::string piece(std::min<std::size_t>(length, 1 << 16), '\0');
                                     for (std::size_t i = 0; i < piece.size(); ++i)
                                         piece[i] = static_cast<char>((offset + i) % 251);
                                     sink.write(piece.data(), piece.size());
                                     return true;
                                 });
    });
    ASSERT_TRUE(server.start());
    httpRequest(layer, Text(server.origin() + "/large"), out.args());
    EXPECT_EQ(out.statusText, Text("200 OK"));
    ASSERT_EQ(out.responseBody.size(), size);
    bool intact = true;
    for (std::size_t i = 0; i < size && intact; ++i)
        intact = out.responseBody.data()[i] == static_cast<char>(i % 251);
    EXPECT_TRUE(intact);
}

} // namespace
} // namespace ql::http::testing
