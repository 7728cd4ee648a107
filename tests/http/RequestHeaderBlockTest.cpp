// The request header block as the layer receives it.

#include "EngineFixture.h"

#include <optional>

namespace ql::http::testing {
namespace {

constexpr char16_t kUserAgent[] =
    u"User-Agent: Mozilla/5.0 (compatible; MSIE 9.0; Windows NT 6.1; WOW64; Trident/5.0)\r\n";
constexpr char16_t kAccept[] = u"Accept: text/html, application/xhtml+xml, */*\r\n";
constexpr char16_t kAcceptEncoding[] = u"Accept-Encoding: gbk, GB2312\r\n";
constexpr char16_t kAcceptLanguage[] = u"Accept-Language: zh-cn\r\n";
constexpr char16_t kFormContentType[] = u"Content-Type: application/x-www-form-urlencoded\r\n";
constexpr char16_t kCacheControl[] = u"Cache-Control: no-cache\r\n";

std::u16string join(std::initializer_list<std::u16string_view> parts)
{
    std::u16string joined;
    for (auto part : parts)
        joined.append(part);
    return joined;
}

const std::u16string kDefaults =
    join({kUserAgent, kAccept, kAcceptEncoding, kAcceptLanguage, kCacheControl});

struct BlockCase {
    const char* name;
    const char* extraHeaders;
    int method;
    std::optional<const char*> sentCookies;
    std::u16string expected;
};

const BlockCase kBlockCases[] = {
    {"defaultsOnly", "", 0, std::nullopt, kDefaults},
    {"postAddsFormContentType", "", 1, std::nullopt,
     join({kUserAgent, kAccept, kAcceptEncoding, kAcceptLanguage, kFormContentType, kCacheControl})},
    {"putAddsNoContentType", "", 3, std::nullopt, kDefaults},
    {"postWithOwnContentType", "Content-Type: text/plain", 1, std::nullopt,
     join({u"Content-Type: text/plain\r\n", kDefaults})},
    {"postWithLowerCaseContentType", "content-type: text/plain", 1, std::nullopt,
     join({u"content-type: text/plain\r\n", kUserAgent, kAccept, kAcceptEncoding, kAcceptLanguage,
           kFormContentType, kCacheControl})},
    {"ownUserAgentInAnyCase", "uSeR-aGeNt: probe/1", 0, std::nullopt,
     join({u"uSeR-aGeNt: probe/1\r\n", kAccept, kAcceptEncoding, kAcceptLanguage, kCacheControl})},
    {"markerMatchesInsideAValue", "X-Note: Accept: none", 0, std::nullopt,
     join({u"X-Note: Accept: none\r\n", kUserAgent, kAcceptEncoding, kAcceptLanguage, kCacheControl})},
    {"acceptWithoutBlankIsNoMarker", "Accept:*/*", 0, std::nullopt,
     join({u"Accept:*/*\r\n", kDefaults})},
    {"trailingLineBreakGivesEmptyLine", "X-A: 1\r\n", 0, std::nullopt,
     join({u"X-A: 1\r\n\r\n", kDefaults})},
    {"multiLineExtraHeaders", "X-A: 1\r\nCache-Control: max-age=0", 0, std::nullopt,
     join({u"X-A: 1\r\nCache-Control: max-age=0\r\n", kUserAgent, kAccept, kAcceptEncoding,
           kAcceptLanguage})},
    {"cookiesGoLast", "", 0, "a=1; b=2", join({kDefaults, u"Cookie: a=1; b=2\r\n"})},
    {"emptyCookiesAddNoLine", "", 0, "", kDefaults},
    {"ownCookieLineWins", "Cookie: c=3", 0, "a=1", join({u"Cookie: c=3\r\n", kDefaults})},
    {"cookieLineBreaksCannotSplitTheHeader", "", 0, "a=1\r\nX-Injected: 1\n",
     join({kDefaults, u"Cookie: a=1X-Injected: 1\r\n"})},
    {"cookiesOfLineBreaksOnlyAddNoLine", "", 0, "\r\n", kDefaults},
};

class RequestHeaderBlockTest : public EngineFixture, public ::testing::WithParamInterface<BlockCase> {};

TEST_P(RequestHeaderBlockTest, BuildsTheBlock)
{
    const BlockCase& c = GetParam();
    Text sentCookies;
    if (c.sentCookies) {
        sentCookies = Text(*c.sentCookies);
        args.sentCookies = &sentCookies;
    }
    args.extraHeaders = c.extraHeaders;
    args.method = c.method;

    run();

    EXPECT_EQ(sentHeaderBlock(), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, RequestHeaderBlockTest, ::testing::ValuesIn(kBlockCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(EngineFixture, HeadersAreAddedWithAddAndReplace)
{
    run();
    const auto calls = fake.callsOf(Operation::AddRequestHeaders);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].handle, FakeWinHttpLayer::kRequest);
    EXPECT_EQ(calls[0].numbers, (std::vector<std::int64_t>{0xA0000000}));
}

TEST_F(EngineFixture, GbkHeaderValuesReachTheLayerAsUtf16)
{
    args.extraHeaders = gbk("X-Question: 题目");
    run();
    EXPECT_EQ(sentHeaderBlock(), join({u"X-Question: 题目\r\n", kDefaults}));
}

} // namespace
} // namespace ql::http::testing
