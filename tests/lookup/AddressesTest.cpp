#include "lookup/Addresses.h"

#include <gtest/gtest.h>

namespace ql::lookup {
namespace {

struct EncodingCase {
    const char* name;
    Text question; // GBK
    std::string expected;
};

class QuestionEncoding : public ::testing::TestWithParam<EncodingCase> {};

TEST_P(QuestionEncoding, ReachesTheServerAsTyped)
{
    EXPECT_EQ(percentEncodeAsUtf8(GetParam().question), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, QuestionEncoding,
    ::testing::Values(
        EncodingCase{"Empty", "", ""},
        EncodingCase{"UnreservedKept", "AZaz09-._~", "AZaz09-._~"},
        EncodingCase{"PlusIsNotABlank", "1+1=?", "1%2B1%3D%3F"},
        EncodingCase{"AmpersandStartsNoNewKey", "a&b", "a%26b"},
        EncodingCase{"HashIsNoFragment", "C#", "C%23"},
        EncodingCase{"PercentIsNoEscape", "50%", "50%25"},
        EncodingCase{"Blanks", "a b\tc", "a%20b%09c"},
        EncodingCase{"SlashAndQuote", "/\"'", "%2F%22%27"},
        EncodingCase{"ChineseAsUtf8", "\xD6\xD0\xCE\xC4", "%E4%B8%AD%E6%96%87"}, // "中文"
        EncodingCase{"FullWidthColon", "\xA3\xBA", "%EF%BC%9A"}),              // "："
    [](const auto& info) { return std::string(info.param.name); });

TEST(SearchAddress, IsPrefixHostPathAndEncodedQuestion)
{
    EXPECT_EQ(searchAddress("qb.example:8080", "a b"),
              Text("http://qb.example:8080/qwg/chazhao.php?w=a%20b"));
    EXPECT_EQ(searchAddress("qb.example", ""), Text("http://qb.example/qwg/chazhao.php?w="));
}

TEST(AnswerAddress, AppendsTheIdUnchanged)
{
    EXPECT_EQ(answerAddress("qb.example:8080", "1001"),
              Text("http://qb.example:8080/qwg/indexchaxun.php?id=1001"));
    EXPECT_EQ(answerAddress("qb.example", ""), Text("http://qb.example/qwg/indexchaxun.php?id="));
}

TEST(ConfiguredHost, IsNotEmpty)
{
    EXPECT_FALSE(configuredQuestionBankHost().empty());
}

} // namespace
} // namespace ql::lookup
