// The result text: the GBK reading of the body, or its decoding from the
// charset a meta tag in the first 1024 bytes declares.

#include "http/PumpMessages.h"
#include "http/ResponseDecoder.h"

#include <gtest/gtest.h>

#include <string>

namespace ql::http {
namespace {

const std::string kNiHaoGbk = "\xC4\xE3\xBA\xC3";       // "你好" in GBK
const std::string kNiHaoUtf8 = "\xE4\xBD\xA0\xE5\xA5\xBD"; // "你好" in UTF-8
const std::string kNiHaoBig5 = "\xA7\x41\xA6\x6E";       // "你好" in Big5
const std::string kInvalidGbkPair = "\x81\x30";          // a lead byte with a bad trail byte

struct DecodeCase {
    const char* name;
    std::string body;
    std::string expected;
};

const std::string kPadding(1024, 'x');

const DecodeCase kCases[] = {
    {"noMeta", "<html>" + kNiHaoGbk + "</html>", "<html>" + kNiHaoGbk + "</html>"},
    {"metaWithoutCharset", "<meta name=a>" + kNiHaoGbk, "<meta name=a>" + kNiHaoGbk},
    {"utf8", "<meta charset=utf-8>" + kNiHaoUtf8, "<meta charset=utf-8>" + kNiHaoGbk},
    {"doubleQuoted", "<meta charset=\"utf-8\">" + kNiHaoUtf8, "<meta charset=\"utf-8\">" + kNiHaoGbk},
    {"singleQuoted", "<meta charset='utf-8'>" + kNiHaoUtf8, "<meta charset='utf-8'>" + kNiHaoGbk},
    {"upperCaseTag", "<META CHARSET=UTF-8>" + kNiHaoUtf8, "<META CHARSET=UTF-8>" + kNiHaoGbk},
    {"contentAttributeBig5",
     "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=big5\">" + kNiHaoBig5,
     "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=big5\">" + kNiHaoGbk},
    // The two native names in lower case skip the decoder, so even bytes
    // that are not valid GBK stay as they are.
    {"lowerGbkSkipsDecoder", "<meta charset=gbk>" + kInvalidGbkPair, "<meta charset=gbk>" + kInvalidGbkPair},
    {"lowerGb2312SkipsDecoder", "<meta charset=gb2312>" + kInvalidGbkPair,
     "<meta charset=gb2312>" + kInvalidGbkPair},
    {"upperGbkReadsTheSameTable", "<meta charset=GBK>" + kNiHaoGbk, "<meta charset=GBK>" + kNiHaoGbk},
    {"metaAfterByte1024IsNotSeen", kPadding + "<meta charset=utf-8>" + kNiHaoUtf8,
     kPadding + "<meta charset=utf-8>" + kNiHaoUtf8},
    {"unknownCharsetKeepsGbkReading", "<meta charset=x-no-such-charset>" + kNiHaoGbk,
     "<meta charset=x-no-such-charset>" + kNiHaoGbk},
    {"utf8ByteOrderMarkDropped", "\xEF\xBB\xBF<meta charset=utf-8>" + kNiHaoUtf8,
     "<meta charset=utf-8>" + kNiHaoGbk},
    // Read as windows-1252, where 0x80 is the euro sign (GBK 0x80).
    {"latin1IsWindows1252", "<meta charset=iso-8859-1>\x80", "<meta charset=iso-8859-1>\x80"},
    {"zeroByteEndsTheGbkReading", std::string("ab\0cd", 5), "ab"},
};

class DecodeResponseTextTest : public ::testing::TestWithParam<DecodeCase> {
protected:
    void SetUp() override { setPumpMessagesHook([this] { ++pumps; }); }
    void TearDown() override { setPumpMessagesHook(nullptr); }
    int pumps = 0;
};

TEST_P(DecodeResponseTextTest, DecodesByTheDeclaredCharset)
{
    RegexObject charsetFinder;
    const Text result = decodeResponseText(Bytes(GetParam().body), charsetFinder);
    EXPECT_EQ(result.str(), GetParam().expected);
    EXPECT_EQ(pumps, 1);
}

INSTANTIATE_TEST_SUITE_P(Cases, DecodeResponseTextTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(DecodeResponseText, UpperCaseGbkGoesThroughTheDecoder)
{
    RegexObject charsetFinder;
    const std::string body = "<meta charset=GBK>" + kInvalidGbkPair;
    EXPECT_NE(decodeResponseText(Bytes(body), charsetFinder).str(), body);
}

TEST(DecodeResponseText, EmptyBodyGivesEmptyText)
{
    RegexObject charsetFinder;
    EXPECT_EQ(decodeResponseText(Bytes(), charsetFinder), Text());
}

} // namespace
} // namespace ql::http
