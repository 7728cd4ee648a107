#include "http/ResponseHeaderBlock.h"

#include <gtest/gtest.h>

#include <vector>

namespace ql::http {
namespace {

struct BlockCase {
    const char* name;
    std::vector<std::string_view> lines; // as curl hands them over
    bool complete;
    int status;
    std::string_view text;
};

const BlockCase kBlockCases[] = {
    {"RebuildsLines", {"HTTP/1.1 200 OK\r\n", "Content-Type:text/html\r\n", "X-A:    b\r\n", "\r\n"}, true, 200,
     "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nX-A: b\r\n\r\n"},
    {"BareLineFeeds", {"HTTP/1.1 404 Not Found\n", "A: 1\n", "\n"}, true, 404,
     "HTTP/1.1 404 Not Found\r\nA: 1\r\n\r\n"},
    {"SkipsContinue", {"HTTP/1.1 100 Continue\r\n", "X: y\r\n", "\r\n", "HTTP/1.1 201 Created\r\n", "\r\n"}, true,
     201, "HTTP/1.1 201 Created\r\n\r\n"},
    {"NewStatusLineStartsAfresh", {"HTTP/1.1 302 Found\r\n", "Location: /x\r\n", "\r\n", "HTTP/1.1 200 OK\r\n", "\r\n"},
     true, 200, "HTTP/1.1 200 OK\r\n\r\n"},
    {"IncompleteUntilBlankLine", {"HTTP/1.1 200 OK\r\n", "A: 1\r\n"}, false, 200, "HTTP/1.1 200 OK\r\nA: 1\r\n"},
    {"FoldedLineKept", {"HTTP/1.1 200 OK\r\n", "A: 1\r\n", " more\r\n", "\r\n"}, true, 200,
     "HTTP/1.1 200 OK\r\nA: 1\r\n more\r\n\r\n"},
    {"EmptyValue", {"HTTP/1.0 204 No Content\r\n", "X-Empty:\r\n", "\r\n"}, true, 204,
     "HTTP/1.0 204 No Content\r\nX-Empty: \r\n\r\n"},
    {"GbkBytesUntouched", {"HTTP/1.1 200 OK\r\n", "X-Q: \xCC\xE2\r\n", "\r\n"}, true, 200,
     "HTTP/1.1 200 OK\r\nX-Q: \xCC\xE2\r\n\r\n"}, // "题"
};

class ResponseHeaderBlockTest : public ::testing::TestWithParam<BlockCase> {};

TEST_P(ResponseHeaderBlockTest, RebuildsRawHeaders)
{
    ResponseHeaderBlock block;
    for (std::string_view line : GetParam().lines)
        block.addLine(line);
    EXPECT_EQ(block.complete(), GetParam().complete);
    EXPECT_EQ(block.statusCode(), GetParam().status);
    EXPECT_EQ(block.text(), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Cases, ResponseHeaderBlockTest, ::testing::ValuesIn(kBlockCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ResponseHeaderBlock, ValuesByNameInOrderIgnoringCase)
{
    ResponseHeaderBlock block;
    for (std::string_view line : {"HTTP/1.1 200 OK\r\n", "Set-Cookie: a=1\r\n", "X: y\r\n", "set-cookie: b=2\r\n", "\r\n"})
        block.addLine(line);
    EXPECT_EQ(block.values("SET-COOKIE"), (std::vector<std::string>{"a=1", "b=2"}));
    EXPECT_TRUE(block.values("Location").empty());
}

} // namespace
} // namespace ql::http
