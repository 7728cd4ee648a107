#include "regex/RegexObject.h"

#include "CaseName.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace ql {
namespace {

const Text kMiddle = "\xD6\xD0";              // "中"
const Text kMetaPattern = "<meta.+?charset=[^\\w]?([-\\w]+)";
constexpr int kUntouched = 12345;

// Every reading operation of an object without a usable run.
void expectNothingToRead(const RegexObject& regex)
{
    EXPECT_EQ(regex.matchCount(), 0);
    EXPECT_EQ(regex.submatchCount(), 0);
    int position = kUntouched;
    EXPECT_EQ(regex.matchText(1, &position), Text());
    EXPECT_EQ(regex.submatchText(1, 1, &position), Text());
    EXPECT_EQ(position, kUntouched);
    EXPECT_EQ(regex.replaceMatches("x"), Text());
}

TEST(RegexObjectNew, HasNothingToRead)
{
    const RegexObject regex;
    EXPECT_EQ(regex.getPattern(), Text());
    expectNothingToRead(regex);
}

struct FailedRunCase {
    const char* name;
    friend void PrintTo(const FailedRunCase& c, std::ostream* os) { *os << c.name; }
    Text pattern;
    Text subject;
};

const FailedRunCase kFailedRunCases[] = {
    {"UnbalancedParenthesis", "(a", "a"},
    {"Lookbehind", "(?<=a)b", "ab"},
    {"NamedGroup", "(?<n>a)", "a"},
    {"InlineFlags", "(?i)a", "a"},
    {"PossessiveQuantifier", "a++", "a"},
    {"AtomicGroup", "(?>a)", "a"},
    {"StartOfSubjectEscape", "\\Aa", "a"},
    {"UnicodeProperty", "\\p{L}", "a"},
    // Catastrophic backtracking reaches the match limit and fails the run.
    {"BacktrackingLimit", "(a+)+$", Text(std::string(40, 'a') + "b")},
};

class RegexObjectFailedRun : public testing::TestWithParam<FailedRunCase> {};

TEST_P(RegexObjectFailedRun, ReturnsFalseAndReadsEmpty)
{
    const FailedRunCase& c = GetParam();
    RegexObject regex;
    ASSERT_TRUE(regex.execute("a", "a")); // an earlier run must not show through
    EXPECT_FALSE(regex.execute(c.pattern, c.subject));
    EXPECT_EQ(regex.getPattern(), c.pattern); // the pattern was still set
    expectNothingToRead(regex);
}

INSTANTIATE_TEST_SUITE_P(Cases, RegexObjectFailedRun, testing::ValuesIn(kFailedRunCases), CaseName());

struct OptionCase {
    const char* name;
    friend void PrintTo(const OptionCase& c, std::ostream* os) { *os << c.name; }
    Text pattern;
    Text subject;
    bool caseSensitive;
    bool multiline;
    bool global;
    int expectedCount;
};

const OptionCase kOptionCases[] = {
    {"DefaultIgnoresCase", "abc", "xABCx", false, true, true, 1},
    {"CaseSensitive", "abc", "xABCx", true, true, true, 0},
    {"DefaultMultiline", "^x", "x\rx\nx\r\nx", false, true, true, 4},
    {"SingleLine", "^x", "x\rx\nx\r\nx", false, false, true, 1},
    {"DefaultGlobal", "a", "aaa", false, true, true, 3},
    {"NonGlobal", "a", "aaa", false, true, false, 1},
    {"EmptyPatternGlobal", "", "test", false, true, true, 5},
    {"ValidPatternWithoutMatch", "z", "aaa", false, true, true, 0},
    {"WordIsAsciiOnly", "\\w", "\xD6\xD0\xCE\xC4", false, true, true, 0}, // "中文"
};

class RegexObjectOptions : public testing::TestWithParam<OptionCase> {};

TEST_P(RegexObjectOptions, CountsMatches)
{
    const OptionCase& c = GetParam();
    RegexObject regex;
    EXPECT_TRUE(regex.execute(c.pattern, c.subject, c.caseSensitive, c.multiline, c.global));
    EXPECT_EQ(regex.matchCount(), c.expectedCount);
}

INSTANTIATE_TEST_SUITE_P(Cases, RegexObjectOptions, testing::ValuesIn(kOptionCases), CaseName());

TEST(RegexObjectExecute, LeftOutOptionsIgnoreCaseAndRunMultilineGlobal)
{
    RegexObject regex;
    ASSERT_TRUE(regex.execute("^A", "a\ra"));
    EXPECT_EQ(regex.matchCount(), 2);
}

struct CharsetCase {
    const char* name;
    friend void PrintTo(const CharsetCase& c, std::ostream* os) { *os << c.name; }
    Text page;
    Text expectedCharset;
};

const CharsetCase kCharsetCases[] = {
    {"Quoted", "<html><meta charset=\"gb2312\"></html>", "gb2312"},
    {"CapitalsKeepTheirCase", "<META CHARSET=\"GB2312\">", "GB2312"},
    {"Unquoted", "<meta charset=utf-8>", "utf-8"},
    {"InContentAttribute", "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=big5\">", "big5"},
    {"AfterChineseTitle", "<title>\xD6\xD0\xCE\xC4</title><meta charset='gbk'>", "gbk"}, // "中文"
    {"AcrossNewlineDoesNotPair", "<meta\ncharset=\"utf-8\">", ""},
    {"NoMetaTag", "<html><body>charset=utf-8</body></html>", ""},
};

class RegexObjectCharset : public testing::TestWithParam<CharsetCase> {};

TEST_P(RegexObjectCharset, FindsDeclaredCharset)
{
    const CharsetCase& c = GetParam();
    RegexObject regex;
    ASSERT_TRUE(regex.execute(kMetaPattern, c.page));
    EXPECT_EQ(regex.submatchText(1, 1), c.expectedCharset);
    EXPECT_EQ(regex.matchCount(), c.expectedCharset.empty() ? 0 : 1);
    EXPECT_EQ(regex.submatchCount(), c.expectedCharset.empty() ? 0 : 1);
}

INSTANTIATE_TEST_SUITE_P(Cases, RegexObjectCharset, testing::ValuesIn(kCharsetCases), CaseName());

TEST(RegexObjectQuoteToken, ReplacedOnlyWhenAsked)
{
    const Text pattern = "charset=\x23\xD2\xFD\xBA\xC5(\\w+)\x23\xD2\xFD\xBA\xC5"; // charset=#引号(\w+)#引号
    const Text subject = "<meta charset=\"gbk\">";
    RegexObject regex;

    ASSERT_TRUE(regex.execute(pattern, subject, false, true, true, true));
    EXPECT_EQ(regex.getPattern(), Text("charset=\"(\\w+)\""));
    EXPECT_EQ(regex.submatchText(1, 1), Text("gbk"));

    ASSERT_TRUE(regex.execute(pattern, subject));
    EXPECT_EQ(regex.getPattern(), pattern);
    EXPECT_EQ(regex.matchCount(), 0);
}

class RegexObjectReading : public testing::Test {
protected:
    // Two matches of "a" followed by an optional digit and an optional "中".
    void SetUp() override
    {
        ASSERT_TRUE(regex.execute("a(\\d)?(\xD6\xD0)?", "a1 \xD6\xD0" "a\xD6\xD0")); // "a(\d)?(中)?" over "a1 中a中"
    }

    RegexObject regex;
};

TEST_F(RegexObjectReading, MatchTextByIndex)
{
    EXPECT_EQ(regex.matchCount(), 2);
    EXPECT_EQ(regex.matchText(1), Text("a1"));
    EXPECT_EQ(regex.matchText(2), Text("a\xD6\xD0")); // "a中"
    EXPECT_EQ(regex.matchText(3), Text());
    EXPECT_EQ(regex.matchText(0), Text());
    EXPECT_EQ(regex.matchText(-1), Text());
}

TEST_F(RegexObjectReading, SubmatchTextByIndex)
{
    EXPECT_EQ(regex.submatchCount(), 2);
    EXPECT_EQ(regex.submatchText(1, 1), Text("1"));
    EXPECT_EQ(regex.submatchText(1, 2), Text()); // took no part
    EXPECT_EQ(regex.submatchText(2, 1), Text()); // took no part
    EXPECT_EQ(regex.submatchText(2, 2), kMiddle);
    EXPECT_EQ(regex.submatchText(1, 0), Text());
    EXPECT_EQ(regex.submatchText(1, 3), Text());
    EXPECT_EQ(regex.submatchText(3, 1), Text());
}

// Positions are byte offsets in the GBK subject, where each Chinese
// character takes two bytes but one UTF-16 unit.
TEST_F(RegexObjectReading, PositionsAreByteOffsets)
{
    int position = kUntouched;
    regex.matchText(1, &position);
    EXPECT_EQ(position, 0);
    regex.matchText(2, &position);
    EXPECT_EQ(position, 5);
    regex.submatchText(1, 1, &position);
    EXPECT_EQ(position, 1);
    regex.submatchText(2, 2, &position);
    EXPECT_EQ(position, 6);
}

TEST_F(RegexObjectReading, NoPositionForMissingMatchOrGroup)
{
    int position = kUntouched;
    regex.submatchText(2, 1, &position); // a group that took no part has no place
    regex.submatchText(1, 3, &position);
    regex.matchText(3, &position);
    EXPECT_EQ(position, kUntouched);
}

struct PositionCase {
    const char* name;
    friend void PrintTo(const PositionCase& c, std::ostream* os) { *os << c.name; }
    Text pattern;
    Text subject;
    int submatchIndex; // 0: the whole match
    int expectedPosition;
};

const PositionCase kPositionCases[] = {
    {"AfterChinese", "b", "\xD6\xD0\xCE\xC4" "ab", 0, 5},                      // "中文ab"
    {"GroupInsideMatch", "a(b)", "\xD6\xD0" "ab", 1, 3},                        // "中ab"
    {"GroupEqualToEarlierText", "x.(x)", "\xD6\xD0" "xxx", 1, 4},               // "中xxx": not the first "x"
    {"EmptyGroup", "b()", "\xD6\xD0" "bc", 1, 3},                               // "中bc"
    {"EmptyMatchAtEnd", "$", "\xD6\xD0\xCE\xC4", 0, 4},                         // "中文"
    {"ChineseMatch", "\xCE\xC4", "\xD6\xD0\xCE\xC4", 0, 2},                     // "文" in "中文"
    // However an invalid lead byte decodes, offsets stay those of the subject bytes.
    {"AfterInvalidPair", "abc", "\x81" "0abc", 0, 2},
    {"EndAfterLoneLeadByte", "$", "ab\x81", 0, 3},
};

class RegexObjectPosition : public testing::TestWithParam<PositionCase> {};

TEST_P(RegexObjectPosition, IsExactByteOffset)
{
    const PositionCase& c = GetParam();
    RegexObject regex;
    ASSERT_TRUE(regex.execute(c.pattern, c.subject, false, false));
    int position = kUntouched;
    if (c.submatchIndex == 0)
        regex.matchText(1, &position);
    else
        regex.submatchText(1, c.submatchIndex, &position);
    EXPECT_EQ(position, c.expectedPosition);
}

INSTANTIATE_TEST_SUITE_P(Cases, RegexObjectPosition, testing::ValuesIn(kPositionCases), CaseName());

struct ReplaceCase {
    const char* name;
    friend void PrintTo(const ReplaceCase& c, std::ostream* os) { *os << c.name; }
    Text pattern;
    Text subject;
    bool global;
    Text replacement;
    Text expected;
};

const ReplaceCase kReplaceCases[] = {
    {"DollarDollarAndGroups", "(\\$(\\d))", "$1,$2", true, "$$1-$1$2", "$1-$11,$1-$22"},
    {"NonGlobalFirstOnly", "\\[([^\\[]+)\\]", "[test] [test]", false, "aa", "aa [test]"},
    {"EmptyPatternGlobal", "", "xxx", true, "y", "yxyxyxy"},
    {"NoMatchKeepsSubject", "z", "abc", true, "y", "abc"},
    {"Chinese", "\xD6\xD0", "\xCE\xC4\xD6\xD0\xCE\xC4", true, "[$&]", "\xCE\xC4[\xD6\xD0]\xCE\xC4"}, // 中 in 文中文
};

class RegexObjectReplace : public testing::TestWithParam<ReplaceCase> {};

TEST_P(RegexObjectReplace, UsesLastRun)
{
    const ReplaceCase& c = GetParam();
    RegexObject regex;
    ASSERT_TRUE(regex.execute(c.pattern, c.subject, false, true, c.global));
    EXPECT_EQ(regex.replaceMatches(c.replacement), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, RegexObjectReplace, testing::ValuesIn(kReplaceCases), CaseName());

TEST(RegexObjectRuns, EachExecuteReplacesThePreviousRun)
{
    RegexObject regex;
    ASSERT_TRUE(regex.execute("(b)", "abc"));
    ASSERT_TRUE(regex.execute("x", "xx"));
    EXPECT_EQ(regex.getPattern(), Text("x"));
    EXPECT_EQ(regex.matchCount(), 2);
    EXPECT_EQ(regex.submatchCount(), 0);
    EXPECT_EQ(regex.replaceMatches("y"), Text("yy"));
}

TEST(RegexObjectCopy, SharesTheRunAndKeepsItAfterTheSourceMovesOn)
{
    RegexObject source;
    ASSERT_TRUE(source.execute("(b)", "abcb"));
    const RegexObject copy(source);
    RegexObject assigned;
    assigned = source;

    ASSERT_FALSE(source.execute("(", "b"));
    for (const RegexObject* regex : {&copy, static_cast<const RegexObject*>(&assigned)}) {
        EXPECT_EQ(regex->getPattern(), Text("(b)"));
        EXPECT_EQ(regex->matchCount(), 2);
        EXPECT_EQ(regex->submatchText(2, 1), Text("b"));
        EXPECT_EQ(regex->replaceMatches("x"), Text("axcx"));
    }
}

} // namespace
} // namespace ql
