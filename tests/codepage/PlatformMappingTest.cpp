// How the conversions treat what is not plain valid text: the platform's
// replacements, best-fit mappings, composition and invalid UTF-8.

#include "Hex.h"
#include "text/CodePage.h"

#include <gtest/gtest.h>

namespace ql {
namespace {

using test::fromHex;
using test::toHex;
using test::utf16le;

std::u16string unitsFromHex(std::string_view hex)
{
    const std::string bytes = fromHex(hex);
    std::u16string units;
    for (std::size_t k = 0; k + 1 < bytes.size(); k += 2)
        units.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[k]) << 8
                                              | static_cast<unsigned char>(bytes[k + 1])));
    return units;
}

struct MappingCase {
    const char* name;
    const char* input;    // hex bytes, or hex units written big-endian ("00C0 0301")
    const char* expected; // hex units or hex bytes
};

const MappingCase kGbkDecodeCases[] = {
    {"EuroSign", "80", "20AC"},
    {"ByteFF", "FF", "F8F5"},
    {"UserDefinedA147", "A1 47", "E4CD"},
    {"UserDefinedA2A0", "A2 A0", "E585"},
    {"UserDefinedA8BC", "A8 BC", "E7C7"},
    {"UserDefinedA8BF", "A8 BF", "E7C8"},
    {"LowTrailByte", "81 40", "4E02"},
    {"InvalidTrailIsReread", "81 30", "003F 0030"},
    {"LoneLeadAtEnd", "41 81", "0041 003F"},
    {"LeadBeforeZeroByte", "81 00 41", "003F 0000 0041"},
    {"LeadBeforeFF", "81 FF", "003F F8F5"},
    {"FullWidthSpace", "A1 A1", "3000"},
};

TEST(GbkDecoding, MatchesThePlatformTable)
{
    for (const auto& c : kGbkDecodeCases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(toHex(gbkToWide(fromHex(c.input))), c.expected);
    }
}

TEST(GbkDecoding, GbkToUtf16DecodesLikeGbkToWide)
{
    const std::string gbk = fromHex("80 FF A1 47 81 30 CC E2 81");
    std::u16string wide = gbkToWide(gbk);
    wide.push_back(u'\0');
    EXPECT_EQ(gbkToUtf16(Text(gbk)), utf16le(wide));
}

TEST(GbkDecoding, ReportsTheByteOffsetOfEachUnit)
{
    // "A", "题", "B", an invalid pair whose trail is read again, a lone lead.
    std::vector<std::int32_t> offsets;
    const std::u16string wide = gbkToWide(fromHex("41 CC E2 42 81 30 81"), &offsets);
    EXPECT_EQ(toHex(wide), "0041 9898 0042 003F 0030 003F");
    EXPECT_EQ(offsets, (std::vector<std::int32_t>{0, 1, 3, 4, 5, 6}));
}

const MappingCase kGbkEncodeCases[] = {
    {"BestFitAGrave", "00C0", "A8 A4"},
    {"BestFitAAcute", "00C1", "A8 A2"},
    {"BestFitAMacron", "0100", "A8 A1"},
    {"BestFitEMacron", "0112", "A8 A5"},
    {"BestFitYen", "00A5", "A3 A4"},
    {"HorizontalBar", "2015", "A8 44"},
    {"MiddleDot", "00B7", "A1 A4"},
    {"EuroSign", "20AC", "80"},
    {"PrivateUseF8F5", "F8F5", "FF"},
    {"CompatibilityIdeographKept", "F92C", "FD 9C"},
    {"SoftHyphen", "00AD", "2D"},
    {"ZeroWidthSpace", "200B", "3F"},
    {"WordJoiner", "2060", "3F"},
    {"ByteOrderMark", "FEFF", "3F"},
    {"VariationSelector", "FE0F", "3F"},
    {"HalfwidthLeftArrow", "FFE9", "3F"},
    {"HalfwidthUpArrow", "FFEA", "3F"},
    {"HalfwidthRightArrow", "FFEB", "3F"},
    {"HalfwidthDownArrow", "FFEC", "3F"},
    {"HalfwidthCircle", "FFEE", "3F"},
    {"SurrogatePairIsOneCharacter", "D83D DE00", "3F"},
    {"LoneHighSurrogate", "D83D 0061", "3F 61"},
    {"LoneLowSurrogate", "DE00", "3F"},
    {"ReversedPair", "DE00 D83D", "3F 3F"},
    {"Hangul", "AC00", "3F"},
};

TEST(GbkEncoding, MatchesThePlatformTable)
{
    for (const auto& c : kGbkEncodeCases) {
        SCOPED_TRACE(c.name);
        const std::u16string units = unitsFromHex(c.input);
        EXPECT_EQ(toHex(wideToGbk(units)), c.expected);
        EXPECT_EQ(toHex(utf16ToCodePage(utf16le(units), kCodePageGbk)), c.expected);
        EXPECT_EQ(toHex(utf16ToGbk(utf16le(units)).view()), c.expected);
    }
}

const MappingCase kCompositionCases[] = {
    {"EAcute", "0065 0301", "A8 A6"},
    {"AMacron", "0061 0304", "A8 A1"},
    {"UDiaeresisGrave", "00FC 0300", "A8 B8"}, // ǜ
    {"NoGbkFormStaysSeparate", "006D 0301", "6D 3F"},
    {"NGraveStaysSeparate", "006E 0300", "6E 3F"},
    {"OnlyTheFirstMarkJoins", "0065 0301 0301", "A8 A6 3F"},
    {"MarkAlone", "0301", "3F"},
    {"HangulSyllableNotInGbk", "1100 1161", "3F 3F"},
    {"CompatibilityIdeographNotNormalised", "F92C", "FD 9C"},
    {"SurrogateBaseNotComposed", "D83D DE00 0301", "3F 3F"},
};

TEST(GbkEncoding, ComposesBaseAndMarkOnlyForUtf16ToGbk)
{
    for (const auto& c : kCompositionCases) {
        SCOPED_TRACE(c.name);
        const std::u16string units = unitsFromHex(c.input);
        EXPECT_EQ(toHex(utf16ToGbk(utf16le(units)).view()), c.expected);
    }
    EXPECT_EQ(toHex(wideToGbk(unitsFromHex("0065 0301"))), "65 3F");
}

const MappingCase kUtf8DecodeCases[] = {
    {"LoneLead", "C0", "FFFD"},
    {"InvalidLeadThenOverlong", "C0 C0 80", "FFFD FFFD FFFD"},
    {"BadSecondByte", "E0 C0", "FFFD FFFD"},
    {"AsciiBetween", "E0 20 C0", "FFFD 0020 FFFD"},
    {"StrayContinuations", "82 A0 82 A2", "FFFD FFFD FFFD FFFD"},
    {"Truncated", "E6", "FFFD"},
    {"TruncatedTwoOfThree", "E6 97", "FFFD"},
    {"FiveByteForm", "F8 A3 A3 A3 A3", "FFFD FFFD FFFD FFFD FFFD"},
    {"ByteFF", "FF A3", "FFFD FFFD"},
    {"Overlong", "C0 80", "FFFD FFFD"},
    {"OverlongThreeBytes", "E0 80 80", "FFFD FFFD FFFD"},
    {"EncodedSurrogate", "ED A0 80", "FFFD FFFD FFFD"},
    {"BeyondUnicode", "F4 90 80 80", "FFFD FFFD FFFD FFFD"},
    {"CutFourByteThenAscii", "F0 9F 98 41", "FFFD 0041"},
    {"ByteOrderMarkKept", "EF BB BF 41", "FEFF 0041"},
    {"Supplementary", "F0 9F 98 80", "D83D DE00"},
    {"ValidAfterInvalid", "FF E9 A2 98", "FFFD 9898"},
};

TEST(Utf8Decoding, ReplacesEachMaximalInvalidSubpart)
{
    for (const auto& c : kUtf8DecodeCases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(toHex(utf8ToWide(fromHex(c.input))), c.expected);
        std::u16string terminated = unitsFromHex(c.expected);
        terminated.push_back(u'\0');
        EXPECT_EQ(codePageToUtf16(fromHex(c.input)), utf16le(terminated));
    }
}

const MappingCase kUtf8EncodeCases[] = {
    {"LoneHighSurrogate", "D800", "EF BF BD"},
    {"LoneLowSurrogate", "DC00 0041", "EF BF BD 41"},
    {"ReversedPair", "DC00 D800", "EF BF BD EF BF BD"},
    {"ByteOrderMark", "FEFF", "EF BB BF"},
    {"NoNormalisation", "0065 0301", "65 CC 81"},
    {"Supplementary", "D83D DE00", "F0 9F 98 80"},
};

TEST(Utf8Encoding, ReplacesLoneSurrogates)
{
    for (const auto& c : kUtf8EncodeCases) {
        SCOPED_TRACE(c.name);
        const std::u16string units = unitsFromHex(c.input);
        EXPECT_EQ(toHex(wideToUtf8(units)), c.expected);
        EXPECT_EQ(toHex(utf16ToCodePage(utf16le(units), kCodePageUtf8)), c.expected);
    }
}

} // namespace
} // namespace ql
