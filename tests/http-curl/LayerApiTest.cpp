// The layer's calls one by one: argument checks, handle states, and the
// raw header query.

#include "RoutedRawServer.h"

#include "http/CurlWinHttpLayer.h"

#include <gtest/gtest.h>

namespace ql::http::testing {
namespace {

class LayerApiTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        session = layer.open(AccessType::NoProxy, u"");
        connection = layer.connect(session, u"127.0.0.1", static_cast<std::uint16_t>(server.port()));
        request = layer.openRequest(connection, u"GET", u"/", false);
        ASSERT_NE(request, 0u);
    }
    void TearDown() override { layer.closeHandle(session); }

    RawServer server{answerEach([](const std::string&) {
        // "题目" in GBK, as an odd server may send it
        return httpResponse("200 OK", "X-Title: \xCC\xE2\xC4\xBF\r\n", "body");
    })};
    CurlWinHttpLayer layer;
    Handle session = 0, connection = 0, request = 0;
};

TEST_F(LayerApiTest, RawHeadersSizeQueryThenRead)
{
    ASSERT_TRUE(layer.sendRequest(request, ""));
    ASSERT_TRUE(layer.receiveResponse(request));
    const std::u16string expected = u"HTTP/1.1 200 OK\r\nX-Title: \u9898\u76EE\r\nContent-Length: 4\r\n\r\n";

    std::uint32_t size = 0;
    EXPECT_FALSE(layer.queryRawHeaders(request, nullptr, size));
    EXPECT_EQ(CurlWinHttpLayer::lastError(), WinHttpError::InsufficientBuffer);
    EXPECT_EQ(size, (expected.size() + 1) * 2);

    std::u16string buffer(size / 2, u'x');
    std::uint32_t tooSmall = size - 2;
    EXPECT_FALSE(layer.queryRawHeaders(request, buffer.data(), tooSmall));
    EXPECT_EQ(tooSmall, size);

    ASSERT_TRUE(layer.queryRawHeaders(request, buffer.data(), size));
    EXPECT_EQ(size, expected.size() * 2);
    EXPECT_EQ(buffer, expected + u'\0');
}

TEST_F(LayerApiTest, CallsOutOfOrderFail)
{
    std::uint32_t available = 7, size = 0, read = 0;
    char byte = 0;
    EXPECT_FALSE(layer.receiveResponse(request));
    EXPECT_FALSE(layer.queryDataAvailable(request, available));
    EXPECT_FALSE(layer.readData(request, &byte, 1, read));
    EXPECT_FALSE(layer.queryRawHeaders(request, nullptr, size));
    EXPECT_EQ(available, 7u);
    ASSERT_TRUE(layer.sendRequest(request, ""));
    EXPECT_FALSE(layer.sendRequest(request, ""));
    EXPECT_FALSE(layer.addRequestHeaders(request, u"A: 1", kAddReqFlagAdd | kAddReqFlagReplace));
}

TEST_F(LayerApiTest, ReadsInPiecesThenEnds)
{
    ASSERT_TRUE(layer.sendRequest(request, ""));
    ASSERT_TRUE(layer.receiveResponse(request));
    std::uint32_t available = 0, read = 0;
    char piece[3] = {};
    ASSERT_TRUE(layer.queryDataAvailable(request, available));
    EXPECT_EQ(available, 4u);
    ASSERT_TRUE(layer.readData(request, piece, 3, read));
    EXPECT_EQ(std::string(piece, read), "bod");
    ASSERT_TRUE(layer.readData(request, piece, 3, read));
    EXPECT_EQ(std::string(piece, read), "y");
    ASSERT_TRUE(layer.queryDataAvailable(request, available));
    EXPECT_EQ(available, 0u);
    ASSERT_TRUE(layer.readData(request, piece, 3, read));
    EXPECT_EQ(read, 0u);
}

TEST(LayerReads, LargeBodyInSmallPieces)
{
    const std::size_t size = 8u << 20;
    std::string body(size, '\0');
    for (std::size_t i = 0; i < size; ++i)
        body[i] = static_cast<char>(i % 253);
    RawServer server(answerEach([&body](const std::string&) { return httpResponse("200 OK", "", body); }));
    CurlWinHttpLayer layer;
    const Handle session = layer.open(AccessType::NoProxy, u"");
    const Handle connection = layer.connect(session, u"127.0.0.1", static_cast<std::uint16_t>(server.port()));
    const Handle request = layer.openRequest(connection, u"GET", u"/", false);
    ASSERT_TRUE(layer.sendRequest(request, ""));
    ASSERT_TRUE(layer.receiveResponse(request));
    std::string received;
    char piece[1000];
    std::uint32_t read = 0;
    while (layer.readData(request, piece, sizeof piece, read) && read > 0)
        received.append(piece, read);
    EXPECT_EQ(received.size(), size);
    EXPECT_TRUE(received == body);
    layer.closeHandle(session);
}

struct OptionCase {
    const char* name;
    std::uint32_t option;
    std::uint32_t value;
    bool accepted;
};

const OptionCase kOptionCases[] = {
    {"DisableCookies", kOptionDisableFeature, kDisableCookies, true},
    {"DisableRedirects", kOptionDisableFeature, kDisableRedirects, true},
    {"DisableBoth", kOptionDisableFeature, kDisableCookies | kDisableRedirects, true},
    {"DisableUnknownFeature", kOptionDisableFeature, 0x100, false},
    {"SslRevocation", kOptionEnableFeature, kEnableSslRevocation, true},
    {"EnableUnknownFeature", kOptionEnableFeature, 2, false},
    {"UnknownOption", 12345, 1, false},
};

class LayerOptionTest : public LayerApiTest, public ::testing::WithParamInterface<OptionCase> {};

TEST_P(LayerOptionTest, AcceptsWhatTheEngineSets)
{
    EXPECT_EQ(layer.setOption(request, GetParam().option, GetParam().value), GetParam().accepted);
}

INSTANTIATE_TEST_SUITE_P(Cases, LayerOptionTest, ::testing::ValuesIn(kOptionCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(LayerApiTest, ArgumentChecks)
{
    EXPECT_TRUE(layer.setTimeouts(request, 0, -1, 5, 30000));
    EXPECT_FALSE(layer.setTimeouts(request, -2, 1, 1, 1));
    EXPECT_EQ(CurlWinHttpLayer::lastError(), WinHttpError::InvalidParameter);
    EXPECT_FALSE(layer.setTimeouts(connection, 1, 1, 1, 1)); // not a request handle
    EXPECT_FALSE(layer.addRequestHeaders(request, u"no colon\r\nA: 1", kAddReqFlagAdd | kAddReqFlagReplace));
    EXPECT_EQ(CurlWinHttpLayer::lastError(), WinHttpError::InvalidHeader);
    EXPECT_EQ(layer.openRequest(connection, u"GET /x HTTP/1.1\r\n", u"/", false), 0u);
    EXPECT_EQ(layer.connect(session, u"evil\r\nhost", 80), 0u);
    EXPECT_EQ(layer.connect(request, u"h", 80), 0u);
    EXPECT_EQ(layer.open(AccessType::NamedProxy, u""), 0u);
}

TEST_F(LayerApiTest, ClosingTheSessionClosesWhatItHolds)
{
    const Handle other = layer.openRequest(connection, u"GET", u"/", false);
    ASSERT_TRUE(layer.sendRequest(other, ""));
    EXPECT_TRUE(layer.closeHandle(request));
    EXPECT_FALSE(layer.closeHandle(request));
    EXPECT_TRUE(layer.closeHandle(session));
    EXPECT_FALSE(layer.closeHandle(connection));
    EXPECT_FALSE(layer.closeHandle(other));
    EXPECT_EQ(CurlWinHttpLayer::lastError(), WinHttpError::InvalidHandle);
    session = 0;
}

TEST(DefaultLayer, IsTheCurlLayer)
{
    EXPECT_NE(dynamic_cast<CurlWinHttpLayer*>(&defaultWinHttpLayer()), nullptr);
    EXPECT_TRUE(defaultWinHttpLayer().checkPlatform());
}

} // namespace
} // namespace ql::http::testing
