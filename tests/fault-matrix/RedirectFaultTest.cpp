// Redirects that loop, or that would carry the caller's credentials and
// cookies to another server.

#include "FaultRequest.h"
#include "RawServer.h"

#include <gtest/gtest.h>

#include <string>

namespace ql::http::testing {
namespace {

using namespace std::chrono_literals;

// Answers every request on every connection with the same reply, at most
// `limit` requests in all, so that a client that never stops is still cut off.
RawServer::Behaviour answerEach(std::string reply, int limit = 30)
{
    return [reply = std::move(reply), limit, served = 0](RawConnection& c) mutable {
        while (served < limit && !c.readRequest(3s).empty()) {
            ++served;
            c.send(reply);
        }
    };
}

bool hasHeader(const std::string& request, std::string_view name)
{
    std::string lower = request;
    for (char& c : lower)
        c = (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
    return lower.find("\r\n" + std::string(name) + ":") != std::string::npos;
}

TEST(FaultMatrixRedirect, LoopStopsAfterTenRedirects)
{
    RawServer server(answerEach(httpResponse("302 Found", "Location: /loop\r\n", "")));
    HttpRequestArgs args;
    args.timeoutSeconds = 2;

    const Outcome outcome = request(server.origin() + "/loop", args);

    EXPECT_EQ(outcome.statusText.view(), failure::kReceive);
    EXPECT_EQ(outcome.result, Text());
    EXPECT_EQ(server.requests().size(), 11u); // the first request and ten redirects
}

TEST(FaultMatrixRedirect, AnotherPortGetsNeitherCredentialsNorCookies)
{
    RawServer landing(answerEach(httpResponse("200 OK", "", "landed")));
    RawServer first(answerEach(httpResponse("302 Found", "Location: " + landing.origin() + "/landing\r\n", "")));
    Text cookies("sid=secret");
    HttpRequestArgs args;
    args.timeoutSeconds = 2;
    args.userName = "user";
    args.password = "password";
    args.sentCookies = &cookies;

    const Outcome outcome = request(first.origin() + "/start", args);

    EXPECT_EQ(outcome.statusText.view(), "200 OK");
    EXPECT_EQ(outcome.result, Text("landed"));
    ASSERT_EQ(first.requests().size(), 1u);
    EXPECT_TRUE(hasHeader(first.requests()[0], "authorization"));
    EXPECT_TRUE(hasHeader(first.requests()[0], "cookie"));
    ASSERT_EQ(landing.requests().size(), 1u);
    EXPECT_FALSE(hasHeader(landing.requests()[0], "authorization")) << landing.requests()[0];
    EXPECT_FALSE(hasHeader(landing.requests()[0], "cookie")) << landing.requests()[0];
}

} // namespace
} // namespace ql::http::testing
