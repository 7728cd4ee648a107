// Status text, cookies, redirect target and merging, from the raw header
// block the layer hands back.

#include "EngineFixture.h"

#include <optional>

namespace ql::http::testing {
namespace {

struct HeaderCase {
    const char* name;
    std::u16string rawHeaders;
    const char* statusText;
    const char* receivedCookies;
    const char* redirectLocation; // "location before" when no line qualifies
};

const HeaderCase kHeaderCases[] = {
    {"ok", u"HTTP/1.1 200 OK\r\n\r\n", "200 OK", "", "location before"},
    {"notFound", u"HTTP/1.1 404 Not Found\r\nServer: t\r\n\r\n", "404 Not Found", "", "location before"},
    {"noLineBreakAfterStatus", u"HTTP/1.1 200 OK", "", "", "location before"},
    {"cookieWithAttributesAndLowerCaseName",
     u"HTTP/1.1 200 OK\r\nSet-Cookie: a=1; path=/\r\nset-cookie: b=2\r\n\r\n", "200 OK", "a=1; b=2",
     "location before"},
    {"cookieWithoutSemicolon", u"HTTP/1.1 200 OK\r\nSet-Cookie: sid=xyz\r\n\r\n", "200 OK", "sid=xyz",
     "location before"},
    {"upperCaseCookieName", u"HTTP/1.1 200 OK\r\nSET-COOKIE:  c=3 ;x\r\n\r\n", "200 OK", "c=3",
     "location before"},
    {"cookieInfoHeaderAddsEmptyEntry",
     u"HTTP/1.1 200 OK\r\nSet-Cookie: a=1\r\nX-Set-Cookie-Info: v;w\r\nSet-Cookie: b=2\r\n\r\n", "200 OK",
     "a=1; ; b=2", "location before"},
    {"location", u"HTTP/1.1 302 Found\r\nLocation: /next\r\n\r\n", "302 Found", "", "/next"},
    {"lowerCaseLocation", u"HTTP/1.1 302 Found\r\nlocation: /next\r\n\r\n", "302 Found", "", "/next"},
    {"locationWithoutBlank", u"HTTP/1.1 302 Found\r\nLocation:/next\r\n\r\n", "302 Found", "",
     "location before"},
    {"lastLocationWins", u"HTTP/1.1 302 Found\r\nLocation: /a\r\nLocation: /b \r\n\r\n", "302 Found", "",
     "/b "},
    {"emptyLocation", u"HTTP/1.1 302 Found\r\nLocation: \r\n\r\n", "302 Found", "", ""},
};

class ResponseHeadersTest : public EngineFixture, public ::testing::WithParamInterface<HeaderCase> {};

TEST_P(ResponseHeadersTest, ReadsTheHeaderBlock)
{
    const HeaderCase& c = GetParam();
    fake.rawHeaders = c.rawHeaders;
    fake.bodyChunks = {"body"};

    EXPECT_EQ(run(), Text("body"));
    EXPECT_EQ(statusText, Text(c.statusText));
    EXPECT_EQ(receivedCookies, Text(c.receivedCookies));
    EXPECT_EQ(redirectLocation, Text(c.redirectLocation));
    EXPECT_EQ(responseBody, Bytes(std::string("body")));
}

INSTANTIATE_TEST_SUITE_P(Cases, ResponseHeadersTest, ::testing::ValuesIn(kHeaderCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(EngineFixture, ResponseHeadersSpellEverySetCookieAlike)
{
    fake.rawHeaders = u"HTTP/1.1 200 OK\r\nset-cookie: a=1\r\nSET-COOKIE: b=2\r\nX-Note: set-cookie\r\n\r\n";
    run();
    EXPECT_EQ(responseHeaders,
              Text("HTTP/1.1 200 OK\r\nSet-Cookie: a=1\r\nSet-Cookie: b=2\r\nX-Note: Set-Cookie\r\n\r\n"));
}

TEST_F(EngineFixture, HeaderTextIsConvertedToGbk)
{
    fake.rawHeaders = u"HTTP/1.1 200 成功\r\n\r\n";
    run();
    EXPECT_EQ(utf8(statusText), "200 成功");
}

TEST_F(EngineFixture, ReceivedCookiesAreAppendedToTheEntryValue)
{
    fake.rawHeaders = u"HTTP/1.1 200 OK\r\nSet-Cookie: a=1\r\n\r\n";
    receivedCookies = "old=0; ";
    run();
    EXPECT_EQ(receivedCookies, Text("old=0; a=1"));
}

TEST_F(EngineFixture, RawHeadersAreAskedForSizeFirst)
{
    fake.rawHeaders = u"HTTP/1.1 200 OK\r\n\r\n";
    run();
    const auto queries = fake.callsOf(Operation::QueryRawHeaders);
    ASSERT_EQ(queries.size(), 2u);
    EXPECT_EQ(queries[0].numbers, (std::vector<std::int64_t>{0}));
    EXPECT_EQ(queries[1].numbers, (std::vector<std::int64_t>{2 * (19 + 1)}));
}

struct MergeCase {
    const char* name;
    std::optional<const char*> sentCookies;
    bool autoMerge;
    const char* expectedReceived;
    const char* expectedSent; // only when given
};

const MergeCase kMergeCases[] = {
    {"leftOutNeverMerges", std::nullopt, true, "b=3", ""},
    {"givenMergesByDefault", "a=1; b=2", true, "b=3; a=1", "b=3; a=1"},
    {"givenEmptyMerges", "", true, "b=3", "b=3"},
    {"mergeSwitchedOff", "a=1; b=2", false, "b=3", "a=1; b=2"},
};

class CookieMergeStepTest : public EngineFixture, public ::testing::WithParamInterface<MergeCase> {};

TEST_P(CookieMergeStepTest, MergesOnlyWhenAskedAndGiven)
{
    const MergeCase& c = GetParam();
    fake.rawHeaders = u"HTTP/1.1 200 OK\r\nSet-Cookie: b=3; path=/\r\n\r\n";
    Text sentCookies;
    if (c.sentCookies) {
        sentCookies = Text(*c.sentCookies);
        args.sentCookies = &sentCookies;
    }
    args.autoMergeCookies = c.autoMerge;

    run();

    EXPECT_EQ(receivedCookies, Text(c.expectedReceived));
    EXPECT_EQ(sentCookies, Text(c.expectedSent));
}

INSTANTIATE_TEST_SUITE_P(Cases, CookieMergeStepTest, ::testing::ValuesIn(kMergeCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(EngineFixture, LeftOutOutParametersAreSkipped)
{
    fake.rawHeaders = u"HTTP/1.1 200 OK\r\nSet-Cookie: a=1\r\nLocation: /x\r\n\r\n";
    fake.bodyChunks = {"text"};
    EXPECT_EQ(httpRequest(fake, "http://example.test/", {}), Text("text"));
}

} // namespace
} // namespace ql::http::testing
