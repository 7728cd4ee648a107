#include "text/TextOps.h"

#include <gtest/gtest.h>

#include <ostream>

#include <optional>
#include <string>
#include <vector>

namespace ql {
namespace {

constexpr std::optional<int> kLeftOut = std::nullopt;

// ---- findText --------------------------------------------------------------

struct FindCase {
    const char* name;
    friend void PrintTo(const FindCase& c, std::ostream* os) { *os << c.name; }
    const char* text;
    const char* sought;
    std::optional<int> startPosition;
    bool ignoreCase;
    int expected;
};

class FindText : public testing::TestWithParam<FindCase> {};

TEST_P(FindText, ReportsPositionOfFirstOccurrence)
{
    const FindCase& c = GetParam();
    EXPECT_EQ(findText(Text(c.text), Text(c.sought), c.startPosition, c.ignoreCase), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FindText,
    testing::Values(
        FindCase{"EmptyText", "", "a", kLeftOut, false, -1},
        FindCase{"Plain", "abcabc", "ca", kLeftOut, false, 3},
        FindCase{"Missing", "abc", "d", kLeftOut, false, -1},
        FindCase{"LongerThanText", "ab", "abc", kLeftOut, false, -1},
        FindCase{"FromStartPosition", "abab", "ab", 2, false, 3},
        FindCase{"StartAtLastByte", "abc", "c", 3, false, 3},
        FindCase{"StartPastEnd", "abc", "a", 4, false, -1},
        FindCase{"StartFarPastEnd", "abc", "c", 99, false, -1},
        FindCase{"StartZeroMeansFirst", "abc", "a", 0, false, 1},
        FindCase{"StartNegativeMeansFirst", "abc", "a", -5, false, 1},
        FindCase{"EmptySoughtGivesOne", "abcdefg", "", 5, false, 1},
        FindCase{"EmptySoughtOverEmptyStretch", "abc", "", 4, false, -1},
        FindCase{"EmptySoughtInEmptyText", "", "", kLeftOut, false, -1},
        // 0xB0 0x61 is one character: its "a" is a second byte.
        FindCase{"OnlyAsSecondByte", "\xB0" "ab", "a", kLeftOut, false, -1},
        FindCase{"IdAfterSecondByteI", "\xB0" "id:", "id:", kLeftOut, false, -1},
        FindCase{"IdAfterSecondByteThenReal", "\xB0" "id:id:", "id:", kLeftOut, false, 5},
        FindCase{"AfterDoubleByteCharacter", "\xCC\xE2" "id:", "id:", kLeftOut, false, 3},
        FindCase{"HighPairsAlignFromStart", "\xB0\xA1\xA1\xA1", "\xA1\xA1", kLeftOut, false, 3},
        FindCase{"EvenRunOfHighBytes", "\xA1\xA1\xA1\xA1", "\xA1\xA1", kLeftOut, false, 1},
        // The walk starts at startPosition even inside a character.
        FindCase{"WalkStartsMidCharacter", "\xA1\xA1\xA1\xA1", "\xA1\xA1", 2, false, 2},
        FindCase{"SecondByteReachedFromStart", "\xCC\xE2" "a", "\xE2" "a", 2, false, 2},
        FindCase{"SecondByteNotReachedFromFirst", "\xCC\xE2" "a", "\xE2" "a", kLeftOut, false, -1},
        FindCase{"TruncatedLastByte", "ab\xB0", "\xB0", kLeftOut, false, 3},
        FindCase{"NeedleEndingInLeadByte", "a\xB0\xA1", "a\xB0", kLeftOut, false, 1},
        FindCase{"IgnoreCaseFindsLowerCase", "x: set-cookie: a", "Set-Cookie", kLeftOut, true, 4},
        FindCase{"ExactCaseMissesLowerCase", "x: set-cookie: a", "Set-Cookie", kLeftOut, false, -1},
        // ASCII folding applies to second bytes too, and to nothing else.
        FindCase{"FoldsSecondBytes", "\xB0\x41", "\xB0\x61", kLeftOut, true, 1},
        FindCase{"ExactSecondBytes", "\xB0\x41", "\xB0\x61", kLeftOut, false, -1},
        FindCase{"NoFullWidthFolding", "\xA3\xC1", "\xA3\xE1", kLeftOut, true, -1},
        FindCase{"IgnoreCaseStillSkipsSecondBytes", "\xB0" "Id:", "id:", kLeftOut, true, -1}),
    [](const auto& info) { return info.param.name; });

// ---- replaceText -----------------------------------------------------------

struct ReplaceCase {
    const char* name;
    friend void PrintTo(const ReplaceCase& c, std::ostream* os) { *os << c.name; }
    const char* text;
    const char* sought;
    std::optional<const char*> replacement;
    std::optional<int> startPosition;
    std::optional<int> maxReplacements;
    bool caseSensitive;
    const char* expected;
};

class ReplaceText : public testing::TestWithParam<ReplaceCase> {};

TEST_P(ReplaceText, RewritesOccurrences)
{
    const ReplaceCase& c = GetParam();
    const Text result =
        c.replacement ? replaceText(Text(c.text), Text(c.sought), Text(*c.replacement),
                                    c.startPosition, c.maxReplacements, c.caseSensitive)
                      : replaceText(Text(c.text), Text(c.sought));
    EXPECT_EQ(result, Text(c.expected));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReplaceText,
    testing::Values(
        ReplaceCase{"All", "aaa", "a", "b", kLeftOut, kLeftOut, true, "bbb"},
        ReplaceCase{"LimitOne", "aaa", "a", "b", kLeftOut, 1, true, "baa"},
        ReplaceCase{"LimitZeroChangesNothing", "aaa", "a", "b", kLeftOut, 0, true, "aaa"},
        ReplaceCase{"NegativeLimitReplacesAll", "aaa", "a", "b", kLeftOut, -1, true, "bbb"},
        ReplaceCase{"LimitFromStartPosition", "aaa", "a", "b", 2, 1, true, "aba"},
        ReplaceCase{"StartPastEnd", "abc", "c", "x", 4, kLeftOut, true, "abc"},
        ReplaceCase{"StartZero", "abc", "a", "x", 0, kLeftOut, true, "xbc"},
        ReplaceCase{"StartNegative", "abc", "a", "x", -3, kLeftOut, true, "xbc"},
        ReplaceCase{"EmptyText", "", "a", "x", kLeftOut, kLeftOut, true, ""},
        ReplaceCase{"EmptySought", "abc", "", "x", kLeftOut, kLeftOut, true, "abc"},
        ReplaceCase{"ReplacementNotSearchedAgain", "aba", "a", "aa", kLeftOut, kLeftOut, true,
                    "aabaa"},
        ReplaceCase{"LeftOutReplacementDeletes", "Set-Cookie: a=b", "set-cookie:", std::nullopt,
                    kLeftOut, kLeftOut, false, " a=b"},
        ReplaceCase{"CaseVariantsRewritten", "SET-cookie; set-COOKIE", "Set-Cookie", "Set-Cookie",
                    kLeftOut, kLeftOut, false, "Set-Cookie; Set-Cookie"},
        ReplaceCase{"CaseSensitiveKeepsVariants", "SET-cookie", "Set-Cookie", "x", kLeftOut,
                    kLeftOut, true, "SET-cookie"},
        ReplaceCase{"SecondByteNotReplaced", "\xB0" "ab", "a", "x", kLeftOut, kLeftOut, true,
                    "\xB0" "ab"},
        ReplaceCase{"DoubleByteNeedle", "a\xCC\xE2" "b\xCC\xE2", "\xCC\xE2", "-", kLeftOut,
                    kLeftOut, true, "a-b-"},
        ReplaceCase{"WalkStartsMidCharacter", "\xCC\xE2" "a\xE2" "a", "\xE2" "a", "X", 2, kLeftOut,
                    true, "\xCC" "XX"},
        // A truncated last character that the walk steps over is dropped;
        // the walk only reaches it for a one-byte search text.
        ReplaceCase{"TruncatedDroppedOneByteNeedle", "ab\xB0", "x", "y", kLeftOut, kLeftOut, true,
                    "ab"},
        ReplaceCase{"TruncatedKeptLongerNeedle", "ab\xB0", "xy", "z", kLeftOut, kLeftOut, true,
                    "ab\xB0"},
        ReplaceCase{"TruncatedMatched", "ab\xB0", "\xB0", "z", kLeftOut, kLeftOut, true, "abz"},
        ReplaceCase{"TruncatedKeptAfterLimit", "aab\xB0", "a", "c", kLeftOut, 1, true,
                    "cab\xB0"},
        ReplaceCase{"TrailingPairNotTruncated", "a\xB0\xB0", "x", "y", kLeftOut, kLeftOut, true,
                    "a\xB0\xB0"},
        // After a match the walk goes on right behind it: B0 | A1A1 | A1.
        ReplaceCase{"WalkRealignsAfterMatch", "\xB0\xA1\xA1\xA1", "\xB0", "x", kLeftOut, kLeftOut,
                    true, "x\xA1\xA1"}),
    [](const auto& info) { return info.param.name; });

TEST(ReplaceTextDefaults, IgnoreCaseAndReplaceAll)
{
    EXPECT_EQ(replaceText(Text("A-a-A"), Text("a"), Text("b")), Text("b-b-b"));
}

// ---- splitText -------------------------------------------------------------

struct SplitCase {
    const char* name;
    friend void PrintTo(const SplitCase& c, std::ostream* os) { *os << c.name; }
    const char* text;
    const char* delimiter;
    std::vector<std::string> expected;
};

class SplitText : public testing::TestWithParam<SplitCase> {};

TEST_P(SplitText, GivesPiecesBetweenDelimiters)
{
    const SplitCase& c = GetParam();
    std::vector<std::string> pieces;
    for (const Text& piece : splitText(Text(c.text), Text(c.delimiter)))
        pieces.push_back(piece.str());
    EXPECT_EQ(pieces, c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SplitText,
    testing::Values(
        SplitCase{"EmptyText", "", "<br>", {}},
        SplitCase{"EmptyDelimiter", "a<br>b", "", {"a<br>b"}},
        SplitCase{"NoDelimiter", "abc", "<br>", {"abc"}},
        SplitCase{"Two", "a<br>b", "<br>", {"a", "b"}},
        SplitCase{"TrailingDelimiterAddsNothing", "a<br>b<br>", "<br>", {"a", "b"}},
        SplitCase{"LeadingDelimiter", "<br>a", "<br>", {"", "a"}},
        SplitCase{"AdjacentDelimiters", "a<br><br>b", "<br>", {"a", "", "b"}},
        SplitCase{"OnlyDelimiter", "<br>", "<br>", {""}},
        SplitCase{"LetterCaseMatters", "a<BR>b", "<br>", {"a<BR>b"}},
        // 0xB0 0x3C is one character: its "<" is a second byte.
        SplitCase{"NotInsideCharacter", "\xB0<br>x", "<br>", {"\xB0<br>x"}},
        SplitCase{"AfterDoubleByte", "\xCC\xE2<br>\xC4\xBF", "<br>", {"\xCC\xE2", "\xC4\xBF"}},
        SplitCase{"TruncatedLastByteKept", "x<br>y\xB0", "<br>", {"x", "y\xB0"}},
        SplitCase{"TruncatedLastByteAsDelimiter", "a\xB0", "\xB0", {"a"}},
        SplitCase{"WalkRealignsAfterDelimiter", "a\xB0\xB0\xB0" "b", "\xB0", {"a", "", "", "b"}}),
    [](const auto& info) { return info.param.name; });

} // namespace
} // namespace ql
