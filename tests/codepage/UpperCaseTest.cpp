#include "Hex.h"
#include "text/CodePage.h"

#include <gtest/gtest.h>

namespace ql {
namespace {

using test::fromHex;
using test::toHex;

struct UpperCaseCase {
    const char* name;
    const char* character;
    const char* expected;
};

const UpperCaseCase kUpperCaseCases[] = {
    {"AsciiLetter", "61", "41"},
    {"AsciiCapital", "5A", "5A"},
    {"AsciiDigit", "31", "31"},
    {"FullWidthLatin", "A3 E1", "A3 C1"}, // ａ -> Ａ
    {"Greek", "A6 C1", "A6 A1"},          // α -> Α
    {"Cyrillic", "A7 D1", "A7 A1"},       // а -> А
    {"CapitalOutsideGbkKept", "A8 BB", "A8 BB"}, // ɑ, capital U+2C6D
    {"ScriptGKept", "A8 C0", "A8 C0"},          // ɡ, capital U+A7AC
    {"NAcuteKept", "A8 BD", "A8 BD"},           // ń, capital U+0143
    {"AMacronBestFitsBack", "A8 A1", "A8 A1"},  // ā
    {"EAcuteBestFitsBack", "A8 A6", "A8 A6"},   // é
    {"Ideograph", "CC E2", "CC E2"},            // 题
    {"EuroSign", "80", "80"},
    {"LoneLeadByte", "81", "81"},
    {"InvalidPair", "81 30", "81 30"},
    {"Empty", "", ""},
};

TEST(UpperCaseGbkCharacter, FoldsThroughTheSystemMappingKeepingLength)
{
    for (const auto& c : kUpperCaseCases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(toHex(upperCaseGbkCharacter(fromHex(c.character))), c.expected);
    }
}

} // namespace
} // namespace ql
