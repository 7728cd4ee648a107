#include "regex/MatchEngine.h"

#include "CaseName.h"

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace ql::regex_detail {

bool operator==(const Span& a, const Span& b) { return a.begin == b.begin && a.end == b.end; }
void PrintTo(const Span& span, std::ostream* os) { *os << '[' << span.begin << ',' << span.end << ')'; }

namespace {

constexpr MatchOptions kDefaults{};
constexpr MatchOptions kSingleLine{.ignoreCase = true, .multiline = false, .global = true};
constexpr MatchOptions kCaseSensitive{.ignoreCase = false, .multiline = true, .global = true};
constexpr MatchOptions kFirstOnly{.ignoreCase = true, .multiline = true, .global = false};

std::vector<Span> wholeMatches(const MatchList& matches)
{
    std::vector<Span> spans;
    for (int match = 0; match < matches.count(); ++match)
        spans.push_back(matches.span(match, 0));
    return spans;
}

struct EngineCase {
    const char* name;
    friend void PrintTo(const EngineCase& c, std::ostream* os) { *os << c.name; }
    std::u16string pattern;
    std::u16string subject;
    MatchOptions options;
    std::vector<Span> expected; // the whole matches, in order
};

const std::u16string kLineBreaks = u"x\rx\nx\r\nx";
const std::u16string kMetaPattern = u"<meta.+?charset=[^\\w]?([-\\w]+)";

const EngineCase kEngineCases[] = {
    // Global stepping: after an empty match the next search starts one unit on.
    {"EmptyPatternMatchesAtEveryPlace", u"", u"test", kDefaults, {{0, 0}, {1, 1}, {2, 2}, {3, 3}, {4, 4}}},
    {"LazyStarMatchesEmptyThreeTimes", u"a*?", u"aa", kDefaults, {{0, 0}, {1, 1}, {2, 2}}},
    {"GreedyStarThenEmptyAtEnd", u"a*", u"aa", kDefaults, {{0, 2}, {2, 2}}},
    {"NonEmptyMatchesDoNotOverlap", u"xxx", u"xxxx", kDefaults, {{0, 3}}},
    {"NonGlobalFindsFirstOnly", u"a", u"bab a", kFirstOnly, {{1, 2}}},
    {"NoMatch", u"z", u"abc", kDefaults, {}},
    {"EmptySubject", u"", u"", kDefaults, {{0, 0}}},

    // ^ and $ with line breaks: multiline also at '\r', and between '\r' and '\n'.
    {"MultilineCaret", u"^x", kLineBreaks, kDefaults, {{0, 1}, {2, 3}, {4, 5}, {7, 8}}},
    {"MultilineDollar", u"x$", kLineBreaks, kDefaults, {{0, 1}, {2, 3}, {4, 5}, {7, 8}}},
    {"MultilineEmptyLines", u"^$", u"\r\n", kDefaults, {{0, 0}, {1, 1}, {2, 2}}},
    {"SingleLineCaret", u"^x", kLineBreaks, kSingleLine, {{0, 1}}},
    {"SingleLineDollar", u"x$", kLineBreaks, kSingleLine, {{7, 8}}},
    {"SingleLineDollarNotBeforeFinalNewline", u"x$", u"x\n", kSingleLine, {}},
    {"DotStopsAtNewline", u"a.b", u"a\nb", kDefaults, {}},
    {"DotTakesCarriageReturn", u"a.b", u"a\rb", kDefaults, {{0, 3}}},

    // ASCII-only classes and letter case.
    {"WordIsAscii", u"\\w+", u"\u00e9_a1\u4e2d", kDefaults, {{1, 4}}},
    {"DigitIsAscii", u"\\d", u"\uff11" u"7", kDefaults, {{1, 2}}},
    {"SpaceIsAscii", u"\\s", u"\u00a0\u3000\u0085\t\v", kDefaults, {{3, 4}, {4, 5}}},
    {"BoundaryIsAscii", u"\\bx", u"\u00e9x", kDefaults, {{1, 2}}},
    {"CaselessAscii", u"abc", u"xABCx", kDefaults, {{1, 4}}},
    {"CaselessClass", u"[a-c]+", u"ABC", kDefaults, {{0, 3}}},
    {"CaseSensitive", u"abc", u"ABC", kCaseSensitive, {}},
    {"CaselessIsNotLatin1", u"\u00e9", u"\u00c9", kDefaults, {}},
    {"CaselessIsNotFullWidth", u"\uff41", u"\uff21", kDefaults, {}},

    // Escapes in the script engine's sense.
    {"BackreferenceAfterGroup", u"(a)\\1", u"aa", kDefaults, {{0, 2}}},
    {"OctalWithoutGroup", u"a\\1", u"a\x01", kDefaults, {{0, 2}}},
    {"UnsetBackreferenceMatchesEmpty", u"(a)?b\\1", u"b", kDefaults, {{0, 1}}},
    {"ControlNonLetterIsC", u"\\c1", u"c1", kDefaults, {{0, 2}}},
    {"ControlLetter", u"\\cJ", u"\n", kDefaults, {{0, 1}}},
    {"UnknownEscapeIsLetter", u"\\q", u"q", kDefaults, {{0, 1}}},
    {"ShortHexIsLetterX", u"\\x4", u"x4", kDefaults, {{0, 2}}},
    {"UnicodeEscape", u"\\u4e2d", u"a\u4e2d", kDefaults, {{1, 2}}},
    {"VerticalTabOnly", u"\\v", u"\n\v", kDefaults, {{1, 2}}},
    {"EscapedDollarAndAmpersand", u"\\$\\&", u"$&", kDefaults, {{0, 2}}},
    {"EmptyClassMatchesNothing", u"a[]", u"a", kDefaults, {}},
    {"NegatedEmptyClassMatchesAnything", u"[^]", u"\n", kDefaults, {{0, 1}}},
    {"UnpairedSurrogate", u".", std::u16string(1, char16_t(0xD800)), kDefaults, {{0, 1}}},

    // The charset pattern of response decoding.
    {"MetaQuoted", kMetaPattern, u"<META CHARSET=\"utf-8\">", kDefaults, {{0, 20}}},
    {"MetaAcrossNewlineDoesNotPair", kMetaPattern, u"<meta\ncharset=gbk>", kDefaults, {}},
};

class EngineMatches : public testing::TestWithParam<EngineCase> {};

TEST_P(EngineMatches, FindsExpectedSpans)
{
    const EngineCase& c = GetParam();
    const std::optional<MatchList> matches = matchAll(c.pattern, c.subject, c.options);
    ASSERT_TRUE(matches.has_value());
    EXPECT_EQ(wholeMatches(*matches), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, EngineMatches, testing::ValuesIn(kEngineCases), CaseName());

struct FailureCase {
    const char* name;
    friend void PrintTo(const FailureCase& c, std::ostream* os) { *os << c.name; }
    std::u16string pattern;
    std::u16string subject;
};

const FailureCase kFailureCases[] = {
    {"UnbalancedOpen", u"(a", u"a"},
    {"UnbalancedClose", u"a)", u"a"},
    {"NothingToRepeat", u"*a", u"a"},
    {"TrailingBackslash", u"a\\", u"a"},
    {"Lookbehind", u"(?<=a)b", u"ab"},
    {"InlineFlags", u"(?i)a", u"a"},
    {"StartOfSubjectEscape", u"\\Aa", u"a"},
    // Catastrophic backtracking stops at the match limit instead of running on.
    {"BacktrackingLimit", u"(a+)+$", std::u16string(40, u'a') + u"b"},
};

class EngineFailures : public testing::TestWithParam<FailureCase> {};

TEST_P(EngineFailures, RunFails)
{
    const FailureCase& c = GetParam();
    EXPECT_FALSE(matchAll(c.pattern, c.subject, kDefaults).has_value());
}

INSTANTIATE_TEST_SUITE_P(Cases, EngineFailures, testing::ValuesIn(kFailureCases), CaseName());

// The same pattern over a shorter subject stays within the limits: the
// failure above comes from the limit, not from the pattern.
TEST(EngineLimits, ShortBacktrackingFinishesWithoutMatch)
{
    const std::optional<MatchList> matches = matchAll(u"(a+)+$", std::u16string(10, u'a') + u"b", kDefaults);
    ASSERT_TRUE(matches.has_value());
    EXPECT_EQ(matches->count(), 0);
}

TEST(EngineGroups, NonParticipatingGroupIsUnset)
{
    const std::optional<MatchList> matches = matchAll(u"(a)|(b)", u"b", kDefaults);
    ASSERT_TRUE(matches.has_value());
    ASSERT_EQ(matches->count(), 1);
    EXPECT_EQ(matches->groupCount(), 2);
    EXPECT_FALSE(matches->span(0, 1).participated());
    EXPECT_EQ(matches->span(0, 2), (Span{0, 1}));
}

TEST(EngineGroups, EachMatchKeepsItsOwnGroups)
{
    const std::optional<MatchList> matches = matchAll(u"(\\d)(x)?", u"1x 2", kDefaults);
    ASSERT_TRUE(matches.has_value());
    ASSERT_EQ(matches->count(), 2);
    EXPECT_EQ(matches->span(0, 2), (Span{1, 2}));
    EXPECT_EQ(matches->span(1, 1), (Span{3, 4}));
    EXPECT_FALSE(matches->span(1, 2).participated());
}

TEST(EngineGroups, GroupCountWithoutMatch)
{
    const std::optional<MatchList> matches = matchAll(u"(a)(?:b)(c)", u"zzz", kDefaults);
    ASSERT_TRUE(matches.has_value());
    EXPECT_EQ(matches->count(), 0);
    EXPECT_EQ(matches->groupCount(), 2);
}

TEST(EngineGroups, MetaCharsetGroup)
{
    const std::u16string subject = u"<meta http-equiv=\"Content-Type\" content='text/html; charset=big5'>";
    const std::optional<MatchList> matches = matchAll(kMetaPattern, subject, kDefaults);
    ASSERT_TRUE(matches.has_value());
    ASSERT_EQ(matches->count(), 1);
    const Span group = matches->span(0, 1);
    EXPECT_EQ(subject.substr(group.begin, group.length()), u"big5");
}

} // namespace
} // namespace ql::regex_detail
