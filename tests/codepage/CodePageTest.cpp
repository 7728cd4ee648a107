// The five conversions: lengths, terminators and where each one stops.

#include "Hex.h"
#include "text/CodePage.h"

#include <gtest/gtest.h>

namespace ql {
namespace {

using test::fromHex;
using test::toHex;

struct GbkToUtf16Case {
    const char* name;
    const char* gbk;
    bool dropTerminator;
    const char* expected;
};

const GbkToUtf16Case kGbkToUtf16Cases[] = {
    {"EmptyText", "", false, ""},
    {"EmptyTextDroppingTerminator", "", true, ""},
    {"OneLetter", "41", false, "41 00 00 00"},
    {"OneLetterDroppingTerminator", "41", true, "41 00"},
    {"DoubleByteCharacter", "CC E2", false, "98 98 00 00"},        // "题"
    {"Mixed", "CC E2 41", false, "98 98 41 00 00 00"},           // "题A"
    {"MixedDroppingTerminator", "41 CC E2", true, "41 00 98 98"}, // "A题"
};

TEST(GbkToUtf16, ConvertsWithTerminatorUnlessDropped)
{
    for (const auto& c : kGbkToUtf16Cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(toHex(gbkToUtf16(Text(fromHex(c.gbk)), c.dropTerminator).view()), c.expected);
    }
}

TEST(GbkToUtf16, EmptyResultReadsAsEmptyWideString)
{
    const Bytes wide = gbkToUtf16(Text());
    ASSERT_EQ(wide.size(), 0u);
    EXPECT_EQ(wide.data()[0], '\0');
    EXPECT_EQ(wide.data()[1], '\0');
}

struct ConversionCase {
    const char* name;
    const char* input;
    const char* expected;
};

const ConversionCase kUtf16ToGbkCases[] = {
    {"WithTerminator", "98 98 00 00", "CC E2"},
    {"WithoutTerminator", "98 98", "CC E2"},
    {"OddByteIgnored", "41 00 42", "41"},
    {"StopsAtZeroUnit", "41 00 00 00 42 00", "41"},
    {"Empty", "", ""},
    {"OneByteOnly", "41", ""},
    {"LeadingZeroUnit", "00 00 41 00", ""},
    {"ComposesBaseAndMark", "65 00 01 03", "A8 A6"}, // e + U+0301 -> é
};

TEST(Utf16ToGbk, ConvertsUnitsUpToTheFirstZeroUnit)
{
    for (const auto& c : kUtf16ToGbkCases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(toHex(utf16ToGbk(Bytes(fromHex(c.input))).view()), c.expected);
    }
}

struct CodePageToUtf16Case {
    const char* name;
    const char* text;
    int codePage;
    const char* expected;
};

const CodePageToUtf16Case kCodePageToUtf16Cases[] = {
    {"EmptyUtf8", "", kCodePageUtf8, "00 00"},
    {"EmptyGbk", "", kCodePageGbk, "00 00"},
    {"Utf8", "E9 A2 98", kCodePageUtf8, "98 98 00 00"}, // "题"
    {"Gbk", "CC E2", kCodePageGbk, "98 98 00 00"},
    {"AnsiIsGbk", "CC E2", kCodePageAnsi, "98 98 00 00"},
    {"StopsAtNul", "41 00 42", kCodePageUtf8, "41 00 00 00"},
    {"UnknownCodePage", "41", 12345, ""},
};

TEST(CodePageToUtf16, ConvertsUpToNulAndTerminates)
{
    for (const auto& c : kCodePageToUtf16Cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(toHex(codePageToUtf16(fromHex(c.text), c.codePage).view()), c.expected);
    }
}

TEST(CodePageToUtf16, DefaultsToUtf8)
{
    EXPECT_EQ(toHex(codePageToUtf16(fromHex("E9 A2 98")).view()), "98 98 00 00");
}

struct Utf16ToCodePageCase {
    const char* name;
    const char* utf16;
    int codePage;
    const char* expected;
};

const Utf16ToCodePageCase kUtf16ToCodePageCases[] = {
    {"Gbk", "98 98 00 00", kCodePageGbk, "CC E2"},
    {"WithoutZeroUnit", "98 98 41 00", kCodePageAnsi, "CC E2 41"},
    {"StopsAtZeroUnit", "98 98 00 00 41 00", kCodePageUtf8, "E9 A2 98"},
    {"Empty", "", kCodePageGbk, ""},
    {"OddByteIgnored", "41 00 42", kCodePageGbk, "41"},
    {"NoComposition", "65 00 01 03", kCodePageGbk, "65 3F"}, // e, then U+0301 unmapped
    {"UnknownCodePage", "41 00", 12345, ""},
};

TEST(Utf16ToCodePage, ConvertsUpToTheFirstZeroUnit)
{
    for (const auto& c : kUtf16ToCodePageCases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(toHex(utf16ToCodePage(Bytes(fromHex(c.utf16)), c.codePage)), c.expected);
    }
}

TEST(Utf16ToCodePage, DefaultsToAnsiCodePage)
{
    EXPECT_EQ(toHex(utf16ToCodePage(Bytes(fromHex("98 98")))), "CC E2");
}

TEST(Utf16ToCodePage, ReadsNothingBeyondTheData)
{
    // Heap-allocated to the exact length so that a read past it would be
    // reported by the address sanitizer.
    const std::string units = fromHex("98 98 41 00 98 98 41 00 98 98 41 00 98 98 41 00 98 98");
    const Bytes data(units.data(), units.size());
    EXPECT_EQ(toHex(utf16ToCodePage(data, kCodePageGbk)), "CC E2 41 CC E2 41 CC E2 41 CC E2 41 CC E2");
}

const ConversionCase kUtf8ToGbkCases[] = {
    {"DoubleByteCharacter", "E9 A2 98", "CC E2"},
    {"Empty", "", ""},
    {"Ascii", "69 64 3A 31 3C 62 72 3E", "69 64 3A 31 3C 62 72 3E"}, // "id:1<br>"
    {"StopsAtNul", "41 00 42", "41"},
    {"InvalidByte", "41 FF 42", "41 3F 42"}, // U+FFFD has no GBK form
    {"ByteOrderMark", "EF BB BF 41", "3F 41"},
    {"OutsideGbk", "F0 9F 98 80", "3F"}, // U+1F600
    {"BestFit", "C3 80", "A8 A4"},        // À -> à
};

TEST(Utf8ToGbk, ConvertsThroughUtf16)
{
    for (const auto& c : kUtf8ToGbkCases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(toHex(utf8ToGbk(fromHex(c.input)).view()), c.expected);
    }
}

} // namespace
} // namespace ql
