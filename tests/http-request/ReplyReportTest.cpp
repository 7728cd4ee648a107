#include "ReplyReport.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace ql::tools {
namespace {

TEST(ReplyReport, ConvertsTextsToUtf8AndBytesToLowerCaseHex)
{
    ReplyOutputs outputs;
    outputs.result = Text("\xC4\xE3\xBA\xC3");           // "你好" in GBK
    outputs.statusText = Text("200 OK");
    outputs.responseHeaders = Text("HTTP/1.1 200 OK\r\n\r\n");
    outputs.receivedCookies = Text("a=1");
    outputs.redirectLocation = Text("/next");
    outputs.responseBody = Bytes(std::string("\xAB\x00\x0F", 3));

    const auto report = nlohmann::json::parse(replyReport(outputs));

    EXPECT_EQ(report["result"], "你好");
    EXPECT_EQ(report["statusText"], "200 OK");
    EXPECT_EQ(report["responseHeaders"], "HTTP/1.1 200 OK\r\n\r\n");
    EXPECT_EQ(report["receivedCookies"], "a=1");
    EXPECT_EQ(report["redirectLocation"], "/next");
    EXPECT_EQ(report["resultHex"], "c4e3bac3");
    EXPECT_EQ(report["responseBodyHex"], "ab000f");
    EXPECT_FALSE(report.contains("sentCookies"));
}

TEST(ReplyReport, ReportsSentCookiesOnlyWhenGiven)
{
    ReplyOutputs outputs;
    outputs.sentCookies = Text();
    const auto report = nlohmann::json::parse(replyReport(outputs));
    ASSERT_TRUE(report.contains("sentCookies"));
    EXPECT_EQ(report["sentCookies"], "");
}

} // namespace
} // namespace ql::tools
