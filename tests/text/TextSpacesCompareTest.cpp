#include "text/TextOps.h"

#include <gtest/gtest.h>

#include <ostream>

namespace ql {
namespace {

struct SpacesCase {
    const char* name;
    friend void PrintTo(const SpacesCase& c, std::ostream* os) { *os << c.name; }
    const char* text;
    const char* expected;
};

class TrimSpaces : public testing::TestWithParam<SpacesCase> {};

TEST_P(TrimSpaces, CutsSpacesAtBothEnds)
{
    EXPECT_EQ(trimSpaces(Text(GetParam().text)), Text(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TrimSpaces,
    testing::Values(
        SpacesCase{"Empty", "", ""},
        SpacesCase{"AsciiSpaces", "  ab  ", "ab"},
        SpacesCase{"FullWidthSpaces", "\xA1\xA1" "ab\xA1\xA1", "ab"}, // A1 A1: full-width space
        SpacesCase{"MixedRuns", " \xA1\xA1 a \xA1\xA1 b \xA1\xA1 ", "a \xA1\xA1 b"},
        SpacesCase{"KeepsControlBytes", "\tab\r\n", "\tab\r\n"},
        SpacesCase{"OnlySpaces", " \xA1\xA1 ", ""},
        SpacesCase{"OtherPairIsNoSpace", "\xA1\xA2 a", "\xA1\xA2 a"},
        // B0 A1 | A1 20: the trailing 0x20 is a second byte, not a space.
        SpacesCase{"SpaceAsSecondByte", "\xB0\xA1\xA1 ", "\xB0\xA1\xA1 "},
        // A truncated last character is cut alone; the spaces before it stay.
        SpacesCase{"TruncatedEndKeepsSpaces", "ab  \xB0", "ab  "},
        SpacesCase{"TruncatedAfterLeadingSpaces", " \xA1", ""}),
    [](const auto& info) { return info.param.name; });

class RemoveSpaces : public testing::TestWithParam<SpacesCase> {};

TEST_P(RemoveSpaces, DropsEverySpace)
{
    EXPECT_EQ(removeSpaces(Text(GetParam().text)), Text(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RemoveSpaces,
    testing::Values(
        SpacesCase{"Empty", "", ""},
        SpacesCase{"Everywhere", " a \xA1\xA1" "b ", "ab"},
        SpacesCase{"KeepsOtherDoubleBytes", "\xCC\xE2 \xC4\xBF", "\xCC\xE2\xC4\xBF"},
        SpacesCase{"KeepsTabs", "a\tb\n", "a\tb\n"},
        SpacesCase{"SpaceAsSecondByte", "\xB0 x", "\xB0 x"},
        SpacesCase{"FullWidthAfterPairBoundary", "\xB0\xA1\xA1\xA1", "\xB0\xA1"},
        SpacesCase{"TruncatedEndDropped", "a b\xB0", "ab"}),
    [](const auto& info) { return info.param.name; });

struct CompareCase {
    const char* name;
    friend void PrintTo(const CompareCase& c, std::ostream* os) { *os << c.name; }
    const char* first;
    const char* second;
    bool caseSensitive;
    int expectedSign;
};

class CompareText : public testing::TestWithParam<CompareCase> {};

int sign(int value)
{
    return (value > 0) - (value < 0);
}

TEST_P(CompareText, OrdersByCharacters)
{
    const CompareCase& c = GetParam();
    EXPECT_EQ(sign(compareText(Text(c.first), Text(c.second), c.caseSensitive)), c.expectedSign);
    EXPECT_EQ(sign(compareText(Text(c.second), Text(c.first), c.caseSensitive)), -c.expectedSign);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CompareText,
    testing::Values(
        CompareCase{"BothEmpty", "", "", true, 0},
        CompareCase{"Equal", "abc", "abc", true, 0},
        CompareCase{"Less", "abc", "abd", true, -1},
        CompareCase{"PrefixFirst", "ab", "abc", true, -1},
        CompareCase{"EmptyFirst", "", "a", true, -1},
        CompareCase{"CaseMatters", "A", "a", true, -1},
        CompareCase{"DoubleByteAboveAscii", "\xCC\xE2", "z", true, 1},
        CompareCase{"DoubleByteValues", "\xCC\xE2", "\xCC\xE3", true, -1},
        CompareCase{"FoldsAscii", "Set-Cookie", "SET-COOKIE", false, 0},
        CompareCase{"FoldedStillOrders", "a", "B", false, -1},
        CompareCase{"FoldsFullWidthLatin", "\xA3\xE1", "\xA3\xC1", false, 0}, // a / A full-width
        CompareCase{"FoldsGreek", "\xA6\xC1", "\xA6\xA1", false, 0},          // alpha / Alpha
        CompareCase{"FoldsCyrillic", "\xA7\xD1", "\xA7\xA1", false, 0},       // a / A Cyrillic
        CompareCase{"FullWidthCaseSensitive", "\xA3\xE1", "\xA3\xC1", true, 1},
        // Folding is per character: the "a" inside B0 61 is no letter.
        CompareCase{"SecondByteNotFolded", "\xB0\x61", "\xB0\x41", false, 1},
        CompareCase{"TruncatedLastByte", "a\xB0", "a", false, 1}),
    [](const auto& info) { return info.param.name; });

} // namespace
} // namespace ql
