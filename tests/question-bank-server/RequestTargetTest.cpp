// Pure functions: reading request targets, UTF-8 checks, highlighting, options.

#include "RequestTarget.h"
#include "SearchReply.h"
#include "ServerOptions.h"
#include "Utf8.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace ql::qbank {
namespace {

TEST(QuestionText, RawParameterIsEverythingAfterW)
{
    EXPECT_EQ(rawQuestionParameter("/qwg/chazhao.php?w=a&b=c"), "a&b=c");
    EXPECT_EQ(rawQuestionParameter("/qwg/chazhao.php?x=1&w=a"), "a");
    EXPECT_EQ(rawQuestionParameter("/qwg/chazhao.php?xw=1"), "");
    EXPECT_EQ(rawQuestionParameter("/qwg/chazhao.php?w"), "");
    EXPECT_EQ(rawQuestionParameter("/qwg/chazhao.php"), "");
    EXPECT_EQ(rawQuestionParameter("/p?w=a?w=b"), "a?w=b");
}

TEST(RequestTarget, RawParameterEndsAtAmpersand)
{
    EXPECT_EQ(rawParameter("/p?id=12&x=1", "id"), "12");
    EXPECT_EQ(rawParameter("/p?x=1&id=1%20OR%201=1", "id"), "1%20OR%201=1");
    EXPECT_EQ(rawParameter("/p?xid=12", "id"), "");
    EXPECT_EQ(rawParameter("/p?id=", "id"), "");
}

TEST(QuestionText, PercentDecodeKeepsWhatIsNotAnEscape)
{
    EXPECT_EQ(percentDecode("%E8%B4%a8"), "\xE8\xB4\xA8");
    EXPECT_EQ(percentDecode("100%"), "100%");
    EXPECT_EQ(percentDecode("%4"), "%4");
    EXPECT_EQ(percentDecode("%g1%41"), "%g1A");
    EXPECT_EQ(percentDecode("%%41"), "%A");
    EXPECT_EQ(percentDecode("a+b"), "a+b");
}

TEST(QuestionText, TrimsBlanksButNotInside)
{
    EXPECT_EQ(questionFromTarget("/p?w=%09%20a%20b%E3%80%80").text, "a b");
    EXPECT_EQ(questionFromTarget("/p?w=%E3%80%80").text, "");
}

struct Utf8Case {
    const char* name;
    std::string bytes;
    bool valid;
};

const Utf8Case utf8Cases[] = {
    {"Empty", "", true},
    {"Ascii", "abc", true},
    {"Chinese", "题目", true},
    {"FourByte", "\xF0\x9F\x98\x80", true},
    {"HighestCodePoint", "\xF4\x8F\xBF\xBF", true},
    {"AboveHighest", "\xF4\x90\x80\x80", false},
    {"LoneContinuation", "\x80", false},
    {"OverlongTwoByte", "\xC1\xBF", false},
    {"OverlongThreeByte", "\xE0\x9F\xBF", false},
    {"OverlongFourByte", "\xF0\x8F\xBF\xBF", false},
    {"Surrogate", "\xED\xA0\x80", false},
    {"Truncated", "\xE9\xA2", false},
    {"TruncatedAtEnd", "ab\xF0\x9F\x98", false},
    {"BadContinuation", "\xE9\x41\x98", false},
    {"Gbk", "\xCC\xE2\xC4\xBF", false},
    {"InvalidLead", "\xFF", false},
};

class Utf8Test : public testing::TestWithParam<Utf8Case> {};

TEST_P(Utf8Test, Validity)
{
    EXPECT_EQ(isValidUtf8(GetParam().bytes), GetParam().valid);
}

INSTANTIATE_TEST_SUITE_P(Utf8, Utf8Test, testing::ValuesIn(utf8Cases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Utf8, CountsCodePoints)
{
    EXPECT_EQ(countCodePoints("a题b"), 3u);
    EXPECT_EQ(countCodePoints("质数"), 2u);
    EXPECT_EQ(countCodePoints("\xF0\x9F\x98\x80"), 1u);
}

struct HighlightCase {
    const char* name;
    const char* text;
    const char* needle;
    const char* expected;
};

const HighlightCase highlightCases[] = {
    {"Chinese", "牛顿第二定律", "第二", "牛顿<em>第二</em>定律"},
    {"AtBothEnds", "abcab", "ab", "<em>ab</em>c<em>ab</em>"},
    {"AsciiCaseKept", "Hello HELLO", "hello", "<em>Hello</em> <em>HELLO</em>"},
    {"NoOverlap", "aaaa", "aaa", "<em>aaa</em>a"},
    {"WholeText", "题", "题", "<em>题</em>"},
    {"NoMatch", "abc", "x", "abc"},
    {"EmptyNeedle", "abc", "", "abc"},
    // Only ASCII letters fold: the Greek capital stays unmarked.
    {"NonAsciiCaseNotFolded", "Σσ", "σ", "Σ<em>σ</em>"},
};

class HighlightTest : public testing::TestWithParam<HighlightCase> {};

TEST_P(HighlightTest, MarksMatches)
{
    EXPECT_EQ(highlightMatches(GetParam().text, GetParam().needle), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Highlight, HighlightTest, testing::ValuesIn(highlightCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SearchReply, ClosingPieceAlone)
{
    EXPECT_EQ(formatSearchReply({}, "x"), "共找到 0 道题");
}

TEST(SearchReply, RowsThenClosingPiece)
{
    SearchResult result;
    result.hits = {{12, "ab"}, {3, "xab"}};
    result.total = 2;
    EXPECT_EQ(formatSearchReply(result, "ab"),
              "id:12题目:<em>ab</em><br>id:3题目:x<em>ab</em><br>共找到 2 道题");
    result.total = 40;
    EXPECT_EQ(formatSearchReply(result, "ab"),
              "id:12题目:<em>ab</em><br>id:3题目:x<em>ab</em><br>共找到 40 道题，列出前 2 道");
}

OptionsResult parseArgs(std::vector<std::string_view> arguments)
{
    return parseOptions(arguments);
}

TEST(ServerOptions, Defaults)
{
    const auto parsed = parseArgs({});
    ASSERT_EQ(parsed.error, "");
    EXPECT_EQ(parsed.options.port, 8080);
    EXPECT_EQ(parsed.options.host, "127.0.0.1");
    EXPECT_EQ(parsed.options.bankPath, "");
    EXPECT_EQ(parsed.options.rowLimit, 10);
    EXPECT_FALSE(parsed.options.showHelp);
}

TEST(ServerOptions, EveryOption)
{
    const auto parsed = parseArgs({"--port", "0", "--host", "0.0.0.0", "--bank", "b.jsonl",
                                   "--limit", "6", "--help"});
    ASSERT_EQ(parsed.error, "");
    EXPECT_EQ(parsed.options.port, 0);
    EXPECT_EQ(parsed.options.host, "0.0.0.0");
    EXPECT_EQ(parsed.options.bankPath, "b.jsonl");
    EXPECT_EQ(parsed.options.rowLimit, 6);
    EXPECT_TRUE(parsed.options.showHelp);
}

struct BadOptionsCase {
    const char* name;
    std::vector<std::string_view> arguments;
    const char* error;
};

const BadOptionsCase badOptionsCases[] = {
    {"Unknown", {"--verbose"}, "unknown option --verbose"},
    {"MissingValue", {"--port"}, "--port needs a value"},
    {"EmptyBank", {"--bank", ""}, "--bank needs a value"},
    {"PortNotNumber", {"--port", "http"}, "--port takes a number from 0 to 65535, not http"},
    {"PortTooLarge", {"--port", "65536"}, "--port takes a number from 0 to 65535, not 65536"},
    {"PortNegative", {"--port", "-1"}, "--port takes a number from 0 to 65535, not -1"},
    {"PortTrailing", {"--port", "80x"}, "--port takes a number from 0 to 65535, not 80x"},
    {"LimitZero", {"--limit", "0"}, "--limit takes a number from 1 to 1000, not 0"},
    {"LimitTooLarge", {"--limit", "1001"}, "--limit takes a number from 1 to 1000, not 1001"},
};

class BadOptionsTest : public testing::TestWithParam<BadOptionsCase> {};

TEST_P(BadOptionsTest, ClearError)
{
    EXPECT_EQ(parseArgs(GetParam().arguments).error, GetParam().error);
}

INSTANTIATE_TEST_SUITE_P(ServerOptions, BadOptionsTest, testing::ValuesIn(badOptionsCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace ql::qbank
