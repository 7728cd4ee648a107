// The layer's own redirect loop.

#include "HttplibServer.h"
#include "LayerClient.h"
#include "RoutedRawServer.h"

#include "http/CurlWinHttpLayer.h"

#include <gtest/gtest.h>

namespace ql::http::testing {
namespace {

class RedirectChainTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto& routes = server.routes();
        routes.Get("/r1", [](const httplib::Request&, httplib::Response& res) {
            res.status = 302;
            res.set_header("Location", "r2"); // relative to /r1
            res.set_header("X-Leg", "1");
            res.set_content("first", "text/plain");
        });
        routes.Get("/r2", [this](const httplib::Request&, httplib::Response& res) {
            res.status = 301;
            res.set_header("Location", server.origin() + "/r3?q=1");
            res.set_header("X-Leg", "2");
        });
        routes.Get("/r3", [](const httplib::Request& req, httplib::Response& res) {
            res.set_header("X-Leg", "3");
            res.set_content("done " + req.get_param_value("q"), "text/plain");
        });
        routes.Get(R"(/hop/(\d+))", [](const httplib::Request& req, httplib::Response& res) {
            const int left = std::stoi(req.matches[1]);
            if (left == 0)
                return res.set_content("arrived", "text/plain");
            res.status = 302;
            res.set_header("Location", "/hop/" + std::to_string(left - 1));
        });
        routes.Get(R"(/loop)", [this](const httplib::Request&, httplib::Response& res) {
            ++loopRequests;
            res.status = 302;
            res.set_header("Location", "/loop");
        });
        ASSERT_TRUE(server.start());
    }

    HttplibServer server;
    CurlWinHttpLayer layer;
    std::atomic<int> loopRequests{0};
};

TEST_F(RedirectChainTest, FollowsToTheEndAndKeepsOnlyTheFinalHeaders)
{
    const LayerOutcome outcome = runThroughLayer(layer, {.url = server.origin() + "/r1"});
    ASSERT_EQ(outcome.failedAt, Stage::None);
    EXPECT_EQ(outcome.body, "done 1");
    EXPECT_TRUE(outcome.rawHeaders.starts_with("HTTP/1.1 200 OK\r\n")) << outcome.rawHeaders;
    EXPECT_NE(outcome.rawHeaders.find("X-Leg: 3\r\n"), std::string::npos);
    EXPECT_EQ(outcome.rawHeaders.find("X-Leg: 1"), std::string::npos);
    EXPECT_EQ(outcome.rawHeaders.find("X-Leg: 2"), std::string::npos);
    EXPECT_TRUE(outcome.rawHeaders.ends_with("\r\n\r\n"));
}

TEST_F(RedirectChainTest, TenRedirectsAreFollowed)
{
    const LayerOutcome outcome = runThroughLayer(layer, {.url = server.origin() + "/hop/10"});
    EXPECT_EQ(outcome.failedAt, Stage::None);
    EXPECT_EQ(outcome.body, "arrived");
}

TEST_F(RedirectChainTest, TheEleventhRedirectFailsTheResponse)
{
    const LayerOutcome outcome = runThroughLayer(layer, {.url = server.origin() + "/hop/11"});
    EXPECT_EQ(outcome.failedAt, Stage::Receive);
    EXPECT_EQ(outcome.error, WinHttpError::RedirectFailed);
}

TEST_F(RedirectChainTest, LoopStopsAfterTenRedirects)
{
    const LayerOutcome outcome = runThroughLayer(layer, {.url = server.origin() + "/loop"});
    EXPECT_EQ(outcome.failedAt, Stage::Receive);
    EXPECT_EQ(outcome.error, WinHttpError::RedirectFailed);
    EXPECT_EQ(loopRequests, 11); // the request and ten redirects
}

TEST_F(RedirectChainTest, DisabledRedirectsReturnTheRedirectItself)
{
    const LayerOutcome outcome = runThroughLayer(layer, {.url = server.origin() + "/r1", .disableRedirects = true});
    ASSERT_EQ(outcome.failedAt, Stage::None);
    EXPECT_TRUE(outcome.rawHeaders.starts_with("HTTP/1.1 302 Found\r\n")) << outcome.rawHeaders;
    EXPECT_NE(outcome.rawHeaders.find("Location: r2\r\n"), std::string::npos);
    EXPECT_EQ(outcome.body, "first");
}

struct MethodCase {
    const char* name;
    int status;
    const char* expectedSecondRequest; // after the host line
};

const MethodCase kMethodCases[] = {
    {"MovedTurnsPostIntoGet", 301, "GET /next HTTP/1.1\r\n|Connection: Keep-Alive\r\n\r\n"},
    {"FoundTurnsPostIntoGet", 302, "GET /next HTTP/1.1\r\n|Connection: Keep-Alive\r\n\r\n"},
    {"SeeOtherTurnsPostIntoGet", 303, "GET /next HTTP/1.1\r\n|Connection: Keep-Alive\r\n\r\n"},
    {"TemporaryKeepsPostAndBody", 307, "POST /next HTTP/1.1\r\n|Connection: Keep-Alive\r\nContent-Length: 4\r\n\r\nbody"},
    {"PermanentKeepsPostAndBody", 308, "POST /next HTTP/1.1\r\n|Connection: Keep-Alive\r\nContent-Length: 4\r\n\r\nbody"},
};

class RedirectMethodTest : public ::testing::TestWithParam<MethodCase> {};

TEST_P(RedirectMethodTest, AppliesTheMethodRules)
{
    const int status = GetParam().status;
    RawServer server(answerEach([status](const std::string& request) {
        if (requestTarget(request) == "/next")
            return httpResponse("200 OK", "", "next");
        return httpResponse(std::to_string(status) + " Redirect", "Location: /next\r\n", "");
    }));
    CurlWinHttpLayer layer;
    const LayerOutcome outcome =
        runThroughLayer(layer, {.url = server.origin() + "/form", .verb = "POST", .body = "body"});
    ASSERT_EQ(outcome.failedAt, Stage::None);
    EXPECT_EQ(outcome.body, "next");
    const auto requests = server.requests();
    ASSERT_EQ(requests.size(), 2u);
    std::string expected = GetParam().expectedSecondRequest;
    expected.replace(expected.find('|'), 1, "Host: 127.0.0.1:" + std::to_string(server.port()) + "\r\n");
    EXPECT_EQ(requests[1], expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, RedirectMethodTest, ::testing::ValuesIn(kMethodCases),
                         [](const auto& info) { return std::string(info.param.name); });

// Credentials and cookies of the caller stay with their host:port.
class CrossHostRedirectTest : public ::testing::Test {
protected:
    LayerCall callWithSecrets(const std::string& path)
    {
        return {.url = first.origin() + path, .headers = "Authorization: Bearer t\r\nCookie: c=0\r\nX-Keep: 1",
                .userName = "user", .password = "pass"};
    }

    RawServer second{answerEach([](const std::string&) { return httpResponse("200 OK", "", "second"); })};
    RawServer first{answerEach([this](const std::string& request) {
        if (requestTarget(request) == "/away")
            return httpResponse("302 Found", "Location: " + second.origin() + "/landing\r\n", "");
        if (requestTarget(request) == "/stay")
            return httpResponse("302 Found", "Location: /here\r\nSet-Cookie: s=1; Path=/\r\n", "");
        return httpResponse("200 OK", "", "first");
    })};
    CurlWinHttpLayer layer;
};

TEST_F(CrossHostRedirectTest, AnotherPortGetsNoCredentialsAndNoCookie)
{
    const LayerOutcome outcome = runThroughLayer(layer, callWithSecrets("/away"));
    ASSERT_EQ(outcome.failedAt, Stage::None);
    EXPECT_EQ(outcome.body, "second");
    ASSERT_EQ(second.requests().size(), 1u);
    EXPECT_EQ(second.requests()[0], "GET /landing HTTP/1.1\r\nHost: 127.0.0.1:" + std::to_string(second.port())
                                        + "\r\nX-Keep: 1\r\nConnection: Keep-Alive\r\n\r\n");
}

TEST_F(CrossHostRedirectTest, SameHostKeepsCredentialsAndAddsTheRedirectsCookie)
{
    const LayerOutcome outcome = runThroughLayer(layer, callWithSecrets("/stay"));
    ASSERT_EQ(outcome.failedAt, Stage::None);
    EXPECT_EQ(outcome.body, "first");
    const auto requests = first.requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[1], "GET /here HTTP/1.1\r\nHost: 127.0.0.1:" + std::to_string(first.port())
                               + "\r\nAuthorization: Bearer t\r\nCookie: c=0; s=1\r\nX-Keep: 1\r\n"
                                 "Connection: Keep-Alive\r\n\r\n");
}

TEST_F(CrossHostRedirectTest, DisabledCookiesSendNoRedirectCookie)
{
    LayerCall call = callWithSecrets("/stay");
    call.headers = "X-Keep: 1";
    call.userName.clear();
    call.disableCookies = true;
    ASSERT_EQ(runThroughLayer(layer, call).failedAt, Stage::None);
    const auto requests = first.requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[1].find("Cookie"), std::string::npos) << requests[1];
}

} // namespace
} // namespace ql::http::testing
