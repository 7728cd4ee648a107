#include "text/TextOps.h"

#include <gtest/gtest.h>

#include <ostream>

namespace ql {
namespace {

struct CutCase {
    const char* name;
    friend void PrintTo(const CutCase& c, std::ostream* os) { *os << c.name; }
    Text (*cut)(const Text&, int);
    const char* text;
    int count;
    const char* expected;
};

class TextCutting : public testing::TestWithParam<CutCase> {};

TEST_P(TextCutting, KeepsTheExpectedBytes)
{
    const CutCase& c = GetParam();
    EXPECT_EQ(c.cut(Text(c.text), c.count), Text(c.expected));
}

INSTANTIATE_TEST_SUITE_P(
    LeftAndRight, TextCutting,
    testing::Values(CutCase{"LeftPart", textLeft, "abcdef", 2, "ab"},
                    CutCase{"LeftPastEnd", textLeft, "abc", 10, "abc"},
                    CutCase{"LeftZero", textLeft, "abc", 0, ""},
                    CutCase{"LeftNegative", textLeft, "abc", -3, ""},
                    // Cutting counts bytes and may split a double-byte character.
                    CutCase{"LeftHalfCharacter", textLeft, "\xCC\xE2" "a", 1, "\xCC"},
                    CutCase{"RightPart", textRight, "abcdef", 2, "ef"},
                    CutCase{"RightPastEnd", textRight, "abc", 10, "abc"},
                    CutCase{"RightZero", textRight, "abc", 0, ""},
                    CutCase{"RightNegative", textRight, "abc", -1, ""},
                    CutCase{"RightHalfCharacter", textRight, "a\xCC\xE2", 1, "\xE2"}),
    [](const auto& info) { return info.param.name; });

struct MidCase {
    const char* name;
    friend void PrintTo(const MidCase& c, std::ostream* os) { *os << c.name; }
    const char* text;
    int startPosition;
    int count;
    const char* expected;
};

class TextMid : public testing::TestWithParam<MidCase> {};

TEST_P(TextMid, KeepsTheExpectedBytes)
{
    const MidCase& c = GetParam();
    EXPECT_EQ(textMid(Text(c.text), c.startPosition, c.count), Text(c.expected));
}

INSTANTIATE_TEST_SUITE_P(
    Positions, TextMid,
    testing::Values(MidCase{"Middle", "abcdef", 2, 3, "bcd"},
                    MidCase{"FromFirstByte", "abcdef", 1, 2, "ab"},
                    MidCase{"LastByte", "abc", 3, 1, "c"},
                    MidCase{"LastByteLongCount", "abc", 3, 5, "c"},
                    MidCase{"OnePastEnd", "abc", 4, 1, ""},
                    MidCase{"CountCutAtEnd", "abcdef", 4, 100, "def"},
                    MidCase{"StartZero", "abc", 0, 2, ""},
                    MidCase{"StartNegative", "abc", -2, 2, ""},
                    MidCase{"CountZero", "abc", 1, 0, ""},
                    MidCase{"CountNegative", "abc", 1, -1, ""},
                    MidCase{"EmptyText", "", 1, 1, ""},
                    MidCase{"SecondByteOfCharacter", "\xCC\xE2\xC4\xBF", 2, 2, "\xE2\xC4"}),
    [](const auto& info) { return info.param.name; });

TEST(TextLength, CountsBytes)
{
    EXPECT_EQ(textLength(Text()), 0);
    EXPECT_EQ(textLength(Text("a\xCC\xE2")), 3);
}

TEST(BlankText, MakesSpacesOnlyForPositiveCounts)
{
    EXPECT_EQ(blankText(0), Text());
    EXPECT_EQ(blankText(-2), Text());
    EXPECT_EQ(blankText(3), Text("   "));
}

TEST(ConcatText, JoinsInOrder)
{
    EXPECT_EQ(concatText({"ab", "", "\xCC\xE2", "c"}), Text("ab\xCC\xE2" "c"));
    EXPECT_EQ(concatText({"", ""}), Text());
}

TEST(TextEquals, ComparesBytesExactly)
{
    EXPECT_TRUE(textEquals(Text(), Text("")));
    EXPECT_TRUE(textEquals(Text(static_cast<const char*>(nullptr)), Text()));
    EXPECT_TRUE(textEquals(Text("\xCC\xE2"), Text("\xCC\xE2")));
    EXPECT_FALSE(textEquals(Text("Set-Cookie"), Text("set-cookie")));
    EXPECT_FALSE(textEquals(Text("ab"), Text("abc")));
}

} // namespace
} // namespace ql
