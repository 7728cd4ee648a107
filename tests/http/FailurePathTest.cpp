// Every numbered failure: its exact text, the empty result, the
// out-parameters left alone, the message pumps and the handles closed.

#include "EngineFixture.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace ql::http::testing {
namespace {

constexpr Handle kSession = FakeWinHttpLayer::kSession;
constexpr Handle kConnection = FakeWinHttpLayer::kConnection;
constexpr Handle kRequest = FakeWinHttpLayer::kRequest;

struct FailureCase {
    const char* name;
    Operation failingOperation;
    int occurrence;
    bool serverCredentials;
    bool proxyCredentials;
    bool giveSentCookies;
    bool disableRedirects;
    const char* expectedStatus; // UTF-8
    int expectedPumps;
    std::vector<Handle> expectedClosed;
};

const std::vector<Handle> kAll = {kRequest, kConnection, kSession};

const FailureCase kFailureCases[] = {
    {"platform", Operation::CheckPlatform, 1, false, false, false, false,
     "700 当前系统不支持WinHttp服务!", 0, {}},
    {"crackUrl", Operation::CrackUrl, 1, false, false, false, false, "701 解析URL地址失败!", 1, {}},
    {"session", Operation::Open, 1, false, false, false, false, "702 创建WinHttp会话失败!", 2, {}},
    {"connection", Operation::Connect, 1, false, false, false, false, "703 创建WinHttp连接失败!", 3,
     {kSession}},
    {"request", Operation::OpenRequest, 1, false, false, false, false, "704 创建WinHttp请求失败!", 4,
     {kConnection, kSession}},
    {"timeouts", Operation::SetTimeouts, 1, false, false, false, false, "705 设置超时时间失败!", 5, kAll},
    {"serverCredentials", Operation::SetCredentials, 1, true, true, false, false,
     "707 设置代理凭证失败!", 0, kAll},
    {"proxyCredentials", Operation::SetCredentials, 2, true, true, false, false,
     "707 设置代理凭证失败!", 0, kAll},
    {"proxyCredentialsAlone", Operation::SetCredentials, 1, false, true, false, false,
     "707 设置代理凭证失败!", 0, kAll},
    {"disableCookies", Operation::SetOption, 1, false, false, false, false,
     "708 禁止自动设置Cookies失败!", 0, kAll},
    {"enableFeature", Operation::SetOption, 1, false, false, true, false,
     "708 禁止自动设置Cookies失败!", 0, kAll},
    {"redirects", Operation::SetOption, 2, false, false, false, true, "709 重定向设置失败!", 0, kAll},
    {"addHeaders", Operation::AddRequestHeaders, 1, false, false, false, false, "710 设置协议头失败!", 6,
     kAll},
    {"send", Operation::SendRequest, 1, false, false, false, false, "711 发送请求失败!", 7, kAll},
    {"receive", Operation::ReceiveResponse, 1, false, false, false, false, "712 服务器未响应!", 8, kAll},
};

class FailurePathTest : public EngineFixture, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(FailurePathTest, ReportsItsTextAndLeavesTheRestAlone)
{
    const FailureCase& c = GetParam();
    Text sentCookies = "a=1";
    if (c.serverCredentials) {
        args.userName = "user";
        args.password = "secret";
    }
    if (c.proxyCredentials) {
        args.proxyUserName = "proxyUser";
        args.proxyPassword = "proxySecret";
    }
    if (c.giveSentCookies)
        args.sentCookies = &sentCookies;
    args.disableRedirects = c.disableRedirects;
    receivedCookies = "received before";
    fake.bodyChunks = {"body"};
    fake.rawHeaders = u"HTTP/1.1 200 OK\r\nSet-Cookie: b=2\r\nLocation: /next\r\n\r\n";
    fake.failOn(c.failingOperation, c.occurrence);

    const Text result = run();

    EXPECT_EQ(result, Text());
    EXPECT_EQ(utf8(statusText), c.expectedStatus);
    EXPECT_EQ(receivedCookies, Text("received before"));
    EXPECT_EQ(responseHeaders, Text("headers before"));
    EXPECT_EQ(redirectLocation, Text("location before"));
    EXPECT_EQ(responseBody, Bytes(std::string("body before")));
    EXPECT_EQ(sentCookies, Text("a=1"));
    EXPECT_EQ(pumps, c.expectedPumps);
    EXPECT_EQ(fake.closedHandles(), c.expectedClosed);

    // Nothing but closing happens after the failing call.
    const auto operations = fake.operations();
    const auto failing = std::find(operations.rbegin(), operations.rend(), c.failingOperation);
    ASSERT_NE(failing, operations.rend());
    EXPECT_TRUE(std::all_of(operations.rbegin(), failing,
                            [](Operation op) { return op == Operation::CloseHandle; }));
}

INSTANTIATE_TEST_SUITE_P(EveryFailure, FailurePathTest, ::testing::ValuesIn(kFailureCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(FailureTextBytes, AreGbk)
{
    FakeWinHttpLayer fake;
    fake.failOn(Operation::CrackUrl);
    Text status;
    HttpRequestArgs args;
    args.statusText = &status;
    httpRequest(fake, "http://example.test/", args);
    // "701 解析URL地址失败!" in code page 936
    EXPECT_EQ(status.str(), "701 \xBD\xE2\xCE\xF6URL\xB5\xD8\xD6\xB7\xCA\xA7\xB0\xDC!");
}

class ReplyPathTest : public EngineFixture {
protected:
    void SetUp() override
    {
        EngineFixture::SetUp();
        fake.rawHeaders = u"HTTP/1.1 200 OK\r\nSet-Cookie: b=2; path=/\r\nLocation: /next\r\n\r\n";
        fake.bodyChunks = {"abc", "def"};
    }
    // Nine stages, one pump per header line and one after the charset step.
    static constexpr int kPumpsForThisReply = 9 + 4 + 1;
};

TEST_F(ReplyPathTest, ReceivedReplyPumpsNineTimesPlusLinesAndCharsetStep)
{
    EXPECT_EQ(run(), Text("abcdef"));
    EXPECT_EQ(statusText, Text("200 OK"));
    EXPECT_EQ(pumps, kPumpsForThisReply);
    EXPECT_EQ(fake.closedHandles(), kAll);
}

TEST_F(ReplyPathTest, ReadFailureKeeps713ButFillsEverythingElse)
{
    fake.failOn(Operation::ReadData, 2);

    const Text result = run();

    EXPECT_EQ(utf8(statusText), "713 读取数据失败!");
    EXPECT_EQ(result, Text("abc"));
    EXPECT_EQ(responseBody, Bytes(std::string("abc")));
    EXPECT_EQ(receivedCookies, Text("b=2"));
    EXPECT_EQ(redirectLocation, Text("/next"));
    EXPECT_EQ(responseHeaders,
              Text("HTTP/1.1 200 OK\r\nSet-Cookie: b=2; path=/\r\nLocation: /next\r\n\r\n"));
    EXPECT_EQ(pumps, kPumpsForThisReply);
    EXPECT_EQ(fake.closedHandles(), kAll);
}

TEST_F(ReplyPathTest, UnreadableHeadersLeaveEverythingAndReturnEmpty)
{
    fake.failOn(Operation::QueryRawHeaders, 2);

    EXPECT_EQ(run(), Text());
    EXPECT_EQ(statusText, Text("status before"));
    EXPECT_EQ(responseHeaders, Text("headers before"));
    EXPECT_EQ(redirectLocation, Text("location before"));
    EXPECT_EQ(responseBody, Bytes(std::string("body before")));
    EXPECT_EQ(receivedCookies, Text());
    EXPECT_EQ(pumps, 9);
    EXPECT_EQ(fake.closedHandles(), kAll);
}

TEST_F(ReplyPathTest, ReadFailureAndUnreadableHeadersKeep713AndReturnEmpty)
{
    fake.failOn(Operation::ReadData, 1);
    fake.failOn(Operation::QueryRawHeaders, 2);

    EXPECT_EQ(run(), Text());
    EXPECT_EQ(utf8(statusText), "713 读取数据失败!");
    EXPECT_EQ(responseBody, Bytes(std::string("body before")));
}

TEST_F(ReplyPathTest, FailingAvailabilityQueryEndsTheBodyWithoutFailure)
{
    fake.failOn(Operation::QueryDataAvailable, 2);

    EXPECT_EQ(run(), Text("abc"));
    EXPECT_EQ(statusText, Text("200 OK"));
}

TEST_F(ReplyPathTest, EachReadGetsAFreshBufferOfTheAnnouncedSizeAndKeepsShortReads)
{
    fake.readLimit = 2;

    EXPECT_EQ(run(), Text("abcdef"));
    std::vector<std::int64_t> asked;
    for (const RecordedCall& call : fake.callsOf(Operation::ReadData))
        asked.push_back(call.numbers.at(0));
    EXPECT_EQ(asked, (std::vector<std::int64_t>{3, 1, 3, 1}));
}

TEST_F(ReplyPathTest, EmptyBodyEndsTheReadLoopAtOnce)
{
    fake.bodyChunks.clear();

    EXPECT_EQ(run(), Text());
    EXPECT_EQ(statusText, Text("200 OK"));
    EXPECT_EQ(responseBody, Bytes());
    EXPECT_TRUE(fake.callsOf(Operation::ReadData).empty());
}

TEST_F(ReplyPathTest, RequestWithinAPumpDoesNotDisturbTheRunningOne)
{
    FakeWinHttpLayer otherLayer;
    otherLayer.rawHeaders = u"HTTP/1.1 404 Not Found\r\nSet-Cookie: z=9\r\n\r\n";
    otherLayer.bodyChunks = {"other"};
    Text otherResult;
    bool nested = false;
    setPumpMessagesHook([&] {
        ++pumps;
        if (!std::exchange(nested, true))
            otherResult = httpRequest(otherLayer, "http://other.test/", {});
    });

    EXPECT_EQ(run(), Text("abcdef"));
    EXPECT_EQ(otherResult, Text("other"));
    EXPECT_EQ(statusText, Text("200 OK"));
    EXPECT_EQ(receivedCookies, Text("b=2"));
}

} // namespace
} // namespace ql::http::testing
