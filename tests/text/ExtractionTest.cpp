#include "text/Extraction.h"

#include <gtest/gtest.h>

#include <ostream>

namespace ql {
namespace {

struct BetweenCase {
    const char* name;
    friend void PrintTo(const BetweenCase& c, std::ostream* os) { *os << c.name; }
    const char* text;
    const char* left;
    const char* right;
    int startPosition;
    bool ignoreCase;
    const char* expected;
};

class TextBetween : public testing::TestWithParam<BetweenCase> {};

TEST_P(TextBetween, GivesTextBetweenMarkers)
{
    const BetweenCase& c = GetParam();
    EXPECT_EQ(textBetween(Text(c.text), Text(c.left), Text(c.right), c.startPosition, c.ignoreCase),
              Text(c.expected));
}

// "\xCC\xE2\xC4\xBF:" is "题目:" and "\x23\xD2\xFD\xBA\xC5" is "#引号".
INSTANTIATE_TEST_SUITE_P(
    Cases, TextBetween,
    testing::Values(
        BetweenCase{"QuestionId", "id:123\xCC\xE2\xC4\xBF:abc", "id:", "\xCC\xE2\xC4\xBF:", 0,
                    false, "123"},
        BetweenCase{"LeftMissing", "x=1;", "id:", ";", 0, false, ""},
        BetweenCase{"RightMissing", "id:123", "id:", ";", 0, false, ""},
        BetweenCase{"MarkersTouch", "id:;", "id:", ";", 0, false, ""},
        BetweenCase{"RightOnlyBeforeLeft", "; id:1", "id:", ";", 0, false, ""},
        BetweenCase{"FirstPair", "<b>1</b><b>2</b>", "<b>", "</b>", 0, false, "1"},
        BetweenCase{"FromStartPosition", "<b>1</b><b>2</b>", "<b>", "</b>", 5, false, "2"},
        BetweenCase{"NegativeStartMeansFirst", "<b>1</b>", "<b>", "</b>", -4, false, "1"},
        BetweenCase{"QuoteToken", "value=\"42\"", "value=\x23\xD2\xFD\xBA\xC5",
                    "\x23\xD2\xFD\xBA\xC5", 0, false, "42"},
        BetweenCase{"IgnoreCase", "id:7;", "ID:", ";", 0, true, "7"},
        BetweenCase{"ExactByDefault", "id:7;", "ID:", ";", 0, false, ""},
        BetweenCase{"EmptyRightMarker", "id:7;", "id:", "", 0, false, ""},
        BetweenCase{"EmptyLeftMarker", "abc;def", "", ";", 0, false, "abc"},
        BetweenCase{"EmptyLeftMarkerEmptyStretch", "abc;", "", ";", 5, false, ""},
        // The "i" of B0 69 is a second byte, so the marker starts later.
        BetweenCase{"MarkerNotInsideCharacter", "\xB0id:1;id:2;", "id:", ";", 0, false, "2"},
        BetweenCase{"CookieValue", "Set-Cookie: a=b; path=/", "Set-Cookie:", ";", 0, false,
                    " a=b"}),
    [](const auto& info) { return info.param.name; });

struct BatchCase {
    const char* name;
    friend void PrintTo(const BatchCase& c, std::ostream* os) { *os << c.name; }
    const char* text;
    int maxReplacements;
    bool limitReplacements;
    int startPosition;
    bool caseSensitive;
    const char* find1;
    const char* replacement1;
    const char* find2;
    const char* replacement2;
    const char* expected;
};

class BatchReplace : public testing::TestWithParam<BatchCase> {};

TEST_P(BatchReplace, AppliesPairsInOrder)
{
    const BatchCase& c = GetParam();
    EXPECT_EQ(batchReplace(Text(c.text), c.maxReplacements, c.limitReplacements, c.startPosition,
                           c.caseSensitive, Text(c.find1), Text(c.replacement1), Text(c.find2),
                           Text(c.replacement2)),
              Text(c.expected));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BatchReplace,
    testing::Values(
        BatchCase{"StripsTags", "<em>x</em>", 0, false, 0, false, "<em>", "", "</em>", "", "x"},
        BatchCase{"IgnoresCase", "<EM>x</EM>", 0, false, 0, false, "<em>", "", "</em>", "", "x"},
        BatchCase{"CaseSensitive", "<EM>x</EM>", 0, false, 0, true, "<em>", "", "</em>", "",
                  "<EM>x</EM>"},
        BatchCase{"LimitedToOne", "aaa", 1, true, 0, false, "a", "b", "", "", "baa"},
        BatchCase{"LimitIgnored", "aaa", 1, false, 0, false, "a", "b", "", "", "bbb"},
        BatchCase{"LimitZero", "aaa", 0, true, 0, false, "a", "b", "", "", "aaa"},
        BatchCase{"LimitNegativeReplacesAll", "aaa", -1, true, 0, false, "a", "b", "", "", "bbb"},
        BatchCase{"LaterPairSeesEarlierResult", "ab", 0, false, 0, false, "a", "b", "b", "c",
                  "cc"},
        BatchCase{"CountIsPerPair", "aabb", 1, true, 0, false, "a", "x", "b", "y", "xayb"},
        BatchCase{"FromStartPosition", "aaaa", 0, false, 3, false, "a", "b", "", "", "aabb"},
        BatchCase{"StartZeroIsWholeText", "aaaa", 0, false, 0, false, "a", "b", "", "", "bbbb"},
        BatchCase{"StartOneIsWholeText", "aaaa", 0, false, 1, false, "a", "b", "", "", "bbbb"},
        BatchCase{"RowCleanup", "id:12\xCC\xE2\xC4\xBF:Q", 80, true, 0, false, "id:", "", "12", "",
                  "\xCC\xE2\xC4\xBF:Q"}),
    [](const auto& info) { return info.param.name; });

TEST(BatchReplaceAllPairs, FivePairsRunInOrder)
{
    EXPECT_EQ(batchReplace(Text("a"), 0, false, 0, true, Text("a"), Text("b"), Text("b"),
                           Text("c"), Text("c"), Text("d"), Text("d"), Text("e"), Text("e"),
                           Text("f")),
              Text("f"));
}

} // namespace
} // namespace ql
