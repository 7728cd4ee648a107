// https against a certificate nobody vouches for, and an https reply that
// redirects to plain http.

#include "FaultRequest.h"
#include "RawServer.h"
#include "TlsServer.h"
#include "http/CurlWinHttpLayer.h"

#include <gtest/gtest.h>
#include <httplib.h>

namespace ql::http::testing {
namespace {

TEST(FaultMatrixTls, SelfSignedCertificateIsRefused)
{
    TlsServer server([](const httplib::Request&, httplib::Response& response) {
        response.set_content("secret", "text/plain");
    });
    ASSERT_TRUE(server.running());
    HttpRequestArgs args;
    args.timeoutSeconds = 2;

    const Outcome outcome = request(server.origin() + "/", args);

    EXPECT_EQ(outcome.statusText.view(), failure::kSend);
    EXPECT_EQ(outcome.result, Text());
    EXPECT_EQ(outcome.body, kUntouchedBody);
    EXPECT_EQ(server.requests(), 0);
}

TEST(FaultMatrixTls, HttpsNeverRedirectsToHttp)
{
    RawServer plain([](RawConnection& c) {
        c.readRequest();
        c.send(httpResponse("200 OK", "", "downgraded"));
    });
    TlsServer server([&plain](const httplib::Request&, httplib::Response& response) {
        response.status = 302;
        response.set_header("Location", plain.origin() + "/");
    });
    ASSERT_TRUE(server.running());
    CurlWinHttpLayer trusting(CurlLayerSettings{server.certificateFile()});
    HttpRequestArgs args;
    args.timeoutSeconds = 2;

    const Outcome outcome = requestThrough(trusting, server.origin() + "/", args);

    EXPECT_EQ(outcome.statusText.view(), failure::kReceive);
    EXPECT_EQ(outcome.result, Text());
    EXPECT_EQ(server.requests(), 1);
    EXPECT_TRUE(plain.requests().empty());
}

// The same server is reached when its certificate is trusted, so the refusal
// above is about the certificate, not the server.
TEST(FaultMatrixTls, TrustedCertificateIsAccepted)
{
    TlsServer server([](const httplib::Request&, httplib::Response& response) {
        response.set_content("secret", "text/plain");
    });
    ASSERT_TRUE(server.running());
    CurlWinHttpLayer trusting(CurlLayerSettings{server.certificateFile()});
    HttpRequestArgs args;
    args.timeoutSeconds = 2;

    const Outcome outcome = requestThrough(trusting, server.origin() + "/", args);

    EXPECT_EQ(outcome.statusText.view(), "200 OK");
    EXPECT_EQ(outcome.result, Text("secret"));
}

} // namespace
} // namespace ql::http::testing
