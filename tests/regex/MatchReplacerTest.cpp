#include "regex/MatchEngine.h"
#include "regex/MatchReplacer.h"

#include "CaseName.h"

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>

namespace ql::regex_detail {
namespace {

struct ReplaceCase {
    const char* name;
    friend void PrintTo(const ReplaceCase& c, std::ostream* os) { *os << c.name; }
    std::u16string pattern;
    std::u16string subject;
    bool global;
    std::u16string replacement;
    std::u16string expected;
};

const ReplaceCase kReplaceCases[] = {
    // Results the script engine gives for these inputs.
    {"DollarDollarAndGroups", u"(\\$(\\d))", u"$1,$2", true, u"$$1-$1$2", u"$1-$11,$1-$22"},
    {"TextAfterMatch", u"(\\&(\\d))", u"abc &1 123", true, u"$'", u"abc  123 123"},
    {"TextBeforeMatch", u"(\\&(\\d))", u"abc &1 123", true, u"$`", u"abc abc  123"},
    {"GroupBeyondCountIsLiteral", u"(\\&(\\d))", u"abc &1 123", true, u"$3", u"abc $3 123"},
    {"WholeMatch", u"b", u"abc", true, u"x$&z", u"axbzc"},
    {"MatchesDoNotOverlap", u"xxx", u"xxxx", true, u"y", u"yx"},
    {"NonGlobalReplacesFirst", u"\\[([^\\[]+)\\]", u"[test] [test]", false, u"aa", u"aa [test]"},
    {"EmptyPatternNonGlobal", u"", u"xxx", false, u"y", u"yxxx"},
    {"EmptyPatternGlobal", u"", u"xxx", true, u"y", u"yxyxyxy"},

    // The $ specials one by one.
    {"NoMatchKeepsSubject", u"z", u"abc", true, u"y", u"abc"},
    {"EmptyReplacementDeletes", u"b", u"abcb", true, u"", u"ac"},
    {"DollarAtEnd", u"b", u"abc", true, u"x$", u"ax$c"},
    {"DollarZeroIsLiteral", u"(b)", u"abc", true, u"$0", u"a$0c"},
    {"OtherDollarIsLiteral", u"(b)", u"abc", true, u"$x$-", u"a$x$-c"},
    {"TwoDigitGroupWhenItExists", u"(a)(b)(c)(d)(e)(f)(g)(h)(i)(j)(k)(l)", u"abcdefghijkl", true, u"$12$11",
     u"lk"},
    {"OneDigitGroupThenDigit", u"(a)(b)", u"ab", true, u"$13", u"a3"},
    {"LeadingZeroGroup", u"(a)(b)", u"ab", true, u"$02", u"b"},
    {"UnsetGroupIsEmpty", u"(a)|(b)", u"b", true, u"<$1|$2>", u"<|b>"},
    {"SpecialsPerMatch", u"\\d", u"a1b2", true, u"[$`|$']", u"a[a|b2]b[a1b|]"},
    {"NonAsciiKept", u"\u4e2d", u"\u6587\u4e2d\u6587", true, u"($&)", u"\u6587(\u4e2d)\u6587"},
};

class Replacement : public testing::TestWithParam<ReplaceCase> {};

TEST_P(Replacement, ExpandsLikeScriptReplace)
{
    const ReplaceCase& c = GetParam();
    const std::optional<MatchList> matches =
        matchAll(c.pattern, c.subject, {.ignoreCase = true, .multiline = true, .global = c.global});
    ASSERT_TRUE(matches.has_value());
    EXPECT_EQ(replaceMatches(c.subject, *matches, c.replacement), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, Replacement, testing::ValuesIn(kReplaceCases), CaseName());

} // namespace
} // namespace ql::regex_detail
