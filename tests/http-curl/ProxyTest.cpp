// A raw server acting as the proxy sees what the layer asks of it.

#include "LayerClient.h"
#include "RoutedRawServer.h"

#include "http/CurlWinHttpLayer.h"
#include "http/ProxySetting.h"

#include <gtest/gtest.h>

namespace ql::http::testing {
namespace {

class ProxyTest : public ::testing::Test {
protected:
    std::string proxyAddress() const { return "127.0.0.1:" + std::to_string(proxy.port()); }

    RawServer proxy{answerEach([](const std::string& request) {
        if (request.starts_with("CONNECT "))
            return std::string("HTTP/1.1 403 Forbidden\r\nContent-Length: 0\r\n\r\n");
        return httpResponse("200 OK", "", "via proxy");
    })};
    CurlWinHttpLayer layer;
};

TEST_F(ProxyTest, PlainHttpGoesInAbsoluteForm)
{
    // The origin is never contacted: the proxy answers for it.
    const LayerOutcome outcome =
        runThroughLayer(layer, {.url = "http://origin.test/q?w=1", .proxy = "http=" + proxyAddress()});
    ASSERT_EQ(outcome.failedAt, Stage::None);
    EXPECT_EQ(outcome.body, "via proxy");
    ASSERT_EQ(proxy.requests().size(), 1u);
    EXPECT_EQ(proxy.requests()[0], "GET http://origin.test/q?w=1 HTTP/1.1\r\nHost: origin.test\r\n"
                                   "Proxy-Connection: Keep-Alive\r\nConnection: Keep-Alive\r\n\r\n");
}

TEST_F(ProxyTest, ProxyCredentialsGoAsBasic)
{
    const LayerOutcome outcome =
        runThroughLayer(layer, {.url = "http://origin.test:8080/", .proxy = "http=" + proxyAddress(),
                                .proxyUserName = "pu", .proxyPassword = "pp"});
    ASSERT_EQ(outcome.failedAt, Stage::None);
    ASSERT_EQ(proxy.requests().size(), 1u);
    EXPECT_EQ(proxy.requests()[0], "GET http://origin.test:8080/ HTTP/1.1\r\nHost: origin.test:8080\r\n"
                                   "Proxy-Authorization: Basic cHU6cHA=\r\nProxy-Connection: Keep-Alive\r\n"
                                   "Connection: Keep-Alive\r\n\r\n");
}

TEST_F(ProxyTest, BareProxyTunnelsHttps)
{
    const LayerOutcome outcome = runThroughLayer(layer, {.url = "https://origin.test/", .proxy = proxyAddress()});
    EXPECT_EQ(outcome.failedAt, Stage::Send); // the proxy refused the tunnel
    ASSERT_EQ(proxy.requests().size(), 1u);
    EXPECT_TRUE(proxy.requests()[0].starts_with("CONNECT origin.test:443 HTTP/1.1\r\n")) << proxy.requests()[0];
}

struct ProxyListCase {
    const char* name;
    std::string_view list;
    bool secure;
    std::string_view expected;
};

const ProxyListCase kProxyListCases[] = {
    {"HttpEntryServesHttp", "http=p:1", false, "http://p:1"},
    {"HttpEntryLeavesHttpsDirect", "http=p:1", true, ""},
    {"BareEntryServesBoth", "p:2", true, "http://p:2"},
    {"SchemeEntryBeatsBare", "p:2;https=q:3", true, "http://q:3"},
    {"SchemeNameIgnoresCase", "HTTP=p:1", false, "http://p:1"},
    {"BlankSeparated", "http=p:1 https=q:3", true, "http://q:3"},
    {"AddressWithScheme", "http=http://p:1", false, "http://p:1"},
    {"Empty", "", false, ""},
};

class ProxyListTest : public ::testing::TestWithParam<ProxyListCase> {};

TEST_P(ProxyListTest, PicksTheEntryForTheScheme)
{
    EXPECT_EQ(proxyUrlFor(GetParam().list, GetParam().secure), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, ProxyListTest, ::testing::ValuesIn(kProxyListCases),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace ql::http::testing
