#include "http/RequestHeaderList.h"

#include <gtest/gtest.h>

#include <vector>

namespace ql::http {
namespace {

struct HeaderCase {
    const char* name;
    std::vector<std::string_view> blocks;
    bool lastOk;
    std::vector<std::pair<std::string, std::string>> expected;
};

const HeaderCase kHeaderCases[] = {
    {"CrLfLines", {"A: 1\r\nB: 2"}, true, {{"A", "1"}, {"B", "2"}}},
    {"AnyRunOfLineBreaks", {"A: 1\n\rB: 2\r\r\rC: 3\n\n\nD: 4\rE: 5"}, true,
     {{"A", "1"}, {"B", "2"}, {"C", "3"}, {"D", "4"}, {"E", "5"}}},
    {"LeadingBlanksOfValueSkipped", {"A:    x y "}, true, {{"A", "x y "}}},
    {"NoBlankAfterColon", {"A:x"}, true, {{"A", "x"}}},
    {"LaterLineWinsIgnoringCase", {"Accept: a\r\naccept: b"}, true, {{"accept", "b"}}},
    {"LaterBlockReplaces", {"A: 1\r\nB: 2", "a: 3"}, true, {{"B", "2"}, {"a", "3"}}},
    {"EmptyValueRemoves", {"A: 1\r\nB: 2", "A:"}, true, {{"B", "2"}}},
    {"EmptyBlock", {""}, true, {}},
    {"OnlyLineBreaks", {"\r\n\r\n"}, true, {}},
    {"FirstLineWithoutColonFails", {"A: 1", "nonsense\r\nB: 2"}, false, {{"A", "1"}}},
    {"LaterLineWithoutColonSkipped", {"A: 1\r\nnonsense\r\nB: 2"}, true, {{"A", "1"}, {"B", "2"}}},
    {"ValueWithColonKept", {"Host: h:81"}, true, {{"Host", "h:81"}}},
};

class RequestHeaderListTest : public ::testing::TestWithParam<HeaderCase> {};

TEST_P(RequestHeaderListTest, AddsAndReplaces)
{
    RequestHeaderList list;
    bool ok = true;
    for (std::string_view block : GetParam().blocks)
        ok = list.addOrReplace(block);
    EXPECT_EQ(ok, GetParam().lastOk);
    std::vector<std::pair<std::string, std::string>> actual;
    for (const RequestHeader& header : list.entries())
        actual.emplace_back(header.name, header.value);
    EXPECT_EQ(actual, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, RequestHeaderListTest, ::testing::ValuesIn(kHeaderCases),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace ql::http
