// https against a certificate made for the test, and the refusal to be
// redirected from https to plain http.

#include "HttplibServer.h"
#include "LayerClient.h"

#include "http/CurlWinHttpLayer.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace ql::http::testing {
namespace {

class HttpsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        char pattern[] = "/tmp/ql-https-XXXXXX";
        if (!::mkdtemp(pattern))
            return;
        directory = pattern;
        const std::string command = "openssl req -x509 -newkey rsa:2048 -nodes -days 1 -subj /CN=127.0.0.1"
                                    " -addext subjectAltName=IP:127.0.0.1 -keyout "
            + (directory / "key.pem").string() + " -out " + (directory / "cert.pem").string() + " >/dev/null 2>&1";
        certificateReady = std::system(command.c_str()) == 0;
    }
    static void TearDownTestSuite()
    {
        if (!directory.empty())
            std::filesystem::remove_all(directory);
    }

    void SetUp() override
    {
        if (!certificateReady)
            GTEST_SKIP() << "the openssl command could not make a test certificate";
        secure = std::make_unique<HttplibServer>((directory / "cert.pem").string(), (directory / "key.pem").string());
        secure->routes().Get("/hello", [](const httplib::Request&, httplib::Response& res) {
            res.set_content("secure hello", "text/plain");
        });
        secure->routes().Get("/down", [this](const httplib::Request&, httplib::Response& res) {
            res.status = 302;
            res.set_header("Location", plain.origin() + "/plain");
        });
        if (!secure->start())
            GTEST_SKIP() << "cpp-httplib could not serve https here";
        plain.routes().Get("/plain", [](const httplib::Request&, httplib::Response& res) {
            res.set_content("plain", "text/plain");
        });
        ASSERT_TRUE(plain.start());
    }

    static inline std::filesystem::path directory;
    static inline bool certificateReady = false;
    HttplibServer plain;
    std::unique_ptr<HttplibServer> secure;
};

TEST_F(HttpsTest, TrustedCertificateServes)
{
    CurlWinHttpLayer layer({.caFile = (directory / "cert.pem").string()});
    const LayerOutcome outcome = runThroughLayer(layer, {.url = secure->origin() + "/hello"});
    ASSERT_EQ(outcome.failedAt, Stage::None);
    EXPECT_EQ(outcome.body, "secure hello");
    EXPECT_TRUE(outcome.rawHeaders.starts_with("HTTP/1.1 200 OK\r\n")) << outcome.rawHeaders;
}

TEST_F(HttpsTest, UntrustedCertificateFailsTheSend)
{
    CurlWinHttpLayer layer;
    const LayerOutcome outcome = runThroughLayer(layer, {.url = secure->origin() + "/hello"});
    EXPECT_EQ(outcome.failedAt, Stage::Send);
    EXPECT_EQ(outcome.error, WinHttpError::SecureFailure);
}

TEST_F(HttpsTest, RedirectFromHttpsToHttpIsRefused)
{
    CurlWinHttpLayer layer({.caFile = (directory / "cert.pem").string()});
    const LayerOutcome outcome = runThroughLayer(layer, {.url = secure->origin() + "/down"});
    EXPECT_EQ(outcome.failedAt, Stage::Receive);
    EXPECT_EQ(outcome.error, WinHttpError::RedirectFailed);
}

TEST_F(HttpsTest, RevocationFlagIsAccepted)
{
    CurlWinHttpLayer layer({.caFile = (directory / "cert.pem").string()});
    CrackedUrl url;
    ASSERT_TRUE(layer.crackUrl(u"https://127.0.0.1/", url));
    const Handle session = layer.open(AccessType::NoProxy, u"");
    const Handle connection = layer.connect(session, url.host, static_cast<std::uint16_t>(secure->port()));
    const Handle request = layer.openRequest(connection, u"GET", u"/hello", true);
    EXPECT_TRUE(layer.setOption(request, kOptionEnableFeature, kEnableSslRevocation));
    EXPECT_TRUE(layer.sendRequest(request, ""));
    EXPECT_TRUE(layer.receiveResponse(request));
    EXPECT_TRUE(layer.closeHandle(session)); // closes the connection and the request with it
    EXPECT_FALSE(layer.closeHandle(request));
}

} // namespace
} // namespace ql::http::testing
