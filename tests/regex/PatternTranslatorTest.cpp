#include "regex/PatternTranslator.h"

#include "CaseName.h"

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>

namespace ql::regex_detail {
namespace {

constexpr const char16_t* kRejected = nullptr;

struct TranslationCase {
    const char* name;
    friend void PrintTo(const TranslationCase& c, std::ostream* os) { *os << c.name; }
    const char16_t* pattern;
    bool multiline;
    const char16_t* expected; // kRejected: the pattern is refused
};

const TranslationCase kTranslationCases[] = {
    {"PlainTextUnchanged", u"<meta.+?charset=[^\\w]?([-\\w]+)", true, u"<meta.+?charset=[^\\w]?([-\\w]+)"},
    {"NonAsciiUnchanged", u"\u9898\u76ee:(\\d+)", true, u"\u9898\u76ee:(\\d+)"},
    {"CaretMultiline", u"^x", true, u"(?:\\A|(?<=[\\n\\r]))x"},
    {"DollarMultiline", u"x$", true, u"x(?=[\\n\\r]|\\z)"},
    {"CaretSingleLine", u"^x", false, u"\\Ax"},
    {"DollarSingleLine", u"x$", false, u"x\\z"},
    {"EscapedAnchorsStayLiteral", u"\\^\\$", true, u"\\^\\$"},
    {"AnchorsInsideClassStayLiteral", u"[$^]", true, u"[$^]"},
    {"NegatedClassThenAnchor", u"[^$]$", false, u"[^$]\\z"},
    {"EscapedBracketKeepsClassOpen", u"[\\]$]$", false, u"[\\]$]\\z"},
    {"EmptyClassClosesAtOnce", u"[]$", false, u"[]\\z"},
    {"BracketInsideClassIsPlain", u"[[:alpha:]]", true, u"[\\[:alpha:]]"},
    {"NonCapturingAndLookahead", u"(?:a)(?=b)(?!c)", true, u"(?:a)(?=b)(?!c)"},
    {"BackreferenceAfterGroup", u"(a)\\1", true, u"(a)\\g{1}"},
    {"OctalWithoutGroup", u"a\\1", true, u"a\\x01"},
    {"ForwardReferenceIsOctal", u"\\1(a)", true, u"\\x01(a)"},
    {"TwoDigitBackreference", u"(a)(b)(c)(d)(e)(f)(g)(h)(i)(j)(k)(l)\\12",
     true, u"(a)(b)(c)(d)(e)(f)(g)(h)(i)(j)(k)(l)\\g{12}"},
    {"OneDigitBackreferenceThenDigit", u"(a)\\12", true, u"(a)\\g{1}2"},
    {"TwoDigitOctal", u"\\12", true, u"\\x0a"},
    {"ThreeDigitOctal", u"\\101", true, u"\\x41"},
    {"OctalStopsAt0377", u"\\477", true, u"\\x277"},
    {"OctalZero", u"\\0", true, u"\\x00"},
    {"EightAndNineAreDigits", u"\\8\\9", true, u"89"},
    {"EightAfterGroupIsBackreference", u"(a)(b)(c)(d)(e)(f)(g)(h)\\8",
     true, u"(a)(b)(c)(d)(e)(f)(g)(h)\\g{8}"},
    {"OctalInsideClass", u"(a)[\\1]", true, u"(a)[\\x01]"},
    {"ControlLetter", u"\\cJ", true, u"\\cJ"},
    {"ControlNonLetterIsC", u"\\c1", true, u"c1"},
    {"ControlAtEndIsC", u"\\c", true, u"c"},
    {"VerticalTab", u"\\v[\\v]", true, u"\\x0b[\\x0b]"},
    {"SharedEscapes", u"\\b\\B\\d\\D\\s\\S\\w\\W\\f\\n\\r\\t\\x41\\u0041",
     true, u"\\b\\B\\d\\D\\s\\S\\w\\W\\f\\n\\r\\t\\x41\\u0041"},
    {"UnknownLetterEscapeIsLetter", u"\\q\\y\\L\\U", true, u"qyLU"},
    {"NonWordBoundaryInClassIsLetter", u"[\\B]", true, u"[B]"},
    {"EscapedSymbols", u"\\$\\&\\.\\\\", true, u"\\$\\&\\.\\\\"},
    {"BraceQuantifiers", u"a{2}b{1,}c{1,3}?", true, u"a{2}b{1,}c{1,3}?"},
    {"LiteralBraces", u"{x}a{,3}", true, u"\\{x}a\\{,3}"},
    {"LazyQuantifiers", u"a*?b+?c??", true, u"a*?b+?c??"},

    {"Lookbehind", u"(?<=a)b", true, kRejected},
    {"NegativeLookbehind", u"(?<!a)b", true, kRejected},
    {"NamedGroup", u"(?<n>a)", true, kRejected},
    {"NamedGroupP", u"(?P<n>a)", true, kRejected},
    {"InlineFlags", u"(?i)a", true, kRejected},
    {"AtomicGroup", u"(?>a)", true, kRejected},
    {"Comment", u"(?#note)a", true, kRejected},
    {"Verb", u"(*FAIL)", true, kRejected},
    {"StartOption", u"(*UTF)a", true, kRejected},
    {"PossessiveStar", u"a*+", true, kRejected},
    {"PossessivePlus", u"a++", true, kRejected},
    {"PossessiveQuestion", u"a?+", true, kRejected},
    {"PossessiveBrace", u"a{2}+", true, kRejected},
    {"LazyThenPlus", u"a*?+", true, kRejected},
    {"StartOfSubject", u"\\Aa", true, kRejected},
    {"EndOfSubject", u"a\\z", true, kRejected},
    {"EndBeforeNewline", u"a\\Z", true, kRejected},
    {"MatchStart", u"\\Ga", true, kRejected},
    {"UnicodeProperty", u"\\p{L}", true, kRejected},
    {"NegatedUnicodeProperty", u"\\P{L}", true, kRejected},
    {"ResetStart", u"a\\Kb", true, kRejected},
    {"Quoting", u"\\Q.\\E", true, kRejected},
    {"NamedReference", u"(a)\\k<n>", true, kRejected},
    {"RelativeReference", u"(a)\\g{-1}", true, kRejected},
    {"HorizontalSpace", u"\\h", true, kRejected},
    {"TrailingBackslash", u"a\\", true, kRejected},
    {"ForeignEscapeInClass", u"[\\p{L}]", true, kRejected},
};

class PatternTranslation : public testing::TestWithParam<TranslationCase> {};

TEST_P(PatternTranslation, Translates)
{
    const TranslationCase& c = GetParam();
    const std::optional<std::u16string> translated = translatePattern(c.pattern, c.multiline);
    if (c.expected == kRejected)
        EXPECT_FALSE(translated.has_value());
    else {
        ASSERT_TRUE(translated.has_value());
        EXPECT_EQ(*translated, std::u16string(c.expected));
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, PatternTranslation, testing::ValuesIn(kTranslationCases), CaseName());

} // namespace
} // namespace ql::regex_detail
