#include "CommandLine.h"

#include <gtest/gtest.h>

namespace ql::tools {
namespace {

RequestCommand parsed(std::vector<std::string_view> arguments)
{
    auto result = parseCommandLine(arguments);
    if (auto* error = std::get_if<UsageError>(&result))
        ADD_FAILURE() << error->message;
    return std::get_if<RequestCommand>(&result) ? std::get<RequestCommand>(result) : RequestCommand{};
}

TEST(CommandLine, UrlAloneLeavesEveryDefault)
{
    const RequestCommand command = parsed({"http://example.test/"});
    EXPECT_EQ(command.url, Text("http://example.test/"));
    EXPECT_EQ(command.method, 0);
    EXPECT_FALSE(command.sentCookies);
    EXPECT_FALSE(command.disableRedirects);
    EXPECT_TRUE(command.autoMergeCookies);
    EXPECT_EQ(command.timeoutSeconds, 0);
}

TEST(CommandLine, EveryOptionReachesItsField)
{
    const RequestCommand command = parsed(
        {"--method", "1", "http://example.test/", "--post-data", "a=1", "--sent-cookies", "s=1",
         "--extra-headers", "X: 1", "--disable-redirects", "--user-name", "u", "--password", "p",
         "--proxy", "proxy.test:3128", "--proxy-user-name", "pu", "--proxy-password", "pp",
         "--timeout-seconds", "-5", "--no-auto-merge-cookies"});
    EXPECT_EQ(command.method, 1);
    EXPECT_EQ(command.postData, Text("a=1"));
    ASSERT_TRUE(command.sentCookies);
    EXPECT_EQ(*command.sentCookies, Text("s=1"));
    EXPECT_EQ(command.extraHeaders, Text("X: 1"));
    EXPECT_TRUE(command.disableRedirects);
    EXPECT_EQ(command.userName, Text("u"));
    EXPECT_EQ(command.password, Text("p"));
    EXPECT_EQ(command.proxy, Text("proxy.test:3128"));
    EXPECT_EQ(command.proxyUserName, Text("pu"));
    EXPECT_EQ(command.proxyPassword, Text("pp"));
    EXPECT_EQ(command.timeoutSeconds, -5);
    EXPECT_FALSE(command.autoMergeCookies);
}

TEST(CommandLine, EmptySentCookiesCountAsGiven)
{
    const RequestCommand command = parsed({"http://example.test/", "--sent-cookies", ""});
    ASSERT_TRUE(command.sentCookies);
    EXPECT_EQ(*command.sentCookies, Text());
}

TEST(CommandLine, TextArgumentsBecomeGbk)
{
    const RequestCommand command = parsed({"http://example.test/?w=题目", "--post-data", "题"});
    EXPECT_EQ(command.url, Text("http://example.test/?w=\xCC\xE2\xC4\xBF")); // "题目" in GBK
    EXPECT_EQ(command.postData, Text("\xCC\xE2"));
}

TEST(CommandLine, ExtraHeadersInterpretEscapes)
{
    const RequestCommand command =
        parsed({"http://example.test/", "--extra-headers", R"(A: 1\r\nB: c:\\d\t)"});
    EXPECT_EQ(command.extraHeaders, Text("A: 1\r\nB: c:\\d\\t"));
}

TEST(CommandLine, EscapesAreReadBeforeTheGbkConversion)
{
    // "輁" is DD 5C in GBK: its second byte is a backslash, and "n" follows.
    const RequestCommand command = parsed({"http://example.test/", "--extra-headers", "X: 輁n"});
    EXPECT_EQ(command.extraHeaders, Text("X: \xDD\x5Cn"));
}

struct BadCase {
    const char* name;
    std::vector<std::string_view> arguments;
};

const BadCase kBadCases[] = {
    {"nothing", {}},
    {"noUrl", {"--method", "1"}},
    {"twoUrls", {"http://a.test/", "http://b.test/"}},
    {"unknownOption", {"http://a.test/", "--verbose"}},
    {"missingValue", {"http://a.test/", "--post-data"}},
    {"methodNotANumber", {"http://a.test/", "--method", "GET"}},
    {"timeoutWithTrailingText", {"http://a.test/", "--timeout-seconds", "5s"}},
    {"timeoutOutOfRange", {"http://a.test/", "--timeout-seconds", "99999999999"}},
    {"emptyNumber", {"http://a.test/", "--method", ""}},
};

class CommandLineErrors : public ::testing::TestWithParam<BadCase> {};

TEST_P(CommandLineErrors, AreUsageErrors)
{
    EXPECT_TRUE(std::holds_alternative<UsageError>(parseCommandLine(GetParam().arguments)));
}

INSTANTIATE_TEST_SUITE_P(Cases, CommandLineErrors, ::testing::ValuesIn(kBadCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(InterpretEscapes, HandlesEveryForm)
{
    EXPECT_EQ(interpretEscapes(R"(\r\n\\)"), "\r\n\\");
    EXPECT_EQ(interpretEscapes(R"(\\n)"), "\\n");
    EXPECT_EQ(interpretEscapes(R"(a\x)"), "a\\x");
    EXPECT_EQ(interpretEscapes("end\\"), "end\\");
}

} // namespace
} // namespace ql::tools
