#include "http/CharsetDecoder.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace ql::http {
namespace {

struct CharsetCase {
    const char* name;
    const char* label;
    std::string bytes;
    std::optional<std::u16string> expected;
};

using namespace std::string_literals;

const CharsetCase kCases[] = {
    {"utf8", "utf-8", "\xE4\xBD\xA0", u"你"},
    {"utf8AnyCase", "UTF8", "A", u"A"},
    {"utf8DropsOneByteOrderMark", "utf-8", "\xEF\xBB\xBF\xEF\xBB\xBF" "A", u"\uFEFFA"},
    {"unicodeIsLittleEndian", "unicode", "A\0B\0"s, u"AB"},
    {"unicodeDropsByteOrderMark", "Unicode", "\xFF\xFE" "A\0"s, u"A"},
    {"utf16IsLittleEndian", "utf-16", "A\0"s, u"A"},
    {"unicodeFFFEIsBigEndian", "unicodeFFFE", "\xFE\xFF\0A"s, u"A"},
    {"big5", "big5", "\xA7\x41\xA6\x6E", u"你好"},
    // 0x8140 exists only in the full code page 936 table, not in GB2312.
    {"gb2312MeansCodePage936", "gb2312", "\x81\x40", u"丂"},
    {"chineseMeansCodePage936", "chinese", "\x81\x40", u"丂"},
    {"eucCnMeansCodePage936", "EUC-CN", "\x81\x40", u"丂"},
    {"csgb2312MeansCodePage936", "csGB2312", "\x81\x40", u"丂"},
    {"gbkUpperCase", "GBK", "\xC4\xE3", u"你"},
    {"latin1IsWindows1252", "latin1", "\x80\xE9", u"€é"},
    {"iso88591IsWindows1252", "ISO-8859-1", "\x80", u"€"},
    {"usAscii", "us-ascii", "abc", u"abc"},
    {"unknown", "x-no-such-charset", "abc", std::nullopt},
    {"empty", "", "abc", std::nullopt},
    {"converterOptionsRefused", "utf-8,swaplfnl", "abc", std::nullopt},
    {"pathRefused", "../utf-8", "abc", std::nullopt},
    {"tooLong", "utf-8-aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa", "abc", std::nullopt},
};

class DecodeCharsetTest : public ::testing::TestWithParam<CharsetCase> {};

TEST_P(DecodeCharsetTest, Decodes)
{
    EXPECT_EQ(decodeCharset(GetParam().label, GetParam().bytes), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Labels, DecodeCharsetTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(DecodeCharset, LargeInputDecodesWhole)
{
    const std::string bytes(100000, 'a');
    const auto decoded = decodeCharset("utf-8", bytes);
    ASSERT_TRUE(decoded);
    EXPECT_EQ(*decoded, std::u16string(100000, u'a'));
}

} // namespace
} // namespace ql::http
