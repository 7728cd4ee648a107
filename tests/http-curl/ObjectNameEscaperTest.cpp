#include "http/ObjectNameEscaper.h"

#include <gtest/gtest.h>

namespace ql::http {
namespace {

struct EscapeCase {
    const char* name;
    std::u16string_view objectName;
    std::string_view wire;
};

const EscapeCase kEscapeCases[] = {
    {"PlainPathUnchanged", u"/a/b.php?x=1&y=2", "/a/b.php?x=1&y=2"},
    {"WindowsReferenceString",
     u"/escape\r\n\x1f\x7f< %one?\x1f\x7f !\"#$%&'()*+,-./:;<=>?@[\\]^_`{|}~\r\n",
     "/escape%0D%0A%1F%7F%3C%20%one?%1F%7F%20!%22%23$%&'()*+,-./:;%3C=%3E?@%5B%5C%5D%5E_%60%7B%7C%7D~%0D%0A"},
    {"FirstNonAsciiCharacter", u"/\u0080", "/%C2%80"},
    {"ChineseAsUtf8", u"/q?w=\u9898\u76EE", "/q?w=%E9%A2%98%E7%9B%AE"},
    {"SurrogatePair", u"/\U0001F600", "/%F0%9F%98%80"},
    {"PercentKept", u"/a%20b%zz", "/a%20b%zz"},
    {"FragmentSent", u"/p#frag", "/p%23frag"},
    {"NulEscaped", std::u16string_view(u"/a\0b", 4), "/a%00b"},
    {"DotSegmentsKept", u"/a/../b/./c", "/a/../b/./c"},
};

class ObjectNameEscaperTest : public ::testing::TestWithParam<EscapeCase> {};

TEST_P(ObjectNameEscaperTest, EscapesLikeWinHttp)
{
    EXPECT_EQ(escapeObjectName(GetParam().objectName), GetParam().wire);
}

INSTANTIATE_TEST_SUITE_P(Cases, ObjectNameEscaperTest, ::testing::ValuesIn(kEscapeCases),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace ql::http
